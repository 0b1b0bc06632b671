#include "Source/Common/ServiceForms.h"

#include "Source/Common/AboutForm.h"
#include "Source/Common/AddressChangeForm.h"
#include "Source/Common/ENewsForm.h"
#include "Source/Common/MailserverForm.h"
#include "Source/Common/OnlineUpdateForm.h"
#include "Source/Common/ProblemSolver.h"
#include "Source/Common/ReportDelivery.h"
#include "Source/Common/Services.h"

void RegisterServiceForms() {
    RegisterServiceForm("TfrmMailserver", [] { return TFormPtr<TForm>(CreateForm<TfrmMailserver>()); });
    RegisterServiceForm("TfrmProblemSolver", [] { return TFormPtr<TForm>(CreateForm<TfrmProblemSolver>()); });
    RegisterServiceForm("TfrmAbout", [] { return TFormPtr<TForm>(CreateForm<TfrmAbout>()); });
    RegisterServiceForm("TfrmAddressChange", [] { return TFormPtr<TForm>(CreateForm<TfrmAddressChange>()); });
    RegisterServiceForm("TfrmENews", [] { return TFormPtr<TForm>(CreateForm<TfrmENews>()); });
    RegisterServiceForm("TfrmOnlineUpdate", [] { return TFormPtr<TForm>(CreateForm<TfrmOnlineUpdate>()); });
    RegisterReportDelivery();
}
