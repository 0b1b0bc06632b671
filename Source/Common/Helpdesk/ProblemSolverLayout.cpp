// The problem solver's pages as the user sees them: places, fixed texts and the events of the
// controls. What the pages do is in ProblemSolver.cpp.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Helpdesk/ProblemSolver.h"

namespace {
// The callout colour of the documentation and update rows; the arrow beside a row takes it too.
constexpr TColor kCalloutColor = RGB(255, 255, 225);

void Wrapped(TLabel& label, int left, int top, int width, int height, const std::string& caption = {}) {
    label.SetAutoSize(false);
    label.SetWordWrap(true);
    label.SetBounds(left, top, width, height);
    if (!caption.empty()) label.SetCaption(caption);
}

// One row of the documentation and update pages: callout text, arrow, button.
void PlaceRow(TPanel& panel, TLabel& text, TImage& arrow, TButton& button, int top, const std::string& caption) {
    panel.SetBounds(16, top, 428, 44);
    panel.SetBevelOuter(TBevelCut::bvNone);
    panel.SetParentColor(false);
    panel.SetColor(kCalloutColor);
    Wrapped(text, 8, 5, 412, 34, caption);
    arrow.SetBounds(444, top + 10, 14, 24);
    button.SetBounds(468, top + 10, 140, 24);
}
}  // namespace

void TfrmProblemSolver::LayoutPages() {
    pageProblemSolver.SetBounds(0, 0, 636, 336);

    // 1. Intro.
    Wrapped(lblIntro1, 16, 8, 600, 32,
            "De Probleemoplosser loodst u langs de meest efficiënte manier om een oplossing te vinden voor uw "
            "probleem.");
    Wrapped(lblIntro2, 16, 44, 600, 16, "Deze manier bestaat uit drie stappen:");
    Wrapped(lblIntroSteps, 32, 64, 584, 64,
            "1.  Raadpleeg de documentatie van het programma: het helpbestand, het LeesMij-bestand en de "
            "veelgestelde vragen op Internet.\r\n"
            "2.  Haal met Online Update de nieuwste versie van het programma op.\r\n"
            "3.  Neem contact op met de Brantel Helpdesk met een helpdeskrapport.");
    Wrapped(lblIntroItems, 16, 140, 600, 16);
    lblIntroItems.FocusControl = &cboServiceItems;
    cboServiceItems.SetBounds(16, 160, 300, 200);
    chkIntroInternet.SetBounds(16, 200, 400, 20);
    chkIntroInternet.SetChecked(true);

    // 2. Documentation.
    Wrapped(lblDocIntro, 16, 8, 600, 32,
            "Veel problemen zijn al beschreven in de documentatie van het programma. Raadpleeg eerst de onderstaande "
            "bronnen.");
    PlaceRow(pnlDocHelp, lblDocHelp, imgDocHelp, btnDocHelp, 48,
             "Het helpbestand geeft uitleg over alle functies van het programma.");
    PlaceRow(pnlDocReadme, lblDocReadme, imgDocReadme, btnDocReadme, 100,
             "Het LeesMij-bestand bevat de laatste informatie over het programma.");
    PlaceRow(pnlDocInternet, lblDocInternet, imgDocInternet, btnDocInternet, 152,
             "De Online Helpdesk geeft op Internet antwoord op veelgestelde vragen.");
    Wrapped(lblDocTry, 16, 208, 600, 32);

    // 3. Online update.
    Wrapped(lblUpdate1, 16, 8, 600, 32,
            "Het probleem is misschien al opgelost in een nieuwere versie van het programma.");
    Wrapped(lblUpdate2, 16, 44, 600, 32,
            "Klik op 'Online Update' om de nieuwste versie op te halen. Ga anders verder met 'Volgende'.");
    PlaceRow(pnlUpdate, lblUpdate3, imgUpdate, btnUpdateOnline, 88, "");

    // 4. Contact.
    Wrapped(lblContact1, 16, 8, 600, 32,
            "Is het probleem nog niet opgelost? Dan stelt de Probleemoplosser een helpdeskrapport samen voor de "
            "Brantel Helpdesk.");
    Wrapped(lblContact2, 16, 48, 600, 16, "Hoe wilt u het helpdeskrapport naar de Helpdesk sturen?");
    int top = 76;
    for (TRadioButton* option : {&optContactEmail, &optContactMail, &optContactFax, &optContactTelephone}) {
        option->SetBounds(24, top, 592, 32);
        option->ModifyStyle(BS_MULTILINE);
        top += 38;
    }
    optContactEmail.SetChecked(true);

    // 5. Problem description.
    lblProblemGoal.SetBounds(16, 4, 600, 16);
    lblProblemGoal.FocusControl = &txtProblemGoal;
    txtProblemGoal.SetBounds(16, 22, 600, 21);
    lblProblemActions.SetBounds(16, 50, 600, 16);
    lblProblemActions.FocusControl = &memoProblemActions;
    memoProblemActions.SetBounds(16, 68, 600, 56);
    lblProblemDescription.SetBounds(16, 130, 600, 16);
    lblProblemDescription.FocusControl = &memoProblemDescription;
    memoProblemDescription.SetBounds(16, 148, 600, 62);
    lblProblemErrorMessage.SetBounds(16, 216, 600, 16);
    lblProblemErrorMessage.FocusControl = &txtProblemErrorMessage;
    txtProblemErrorMessage.SetBounds(16, 234, 600, 21);

    // 6. Technical information.
    Wrapped(lblTechInfo1, 16, 8, 600, 32,
            "Van de onderdelen die in onderstaande lijst gemarkeerd zijn, zal technische informatie verzameld "
            "worden.");
    lstTechInfos.SetBounds(16, 42, 600, 188);
    lstTechInfos.SetViewStyle(TViewStyle::vsReport);
    lstTechInfos.SetCheckboxes(true);
    lstTechInfos.SetReadOnly(true);
    lstTechInfos.SetSmallImages(&imgTechInfos);
    lstTechInfos.ModifyStyle(LVS_NOCOLUMNHEADER);
    lstTechInfos.AddColumn({"", 570});
    Wrapped(lblTechInfo2, 16, 238, 600, 16);

    // 7. Personal data: name and address at the left, how to reach the user at the right.
    struct TField {
        TOALabel& Label;
        TControl& Edit;
        int Width;
    };
    // One column of captions with their fields below each other; answers the top after the last.
    auto column = [](std::initializer_list<TField> fields, int left) {
        int top = 6;
        for (TField f : fields) {
            f.Label.ShowCaption = true;
            f.Label.SetBounds(left, top + 3, 100, 16);
            f.Label.FocusControl = &f.Edit;
            f.Edit.SetBounds(left + 104, top, f.Width, 21);
            top += 27;
        }
        return top;
    };
    column({{lblUserInitials, txtUserInitials, 80}, {lblUserPrefix, txtUserPrefix, 80},
            {lblUserLastName, txtUserLastName, 160}, {lblUserCompany, txtUserCompany, 160},
            {lblUserStreet, txtUserStreet, 160}, {lblUserHouseNumber, txtUserHouseNumber, 60},
            {lblUserZipCode, txtUserZipCode, 80}, {lblUserCity, txtUserCity, 160}, {lblUserCountry, cboUserCountry, 160}},
           16);
    cboUserCountry.SetHeight(200);  // the height of the dropped-down list
    top = column({{lblUserEmail, txtUserEmail, 190}, {lblUserPhone, txtUserPhone, 110},
                  {lblUserTimeFrom, txtUserTimeFrom, 72}, {lblUserTimeUntil, txtUserTimeUntil, 72},
                  {lblUserFax, txtUserFax, 110}},
                 326);
    for (TOATimeSpinEdit* time : {&txtUserTimeFrom, &txtUserTimeUntil}) {
        time->Increment = 30;
        time->SetMaxLength(5);
    }
    chkUserCallBeforeFax.SetBounds(326, top + 2, 290, 34);
    chkUserCallBeforeFax.ModifyStyle(BS_MULTILINE);
    chkUserCallBeforeFax.SetEnabled(false);

    // 8. Notification.
    Wrapped(lblNotification1, 16, 8, 600, 32,
            "De gegevens die u zojuist heeft ingevuld zullen opgenomen worden in een gegevensbestand. ");
    Wrapped(lblNotification2, 16, 44, 600, 32,
            "Op deze manier kan Brantel optimale ondersteuning verlenen op haar software. Uw gegevens worden "
            "uiteraard vertrouwelijk behandeld.");
    Wrapped(lblNotification3, 16, 84, 600, 16);
    pnlPhone.SetBounds(16, 116, 600, 110);
    pnlPhone.SetBevelOuter(TBevelCut::bvLowered);
    pnlPhone.SetParentColor(false);
    pnlPhone.SetColor(kCalloutColor);
    Wrapped(lblPhone, 12, 8, 576, 94, HelpdeskPhoneText);

    // 9. Report: a tool bar above the report text, the instructions below it.
    pnlTop.SetBounds(8, 0, 616, 30);
    pnlTop.SetBevelOuter(TBevelCut::bvNone);
    lblSearch.SetBounds(4, 8, 66, 16);
    lblSearch.FocusControl = &cboSearch;
    cboSearch.SetBounds(72, 4, 138, 200);
    for (TBranButton* button : {&btnSearch, &btnOpenAppendix, &btnEMail, &btnMail, &btnPrint}) button->SetBounds(0, 3, 60, 24);
    btnSearch.SetHint("Zoeken... (Ctrl+F)");
    btnOpenAppendix.SetHint("Bijlage toevoegen... (Ctrl+B)");
    btnEMail.SetHint("E-mailen... (Ctrl+E)");
    btnMail.SetHint("Opslaan... (Ctrl+S)");
    btnPrint.SetHint("Afdrukken... (Ctrl+P)");
    memoReportView.SetBounds(8, 32, 616, 196);
    memoReportView.SetReadOnly(true);
    memoReportView.ModifyStyle(WS_HSCROLL | ES_AUTOHSCROLL);
    SendMessageW(memoReportView.Handle(), EM_SETTARGETDEVICE, 0, 1);  // no word wrap
    memoReportView.LoadFromStream(
        "Er is iets fout gegaan met het inlezen van het helpdeskrapport. Sluit de Probleemoplosser en probeer het "
        "opnieuw.");
    Wrapped(lblReport1, 12, 232, 608, 16);
    Wrapped(lblReport2, 12, 250, 608, 16);
    Wrapped(lblReport3, 12, 268, 608, 16);
}

// The tool bar in the screen's pixels, once its captions and the e-mail button's visibility are
// known: the buttons as wide as their captions from the right edge, a little apart, and the search
// box between its caption and the first button.
void TfrmProblemSolver::ArrangeToolBar() {
    const int gap = DesignToCurrent(4);
    int right = pnlTop.ClientWidth();
    for (TBranButton* button : {&btnPrint, &btnMail, &btnEMail, &btnOpenAppendix, &btnSearch}) {
        if (!button->Visible()) continue;
        const int width = std::max(DesignToCurrent(60), TextWidth(button->Font(), button->Caption()) + DesignToCurrent(16));
        right -= width;
        button->SetBounds(right, button->Top(), width, button->Height());
        right -= gap;
    }
    const int left = lblSearch.Right() + gap;
    cboSearch.SetBounds(left, cboSearch.Top(), std::max(right - left, DesignToCurrent(60)), cboSearch.Height());
}
