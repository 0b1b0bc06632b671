#include "Source/Common/ServiceForms.h"

#include "Source/Common/MailserverForm.h"
#include "Source/Common/Services.h"

void RegisterServiceForms() {
    RegisterServiceForm("TfrmMailserver", [] { return TFormPtr<TForm>(CreateForm<TfrmMailserver>()); });
}
