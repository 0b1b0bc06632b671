#include "Source/Common/BranModel.h"

#include "Source/Common/HelpdeskReport.h"
#include "Source/Common/ServiceItems.h"
#include "Source/Common/User.h"

std::unique_ptr<TAppModel> BuildBranServiceModel() {
    // Registration order: service items, helpdesk reports, users.
    return BuildModel("Bran-Service", {DescClass<TServiceItemDesc>(), DescClass<THelpdeskReportDesc>(), DescClass<TUserDesc>()});
}
