// The About box as the Help menu shows it.
#include "Gallery.h"
#include "Source/Common/AboutForm.h"
#include "Source/Common/BranModel.h"
#include "lib/App.h"

namespace {
std::unique_ptr<TForm> AboutSample() {
    static std::unique_ptr<TAppModel> model = GlobalApp().FindObjDesc("TUser") ? nullptr : BuildBranServiceModel();
    return std::make_unique<TfrmAbout>();
}

const TGalleryRegistration About("TfrmAbout", AboutSample);
}  // namespace
