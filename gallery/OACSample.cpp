// Every kind of object-aware control bound to a user record with sample data.
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Shell/BranModel.h"
#include "gallery/Gallery.h"
#include "lib/BranButtons.h"
#include "lib/OAControls.h"
#include "platform/gui/Bevel.h"
#include "platform/gui/GroupBox.h"

namespace {
class TfrmGalleryPersonal : public TForm {
public:
    TGroupBox grpName{this, "Naam en adres"};
    TGroupBox grpContact{this, "Bereikbaarheid"};
    std::vector<std::unique_ptr<TControl>> parts;
    TOAMemo memoUserStreet{&grpName};
    TOAComboBox cboUserCountry{&grpName, TComboBoxStyle::csDropDown, true};
    TOATimeSpinEdit speUserReachableFrom{&grpContact};
    TOATimeSpinEdit speUserReachableUntil{&grpContact};
    TOACheckBox chkUserCallBeforeFax{&grpContact, "Eerst bellen voo&r een fax"};
    TOACheckBox chkUserInternet{&grpContact, "Ik heb toegang tot &internet"};
    TOALabel lblCustomer{this};
    TBranButton btnOK{this};
    TBranButton btnCancel{this};
    TUser user;

    TfrmGalleryPersonal() {
        SetCaption("Uw gegevens");
        SetBorderStyle(TBorderStyle::bsDialog);
        Position = TPosition::poScreenCenter;
        SetClientSize(520, 346);
        user.LastName().SetAsString("Jansen");
        user.Initials().SetAsString("J.P.");
        user.Prefix().SetAsString("");
        user.Street().SetAsString("Dorpsstraat");
        user.HouseNumber().SetAsString("12 a");
        user.ZipCode().SetAsString("1234 AB");
        user.City().SetAsString("Utrecht");
        user.Country().SetAsString("Nederland");
        user.Email().SetAsString("j.jansen@voorbeeld.nl");
        user.Tel().SetAsString("030-1234567");
        user.Fax().SetAsString("030-7654321");

        grpName.SetBounds(8, 8, 280, 290);
        grpContact.SetBounds(296, 8, 216, 290);
        int top = 22;
        auto field = [&](TControl* parent, TAppProp& prop, int width, int labelWidth) {
            auto caption = std::make_unique<TOALabel>(parent);
            caption->ShowCaption = true;
            caption->SetAppProp(&prop);
            caption->SetBounds(10, top + 3, labelWidth, 16);
            auto edit = std::make_unique<TOAEdit>(parent);
            edit->SetBounds(10 + labelWidth, top, width, 21);
            edit->SetAppProp(&prop);
            caption->FocusControl = edit.get();
            parts.push_back(std::move(caption));
            parts.push_back(std::move(edit));
            top += 26;
        };
        field(&grpName, user.LastName(), 160, 100);
        field(&grpName, user.Initials(), 80, 100);
        field(&grpName, user.Prefix(), 80, 100);
        field(&grpName, user.Organization(), 160, 100);
        auto streetLabel = std::make_unique<TOALabel>(&grpName);
        streetLabel->ShowCaption = true;
        streetLabel->SetAppProp(&user.Street());
        streetLabel->SetBounds(10, top + 3, 100, 16);
        streetLabel->FocusControl = &memoUserStreet;
        parts.push_back(std::move(streetLabel));
        memoUserStreet.SetBounds(110, top, 160, 38);
        memoUserStreet.SetAppProp(&user.Street());
        top += 44;
        field(&grpName, user.HouseNumber(), 80, 100);
        field(&grpName, user.ZipCode(), 80, 100);
        field(&grpName, user.City(), 160, 100);
        auto countryLabel = std::make_unique<TOALabel>(&grpName);
        countryLabel->ShowCaption = true;
        countryLabel->SetAppProp(&user.Country());
        countryLabel->SetBounds(10, top + 3, 100, 16);
        countryLabel->FocusControl = &cboUserCountry;
        parts.push_back(std::move(countryLabel));
        cboUserCountry.SetItems({"Nederland", "België", "Duitsland", "Luxemburg"});
        cboUserCountry.SetBounds(110, top, 160, 21);
        cboUserCountry.SetAppProp(&user.Country());

        top = 22;
        field(&grpContact, user.Email(), 130, 70);
        field(&grpContact, user.Tel(), 130, 70);
        field(&grpContact, user.Fax(), 130, 70);
        for (auto* spin : {&speUserReachableFrom, &speUserReachableUntil}) {
            auto label = std::make_unique<TOALabel>(&grpContact);
            label->ShowCaption = true;
            label->SetAppProp(spin == &speUserReachableFrom ? &user.ReachableFrom() : &user.ReachableUntil());
            label->SetBounds(10, top + 3, 100, 16);
            label->FocusControl = spin;
            parts.push_back(std::move(label));
            spin->SetBounds(130, top, 70, 21);
            spin->SetAppProp(spin == &speUserReachableFrom ? &user.ReachableFrom() : &user.ReachableUntil());
            top += 27;
        }
        chkUserCallBeforeFax.SetBounds(10, top + 4, 196, 20);
        chkUserCallBeforeFax.SetAppProp(&user.CallBeforeFax());
        chkUserInternet.SetBounds(10, top + 28, 196, 20);
        chkUserInternet.SetAppProp(&user.Internet());

        lblCustomer.SetBounds(12, 316, 200, 16);
        lblCustomer.SetAppProp(&user.LastName());
        btnOK.SetKind(TBitBtnKind::bkOK);
        btnOK.SetDefault(true);
        btnOK.SetBounds(304, 310, 100, 24);
        btnCancel.SetKind(TBitBtnKind::bkCancel);
        btnCancel.SetBounds(412, 310, 100, 24);
    }
    ~TfrmGalleryPersonal() override { OAC_DisconnectControls(this); }
};

TGalleryRegistration personal("TOAControls", [] {
    static auto model = BuildBranServiceModel();
    return std::make_unique<TfrmGalleryPersonal>();
});
}  // namespace
