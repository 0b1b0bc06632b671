#include "Source/Common/Shell/ServiceForms.h"

#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/ProblemSolver.h"
#include "Source/Common/Helpdesk/ReportDelivery.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "Source/Common/Internet/AddressChangeForm.h"
#include "Source/Common/Internet/ENewsForm.h"
#include "Source/Common/Internet/MailserverForm.h"
#include "Source/Common/Internet/OnlineUpdateForm.h"
#include "Source/Common/Shell/AboutForm.h"

void RegisterServiceForms() {
    RegisterServiceForm("TfrmMailserver", [] { return TFormPtr<TForm>(CreateForm<TfrmMailserver>()); });
    RegisterServiceForm("TfrmProblemSolver", [] { return TFormPtr<TForm>(CreateForm<TfrmProblemSolver>()); });
    RegisterServiceForm("TfrmAbout", [] { return TFormPtr<TForm>(CreateForm<TfrmAbout>()); });
    RegisterServiceForm("TfrmAddressChange", [] { return TFormPtr<TForm>(CreateForm<TfrmAddressChange>()); });
    RegisterServiceForm("TfrmENews", [] { return TFormPtr<TForm>(CreateForm<TfrmENews>()); });
    RegisterServiceForm("TfrmOnlineUpdate", [] { return TFormPtr<TForm>(CreateForm<TfrmOnlineUpdate>()); });
    RegisterReportDelivery();
    RegisterStoredReportServices();
}
