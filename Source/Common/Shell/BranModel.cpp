#include "Source/Common/Shell/BranModel.h"

#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"

std::unique_ptr<TAppModel> BuildBranServiceModel() {
    // Registration order: service items, helpdesk reports, users.
    return BuildModel("Bran-Service", {DescClass<TServiceItemDesc>(), DescClass<THelpdeskReportDesc>(), DescClass<TUserDesc>()});
}
