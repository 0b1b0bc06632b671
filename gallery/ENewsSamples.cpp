// The news subscription and the address change, with a user who is moving house.
#include "Gallery.h"
#include "Source/Common/Internet/AddressChangeForm.h"
#include "Source/Common/Internet/ENewsForm.h"
#include "Source/Common/Shell/BranModel.h"
#include "lib/App.h"

namespace {
void EnsureModel() {
    static std::unique_ptr<TAppModel> model = GlobalApp().FindObjDesc("TUser") ? nullptr : BuildBranServiceModel();
}

void FillUser(TUser& u) {
    u.Initials().SetAsString("P.J.");
    u.Prefix().SetAsString("van");
    u.LastName().SetAsString("Dijk");
    u.Organization().SetAsString("Van Dijk Administratie");
    u.Street().SetAsString("Dorpsstraat");
    u.HouseNumber().SetAsString("12 a");
    u.ZipCode().SetAsString("1234 AB");
    u.City().SetAsString("Utrecht");
    u.Country().SetAsString("Nederland");
    u.Email().SetAsString("p.vandijk@voorbeeld.nl");
    u.Tel().SetAsString("030-1234567");
}

std::unique_ptr<TForm> ENewsSample() {
    EnsureModel();
    auto form = std::make_unique<TfrmENews>();
    form->DoCreate();
    FillUser(form->User());
    return form;
}

std::unique_ptr<TForm> AddressChangeSample() {
    EnsureModel();
    auto form = std::make_unique<TfrmAddressChange>();
    form->DoCreate();
    FillUser(form->OldUser());
    TUser& moved = form->NewUser();
    FillUser(moved);
    moved.Street().SetAsString("Kerkweg");
    moved.HouseNumber().SetAsString("7");
    moved.ZipCode().SetAsString("3811 CD");
    moved.City().SetAsString("Amersfoort");
    moved.Tel().SetAsString("033-7654321");
    return form;
}

const TGalleryRegistration ENews("TfrmENews", ENewsSample);
const TGalleryRegistration AddressChange("TfrmAddressChange", AddressChangeSample);
}  // namespace
