// The About box as the Help menu shows it, for a registered user.
#include "Gallery.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Shell/AboutForm.h"
#include "Source/Common/Shell/BranModel.h"
#include "lib/App.h"
#include "platform/Registry.h"

namespace {
std::unique_ptr<TForm> AboutSample() {
    static std::unique_ptr<TAppModel> model = GlobalApp().FindObjDesc("TUser") ? nullptr : BuildBranServiceModel();
    TRegKey key;
    key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true);
    key.WriteString("LastName", "Jansen-van der Berg");
    return std::make_unique<TfrmAbout>();
}

const TGalleryRegistration About("TfrmAbout", AboutSample);
}  // namespace
