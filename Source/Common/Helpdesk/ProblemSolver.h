#pragma once
// The problem solver: the wizard a user runs when one of the maker's applications misbehaves. It
// leads from the cheapest help to the most expensive - the application's documentation, then the
// online update, and only then a helpdesk report: how to contact the helpdesk, the problem, which
// technical information to collect and the personal data. Leaving the personal-data page creates the
// report folder and composes the report; the last page shows it, offers attachments, search and the
// three deliveries, and Finish delivers it the way the user chose. Handed a stored report by the
// report service, the window opens directly on that last page.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Source/Common/Catalogue/ServiceCollector.h"
#include "Source/Common/Catalogue/ServiceListControls.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "lib/BranButtons.h"
#include "lib/BranWizardForm.h"
#include "lib/OAControls.h"
#include "platform/gui/Edit.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Image.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListView.h"
#include "platform/gui/Memo.h"
#include "platform/gui/Panel.h"
#include "platform/gui/RadioButton.h"
#include "platform/gui/RichEdit.h"

class THelpdeskReport;
class TReportComposition;
class TServiceItem;
class TUser;
class TfrmProblemSolver;

// What the report page and Finish ask of the delivery module: each operation saves the report
// first, reports its own outcome to the user and answers whether it succeeded.
class IProblemSolverDelivery {
public:
    virtual ~IProblemSolverDelivery() = default;
    virtual bool PrintReportDialog() = 0;
    virtual bool SaveReportZip() = 0;
    virtual bool EmailReport() = 0;
};
using TProblemSolverDeliveryFactory = std::function<std::unique_ptr<IProblemSolverDelivery>(TfrmProblemSolver&)>;
// The delivery module makes itself known here; without it no delivery succeeds.
void SetProblemSolverDelivery(TProblemSolverDeliveryFactory factory);

// The bound property of a required field must hold a non-empty value; otherwise the warning "Het
// veld %s moet ingevuld worden." names its caption and the control gets the focus.
bool CheckRequiredField(TControl& control, const TAppProp& prop);

class TfrmProblemSolver : public TBranWizardForm, public IReportWindow {
public:
    // The most characters each problem field takes: far less than a line of CASE.INI can hold.
    static constexpr int ProblemTextLimit = 1000000;

    TfrmProblemSolver();
    ~TfrmProblemSolver() override;

    TPageControl pageProblemSolver{this};

    TTabSheet TabIntro{&pageProblemSolver, "Inleiding"};
    TLabel lblIntro1{&TabIntro};
    TLabel lblIntro2{&TabIntro};
    TLabel lblIntroSteps{&TabIntro};
    TLabel lblIntroItems{&TabIntro, "&Kies uit onderstaande lijst het programma waar het probleem optreedt"};
    TServiceItemComboBox cboServiceItems{&TabIntro};
    TOACheckBox chkIntroInternet{&TabIntro, "&Ik beschik over een Internetaansluiting"};

    TTabSheet TabDocumentation{&pageProblemSolver, "Raadpleeg de Documentatie"};
    TLabel lblDocIntro{&TabDocumentation};
    TPanel pnlDocHelp{&TabDocumentation};
    TLabel lblDocHelp{&pnlDocHelp};
    TImage imgDocHelp{&TabDocumentation};
    TBranButton btnDocHelp{&TabDocumentation, "Help&bestand"};
    TPanel pnlDocReadme{&TabDocumentation};
    TLabel lblDocReadme{&pnlDocReadme};
    TImage imgDocReadme{&TabDocumentation};
    TBranButton btnDocReadme{&TabDocumentation, "&LeesMij"};
    TPanel pnlDocInternet{&TabDocumentation};
    TLabel lblDocInternet{&pnlDocInternet};
    TImage imgDocInternet{&TabDocumentation};
    TBranButton btnDocInternet{&TabDocumentation, "Online Help&desk"};
    TLabel lblDocTry{&TabDocumentation};

    TTabSheet TabOnlineupdate{&pageProblemSolver, "Online Update"};
    TLabel lblUpdate1{&TabOnlineupdate};
    TLabel lblUpdate2{&TabOnlineupdate};
    TPanel pnlUpdate{&TabOnlineupdate};
    TLabel lblUpdate3{&pnlUpdate};
    TImage imgUpdate{&TabOnlineupdate};
    TBranButton btnUpdateOnline{&TabOnlineupdate, "Online &Update"};

    TTabSheet TabContactHelpdesk{&pageProblemSolver, "Contact opnemen met de Brantel Helpdesk"};
    TLabel lblContact1{&TabContactHelpdesk};
    TLabel lblContact2{&TabContactHelpdesk};
    TRadioButton optContactEmail{&TabContactHelpdesk, "Per &e-mail, de snelste en handigste manier (aanbevolen)."};
    TRadioButton optContactMail{&TabContactHelpdesk,
                                "Per &diskette, het helpdeskrapport en eventuele bijlagen worden opgeslagen op een "
                                "diskette."};
    TRadioButton optContactFax{&TabContactHelpdesk, "Per &brief of per fax, het helpdeskrapport wordt afgedrukt."};
    TRadioButton optContactTelephone{&TabContactHelpdesk,
                                     "&Telefonisch, het helpdeskrapport wordt afgedrukt, zodat u alle gegevens bij "
                                     "de hand heeft."};

    TTabSheet TabProblemDescription{&pageProblemSolver, "Probleemomschrijving"};
    TLabel lblProblemGoal{&TabProblemDescription};
    TEdit txtProblemGoal{&TabProblemDescription};
    TLabel lblProblemActions{&TabProblemDescription,
                             "&Beschrijf indien mogelijk de handelingen die u verrichtte toen het probleem optrad."};
    TMemo memoProblemActions{&TabProblemDescription};
    TLabel lblProblemDescription{&TabProblemDescription, "&Geef een omschrijving van het probleem."};
    TMemo memoProblemDescription{&TabProblemDescription};
    TLabel lblProblemErrorMessage{&TabProblemDescription,
                                  "&Noteer een eventuele foutmelding, die door het programma gegeven werd."};
    TEdit txtProblemErrorMessage{&TabProblemDescription};

    TTabSheet TabTechInfo{&pageProblemSolver, "Technische informatie"};
    TLabel lblTechInfo1{&TabTechInfo};
    TListView lstTechInfos{&TabTechInfo};
    TLabel lblTechInfo2{&TabTechInfo, "Wijzig deze instellingen alleen op verzoek van de Helpdesk."};
    TImageList imgTechInfos{ScaleToScreen(16), ScaleToScreen(16)};

    TTabSheet TabPersonalInfo{&pageProblemSolver, "Persoonlijke gegevens"};
    TOALabel lblUserInitials{&TabPersonalInfo};
    TOAEdit txtUserInitials{&TabPersonalInfo};
    TOALabel lblUserPrefix{&TabPersonalInfo};
    TOAEdit txtUserPrefix{&TabPersonalInfo};
    TOALabel lblUserLastName{&TabPersonalInfo};
    TOAEdit txtUserLastName{&TabPersonalInfo};
    TOALabel lblUserCompany{&TabPersonalInfo};
    TOAEdit txtUserCompany{&TabPersonalInfo};
    TOALabel lblUserStreet{&TabPersonalInfo};
    TOAEdit txtUserStreet{&TabPersonalInfo};
    TOALabel lblUserHouseNumber{&TabPersonalInfo};
    TOAEdit txtUserHouseNumber{&TabPersonalInfo};
    TOALabel lblUserZipCode{&TabPersonalInfo};
    TOAEdit txtUserZipCode{&TabPersonalInfo};
    TOALabel lblUserCity{&TabPersonalInfo};
    TOAEdit txtUserCity{&TabPersonalInfo};
    TOALabel lblUserCountry{&TabPersonalInfo};
    TOAComboBox cboUserCountry{&TabPersonalInfo, TComboBoxStyle::csDropDownList, true};
    TOALabel lblUserEmail{&TabPersonalInfo};
    TOAEdit txtUserEmail{&TabPersonalInfo};
    TOALabel lblUserPhone{&TabPersonalInfo};
    TOAEdit txtUserPhone{&TabPersonalInfo};
    TOALabel lblUserTimeFrom{&TabPersonalInfo};
    TOATimeSpinEdit txtUserTimeFrom{&TabPersonalInfo};
    TOALabel lblUserTimeUntil{&TabPersonalInfo};
    TOATimeSpinEdit txtUserTimeUntil{&TabPersonalInfo};
    TOALabel lblUserFax{&TabPersonalInfo};
    TOAEdit txtUserFax{&TabPersonalInfo};
    TOACheckBox chkUserCallBeforeFax{&TabPersonalInfo};

    TTabSheet tabNotification{&pageProblemSolver, "Opslaan van gegevens"};
    TLabel lblNotification1{&tabNotification};
    TLabel lblNotification2{&tabNotification};
    TLabel lblNotification3{&tabNotification, "Klik op 'Volgende' als u hiermee akkoord gaat."};
    TPanel pnlPhone{&tabNotification};
    TLabel lblPhone{&pnlPhone};

    TTabSheet TabHelpdeskReport{&pageProblemSolver, "Helpdeskrapport"};
    TPanel pnlTop{&TabHelpdeskReport};
    TLabel lblSearch{&pnlTop, "Zoeken &naar"};
    TComboBox cboSearch{&pnlTop, TComboBoxStyle::csDropDown};
    TBranButton btnSearch{&pnlTop, "&Zoeken"};
    TBranButton btnOpenAppendix{&pnlTop, "0 &Bijlagen (0 kB)..."};
    TBranButton btnEMail{&pnlTop, "&E-mailen"};
    TBranButton btnMail{&pnlTop, "&Opslaan"};
    TBranButton btnPrint{&pnlTop, "&Afdrukken"};
    TRichEdit memoReportView{&TabHelpdeskReport};
    TLabel lblReport1{&TabHelpdeskReport};
    TLabel lblReport2{&TabHelpdeskReport};
    TLabel lblReport3{&TabHelpdeskReport, "Klik op 'Vorige' voor informatie over de telefoonnummers van de helpdesk."};

    // Opens the window on a stored report (the report service): only the report page is enabled.
    void OpenReport(std::shared_ptr<THelpdeskReport> report) override;
    // The item the main window lists services of; asked of the main window when nobody set it.
    void SetMainWindowItem(std::shared_ptr<TServiceItem> item) { FMainWindowItem = std::move(item); }

    THelpdeskReport* Report() const { return FReport.get(); }
    TUser* User() const { return FUser.get(); }
    TServiceItem* ServiceItem() const { return FServiceItem.get(); }
    // The service each documentation and update button opens (null: none).
    TServiceRef ButtonService(const TControl& button) const;
    // The category identifier of an entry of lstTechInfos.
    std::string TechInfoIdentifier(int index) const;

    bool TechInfoVisited = false;
    bool PersonalInfoVisited = false;
    bool SearchRestart = true;
    bool MailedDone = false, SavedDone = false, PrintedDone = false;

    void SetPagesEnabled(bool flag);
    // Saves the report as it was last composed (CASE.RTF and CASE.INI), before every delivery and on
    // closing; a stored report that was only viewed is left exactly as it is. A failure is told the
    // user in plain words and answered false.
    bool SaveAll();
    void UpdateDocumentationPage();
    bool ValidateControls();

    void FormCreate(TControl* sender);
    void FormShow(TControl* sender);
    void FormDestroy(TControl* sender);
    void FormClose(TControl* sender, TCloseAction& action);
    void FormCancelClick(TControl* sender);
    void FormKeyDown(TControl* sender, WORD& key, TShiftState shift);
    void FormEnterPage(TControl* sender, TTabSheet* page, TWizardDirection direction);
    void FormExitPage(TControl* sender, TTabSheet* page, bool& allowChange, TWizardDirection direction);
    void cboServiceItemsChange(TControl* sender);
    void btnServiceClick(TControl* sender);
    void txtUserFaxChange(TControl* sender);
    void btnOpenAppendixClick(TControl* sender);
    void btnSearchClick(TControl* sender);
    void cboSearchChange(TControl* sender);
    void btnPrintClick(TControl* sender);
    void btnMailClick(TControl* sender);
    void btnEMailClick(TControl* sender);

private:
    void LayoutPages();
    void ArrangeToolBar();
    void FillServiceItems();
    void BindUser();
    void FillTechInfos();
    void DrawArrows();
    void ExitIntroPage(bool& allowChange);
    void EnableServicePages();
    std::vector<bool> CheckedTechInfos() const;
    // Per entry of lstTechInfos: whether the item recommends its category.
    std::vector<bool> RecommendedTechInfos(const TServiceItem* item) const;
    void ExitPersonalInfoPage(bool& allowChange);
    void EnterReportPage();
    bool PrepareReport();
    bool CreateReport();
    bool ComposeReport();
    bool SaveReport();
    void DiscardReport();
    // Whether the window may close without Finish, after doing what that means for the report (kept,
    // deleted, or the user asked); false: the user stays.
    bool LetGoOfReport();
    void CopyFormToReport();
    void CopyReportToForm();
    void LoadReportView();
    void LoadReportIntoForm();
    void FillSearchList();
    void UpdateAttachmentsCaption();
    bool Deliver(bool (IProblemSolverDelivery::*operation)());
    bool IsReportPage() const { return pageProblemSolver.ActivePage() == &TabHelpdeskReport; }

    TServiceCollector FCollector;
    TServiceList FServices;
    std::map<const TControl*, TServiceRef> FButtonServices;
    std::shared_ptr<TServiceItem> FMainWindowItem;
    std::shared_ptr<TServiceItem> FServiceItem;
    std::shared_ptr<THelpdeskReport> FReport;
    // The report was made by this window, not handed in by the report service.
    bool FReportMadeHere = false;
    // The report page has shown the report to the user.
    bool FReportShown = false;
    std::unique_ptr<TUser> FUser;
    // The personal data as a stored report brought them into the form (empty for a new report): the
    // registry takes them only when the user changed them.
    std::vector<std::string> FStoredCustomer;
    std::unique_ptr<IProblemSolverDelivery> FDelivery;
    // The composition under way or last done; Cancel stops it while it is busy.
    std::unique_ptr<TReportComposition> FComposition;
};
