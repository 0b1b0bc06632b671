// A four-page wizard like the program's, the third page disabled.
#include "gallery/Gallery.h"
#include "lib/BranButtons.h"
#include "lib/BranWizardForm.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/Edit.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"
#include "platform/gui/Memo.h"
#include "platform/gui/RadioButton.h"
#include "resources/resource.h"

namespace {
class TfrmGalleryWizard : public TBranWizardForm {
public:
    TPageControl pgcWizard{this};
    TTabSheet tabIntro{&pgcWizard, "Welkom"};
    TLabel lblIntro{&tabIntro};
    TCheckBox chkIntroHelp{&tabIntro, "Eerst het &helpbestand raadplegen"};
    TCheckBox chkIntroInternet{&tabIntro, "&Zoeken in de online helpdesk"};
    TTabSheet tabProblem{&pgcWizard, "Beschrijf het probleem"};
    TLabel lblProblem{&tabProblem, "O&mschrijving van het probleem:"};
    TMemo memoProblem{&tabProblem};
    TTabSheet tabTechInfo{&pgcWizard, "Technische gegevens"};
    TTabSheet tabContact{&pgcWizard, "Rapport versturen"};
    TRadioButton optContactEmail{&tabContact, "Per &e-mail naar de helpdesk"};
    TRadioButton optContactDisk{&tabContact, "Opslaan op &diskette"};
    TRadioButton optContactPrint{&tabContact, "&Afdrukken en per fax versturen"};
    // A picture per page, at the screen's density as the program's own image lists are.
    TImageList imlPages{ScaleToScreen(32), ScaleToScreen(32)};

    explicit TfrmGalleryWizard(bool withImages) {
        SetCaption("Probleemoplosser");
        Position = TPosition::poScreenCenter;
        pgcWizard.SetBounds(0, 0, 448, 262);
        lblIntro.SetWordWrap(true);
        lblIntro.SetBounds(16, 8, 400, 60);
        lblIntro.SetCaption(
            "Deze wizard helpt u een probleem met uw programma op te lossen. Lukt dat niet, dan stelt de wizard "
            "een rapport voor de helpdesk samen.");
        chkIntroHelp.SetBounds(16, 80, 300, 20);
        chkIntroHelp.SetChecked(true);
        chkIntroInternet.SetBounds(16, 104, 300, 20);
        lblProblem.SetBounds(16, 8, 300, 16);
        lblProblem.FocusControl = &memoProblem;
        memoProblem.SetBounds(16, 28, 400, 150);
        memoProblem.SetText("Bij het afdrukken van een factuur verschijnt de melding 'Printer niet gereed'.");
        tabTechInfo.SetEnabled(false);
        optContactEmail.SetBounds(16, 12, 300, 20);
        optContactDisk.SetBounds(16, 36, 300, 20);
        optContactPrint.SetBounds(16, 60, 300, 20);
        optContactEmail.SetChecked(true);
        tabProblem.HelpContext = 20;
        Pages = &pgcWizard;
        if (withImages) {
            for (int icon : {IDI_SERVICE_PROBLEMSOLVER, IDI_SERVICE_ONLINEHELPDESK, IDI_SERVICE_HELPDESKREPORT})
                imlPages.AddResourceIcon(icon);
            Images = &imlPages;
            OnImageRequest = [](TControl*, TTabSheet* page, int& index) { index = page->PageIndex() % 3; };
        }
    }
};

TGalleryRegistration wizard("TBranWizardForm", [] { return std::make_unique<TfrmGalleryWizard>(false); });
TGalleryRegistration wizardLastPage("TBranWizardForm.LastPage", [] {
    SetGalleryPrepare([](TForm& form) {
        auto& wizard = static_cast<TfrmGalleryWizard&>(form);
        wizard.NextButton()->Click();
        wizard.NextButton()->Click();
    });
    return std::make_unique<TfrmGalleryWizard>(false);
});
TGalleryRegistration wizardImages("TBranWizardForm.Images", [] {
    SetGalleryPrepare([](TForm& form) { static_cast<TfrmGalleryWizard&>(form).NextButton()->Click(); });
    return std::make_unique<TfrmGalleryWizard>(true);
});
}  // namespace
