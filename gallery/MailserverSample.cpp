// The mail server setting with the maker's default host.
#include "Gallery.h"
#include "Source/Common/Internet/MailserverForm.h"
#include "Source/Common/Shell/BranModel.h"
#include "lib/App.h"

namespace {
std::unique_ptr<TForm> MailserverSample() {
    static std::unique_ptr<TAppModel> model = GlobalApp().FindObjDesc("TUser") ? nullptr : BuildBranServiceModel();
    auto form = std::make_unique<TfrmMailserver>();
    form->DoCreate();
    form->User().Mailserver().SetAsString("SMTP.BRANTEL.NL");
    return form;
}

const TGalleryRegistration Mailserver("TfrmMailserver", MailserverSample);
}  // namespace
