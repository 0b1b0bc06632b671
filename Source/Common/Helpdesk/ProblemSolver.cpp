#include "Source/Common/Helpdesk/ProblemSolver.h"

#include <algorithm>
#include <utility>

#include "Source/Common/Catalogue/Discovery.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/UnknownApp.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskFiles.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportComposer.h"
#include "Source/Common/Helpdesk/ReportComposition.h"
#include "Source/Common/Helpdesk/ReportFolders.h"
#include "Source/Common/TechInfo/Country.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "mail/SendMail.h"
#include "platform/Files.h"
#include "platform/gui/Application.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Messages.h"
#include "resources/resource.h"

namespace {
TProblemSolverDeliveryFactory& DeliveryFactory() {
    static TProblemSolverDeliveryFactory factory;
    return factory;
}

bool SameIdentifier(const std::string& a, const std::string& b) { return SameText(a, b); }

std::string ApplicationName(const TServiceItem* item) { return item ? item->Name().AsString() : std::string(); }

// Every property of a record as text, to see whether the user changed any.
std::vector<std::string> PropertyTexts(const TAppObj& record) {
    std::vector<std::string> texts;
    for (int nr = 0; nr < record.PropCount(); ++nr) texts.push_back(record.Prop(nr).AsString());
    return texts;
}

// The pictures of the technical-information categories, by image index.
void LoadTechInfoImages(TImageList& images) {
    images.AddResourceIcons(IDI_TECHINFO_FIRST, IDI_TECHINFO_COUNT);
}
}  // namespace

void SetProblemSolverDelivery(TProblemSolverDeliveryFactory factory) { DeliveryFactory() = std::move(factory); }

bool CheckRequiredField(TControl& control, const TAppProp& prop) {
    if (!prop.IsNull() && !prop.AsString().empty()) return true;
    ShowWarning(Format("Het veld %s moet ingevuld worden.", {prop.Desc().PlainCaption()}));
    control.SetFocus();
    return false;
}

// --- creation and showing ------------------------------------------------------------------------

TfrmProblemSolver::TfrmProblemSolver() {
    SetCaption("Probleemoplosser");
    Position = TPosition::poScreenCenter;
    SetFontWith([](TFont& f) {
        f.Name = "MS Sans Serif";
        f.Size = 8;
    });
    LayoutPages();
    Pages = &pageProblemSolver;

    OnCreate = [this](TControl* s) { FormCreate(s); };
    OnShow = [this](TControl* s) { FormShow(s); };
    OnDestroy = [this](TControl* s) { FormDestroy(s); };
    OnClose = [this](TControl* s, TCloseAction& a) { FormClose(s, a); };
    OnKeyDown = [this](TControl* s, WORD& k, TShiftState sh) { FormKeyDown(s, k, sh); };
    OnCancelClick = [this](TControl* s) { FormCancelClick(s); };
    OnEnterPage = [this](TControl* s, TTabSheet* p, TWizardDirection d) { FormEnterPage(s, p, d); };
    OnExitPage = [this](TControl* s, TTabSheet* p, bool& a, TWizardDirection d) { FormExitPage(s, p, a, d); };
    cboServiceItems.OnChange = [this](TControl* s) { cboServiceItemsChange(s); };
    for (TBranButton* button : {&btnDocHelp, &btnDocReadme, &btnDocInternet, &btnUpdateOnline})
        button->OnClick = [this](TControl* s) { btnServiceClick(s); };
    txtUserFax.OnChange = [this](TControl* s) { txtUserFaxChange(s); };
    btnOpenAppendix.OnClick = [this](TControl* s) { btnOpenAppendixClick(s); };
    btnSearch.OnClick = [this](TControl* s) { btnSearchClick(s); };
    cboSearch.OnChange = [this](TControl* s) { cboSearchChange(s); };
    btnPrint.OnClick = [this](TControl* s) { btnPrintClick(s); };
    btnMail.OnClick = [this](TControl* s) { btnMailClick(s); };
    btnEMail.OnClick = [this](TControl* s) { btnEMailClick(s); };
    // A problem may come with a long pasted text. An edit box holds 30,000 characters unless told
    // otherwise and drops the rest without a word; these hold what the report can, and say so at the end.
    for (TCustomEdit* field : {static_cast<TCustomEdit*>(&txtProblemGoal), static_cast<TCustomEdit*>(&memoProblemActions),
                               static_cast<TCustomEdit*>(&memoProblemDescription),
                               static_cast<TCustomEdit*>(&txtProblemErrorMessage)}) {
        field->SetMaxLength(ProblemTextLimit);
        field->OnMaxText = [](TControl*) {
            ShowWarning(Format("Dit veld kan niet meer dan %d tekens bevatten. De tekst is tot daar overgenomen.",
                               {ProblemTextLimit}));
        };
    }
}

TfrmProblemSolver::~TfrmProblemSolver() = default;

void TfrmProblemSolver::FormCreate(TControl*) {
    SetHeight((ScreenPixelsPerInch() * 305 + 48) / 96);
    HelpContext = 1003;
    for (int i = 0; i < pageProblemSolver.PageCount(); ++i) pageProblemSolver.Pages(i)->HelpContext = 1003;
    TechInfoVisited = false;
    PersonalInfoVisited = false;
}

void TfrmProblemSolver::FormShow(TControl*) {
    FillServiceItems();
    cboServiceItemsChange(&cboServiceItems);
    FUser = std::make_unique<TUser>();
    FUser->LoadFromRegistry();
    // A stored report is about its own customer, who need not be the one the registry knows now.
    if (FReport && FReport->ReadCustomer()) {
        CopyCustomer(FReport->Customer(), *FUser);
        FStoredCustomer = PropertyTexts(*FUser);
    }
    BindUser();
    FillTechInfos();
    DrawArrows();
    if (FReport) {
        LoadReportIntoForm();
        UpdateAttachmentsCaption();
        UpdateDocumentationPage();
    } else {
        SetPagesEnabled(true);
    }
    FDelivery = DeliveryFactory() ? DeliveryFactory()(*this) : nullptr;
}

void TfrmProblemSolver::FillServiceItems() {
    if (!FMainWindowItem) {
        if (auto* selector = MainWindowSelector()) FMainWindowItem = selector->CurrentServiceItem();
    }
    TServiceItemList applications;
    DiscoverApplications(applications);
    for (auto& application : applications) cboServiceItems.AddServiceItem(application);
    cboServiceItems.AddServiceItem(std::make_shared<TUnknownApplication>());

    // A stored report is about its own application; otherwise the main window's item counts.
    TServiceItem* wanted = FReport && FReport->ServiceItem ? FReport->ServiceItem.get() : FMainWindowItem.get();
    const bool general = !wanted || dynamic_cast<TGeneralServiceItem*>(wanted);
    if (!general) {
        if (!Attempt([&] { cboServiceItems.SetCurrentServiceItem(wanted); })) cboServiceItems.SetItemIndex(-1);
    }
    if (cboServiceItems.ItemIndex() < 0 && cboServiceItems.Count() > 0) cboServiceItems.SetItemIndex(0);
}

void TfrmProblemSolver::BindUser() {
    TUser& u = *FUser;
    const std::pair<IOAControl*, TAppProp*> bindings[] = {
        {&lblUserInitials, &u.Initials()},         {&txtUserInitials, &u.Initials()},
        {&lblUserPrefix, &u.Prefix()},             {&txtUserPrefix, &u.Prefix()},
        {&lblUserLastName, &u.LastName()},         {&txtUserLastName, &u.LastName()},
        {&lblUserCompany, &u.Organization()},      {&txtUserCompany, &u.Organization()},
        {&lblUserStreet, &u.Street()},             {&txtUserStreet, &u.Street()},
        {&lblUserHouseNumber, &u.HouseNumber()},   {&txtUserHouseNumber, &u.HouseNumber()},
        {&lblUserZipCode, &u.ZipCode()},           {&txtUserZipCode, &u.ZipCode()},
        {&lblUserCity, &u.City()},                 {&txtUserCity, &u.City()},
        {&lblUserCountry, &u.Country()},           {&cboUserCountry, &u.Country()},
        {&lblUserEmail, &u.Email()},               {&txtUserEmail, &u.Email()},
        {&lblUserPhone, &u.Tel()},                 {&txtUserPhone, &u.Tel()},
        {&lblUserFax, &u.Fax()},                   {&txtUserFax, &u.Fax()},
        {&chkIntroInternet, &u.Internet()},        {&chkUserCallBeforeFax, &u.CallBeforeFax()},
        {&lblUserTimeFrom, &u.ReachableFrom()},    {&txtUserTimeFrom, &u.ReachableFrom()},
        {&lblUserTimeUntil, &u.ReachableUntil()},  {&txtUserTimeUntil, &u.ReachableUntil()},
    };
    TStringList countries = {"Deutschland", "Great Brittain", "Nederland"};
    FillCountryNames(countries);
    cboUserCountry.SetItems(countries);
    for (auto [control, prop] : bindings) control->OACInterface().SetAppProp(prop);
    chkUserCallBeforeFax.SetCaption(u.CallBeforeFax().Desc().Caption());
    txtUserFaxChange(&txtUserFax);
}

void TfrmProblemSolver::FillTechInfos() {
    lstTechInfos.Clear();
    if (imgTechInfos.Count() == 0) LoadTechInfoImages(imgTechInfos);
    for (const auto& collector : GetGeneralServiceItem().Collectors()) {
        lstTechInfos.AddItem(collector->Caption(), collector->ImageIndex(),
                             std::make_shared<std::string>(collector->Identifier()));
    }
    const int width = lstTechInfos.ClientWidth() - GetSystemMetrics(SM_CXVSCROLL);
    SendMessageW(lstTechInfos.Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(width, 0));
}

void TfrmProblemSolver::DrawArrows() {
    const std::pair<TImage*, TPanel*> arrows[] = {
        {&imgDocHelp, &pnlDocHelp}, {&imgDocReadme, &pnlDocReadme}, {&imgDocInternet, &pnlDocInternet}, {&imgUpdate, &pnlUpdate}};
    for (auto [image, panel] : arrows) {
        const int w = image->Width(), h = image->Height();
        TWindowDC screen(nullptr);
        TOwnedDC dc(CreateCompatibleDC(screen.Get()));
        HBITMAP bitmap = CreateCompatibleBitmap(screen.Get(), w, h);
        {
            TSelectObject selectBitmap(dc.Get(), bitmap);
            FillSolidRect(dc.Get(), RECT{0, 0, w, h}, Color());
            TBrushHandle brush(CreateSolidBrush(ColorToRGB(panel->Color())));
            TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(panel->Color())));
            TSelectObject selectBrush(dc.Get(), brush.Get());
            TSelectObject selectPen(dc.Get(), pen.Get());
            const POINT corners[] = {{0, 1}, {w - 2, h / 2}, {0, h}};
            Polygon(dc.Get(), corners, 3);
        }
        image->SetBitmap(bitmap);
    }
}

void TfrmProblemSolver::OpenReport(std::shared_ptr<THelpdeskReport> report) {
    FReport = std::move(report);
    FReport->IsFresh = false;
    FReportMadeHere = false;
    FReportShown = true;
    SetPagesEnabled(false);
}

void TfrmProblemSolver::SetPagesEnabled(bool flag) {
    for (int i = 0; i + 1 < pageProblemSolver.PageCount(); ++i) pageProblemSolver.Pages(i)->SetEnabled(flag);
}

// --- services of the selected item ---------------------------------------------------------------

void TfrmProblemSolver::cboServiceItemsChange(TControl*) {
    const std::shared_ptr<TServiceItem> previous = std::exchange(FServiceItem, cboServiceItems.CurrentServiceItem());
    // Categories the earlier application recommended and the user left alone make way for those of
    // the new one (checked again when the page is entered).
    if (previous != FServiceItem && CheckedTechInfos() == RecommendedTechInfos(previous.get()))
        for (int i = 0; i < lstTechInfos.Count(); ++i) lstTechInfos.SetChecked(i, false);
    FServices.clear();
    FButtonServices.clear();
    if (!FServiceItem) return;
    FCollector.GetServices(FServiceItem, FServices);
    for (const TServiceRef& service : FServices) {
        const IService* s = service.get();
        if (dynamic_cast<const TReadmeService*>(s)) FButtonServices[&btnDocReadme] = service;
        if (dynamic_cast<const THelpfileService*>(s)) FButtonServices[&btnDocHelp] = service;
        if (dynamic_cast<const TOnlineHelpdeskService*>(s)) FButtonServices[&btnDocInternet] = service;
        if (dynamic_cast<const TOnlineUpdateService*>(s)) FButtonServices[&btnUpdateOnline] = service;
    }
}

std::vector<bool> TfrmProblemSolver::CheckedTechInfos() const {
    std::vector<bool> checked;
    for (int i = 0; i < lstTechInfos.Count(); ++i) checked.push_back(lstTechInfos.Checked(i));
    return checked;
}

std::vector<bool> TfrmProblemSolver::RecommendedTechInfos(const TServiceItem* item) const {
    std::vector<bool> recommended;
    for (int i = 0; i < lstTechInfos.Count(); ++i) {
        const std::string identifier = TechInfoIdentifier(i);
        recommended.push_back(item && std::any_of(item->TechInfos().begin(), item->TechInfos().end(),
                                                  [&](const TTechInfo* t) { return SameIdentifier(t->Identifier(), identifier); }));
    }
    return recommended;
}

std::string TfrmProblemSolver::TechInfoIdentifier(int index) const {
    auto identifier = lstTechInfos.ItemData<std::string>(index);
    return identifier ? *identifier : std::string();
}

TServiceRef TfrmProblemSolver::ButtonService(const TControl& button) const {
    auto found = FButtonServices.find(&button);
    return found == FButtonServices.end() ? nullptr : found->second;
}

void TfrmProblemSolver::btnServiceClick(TControl* sender) {
    TServiceRef service = ButtonService(*sender);  // kept while it runs, whatever the list does
    if (!service) return;
    if (!service->Provide(FServiceItem))
        ShowMessageBox(Format("De service '%s' kon niet gestart worden.", {service->GetCaption()}), TMsgKind::Error,
                       TMsgButtons::OK);
}

void TfrmProblemSolver::UpdateDocumentationPage() {
    const TServiceItem* item = FServiceItem.get();
    auto names = [](const TAppProp& prop) { return !prop.IsNull() && FileExists(prop.AsString()); };
    const bool help = item && names(item->HelpFile());
    const bool readme = item && names(item->ReadmeFile());
    const bool web = item && chkIntroInternet.Checked() && !item->HelpdeskURL().IsNull() &&
                     !item->HelpdeskURL().AsString().empty();
    // Visible rows close up under each other; the distances are the design's, in today's pixels.
    const int buttonOffset = DesignToCurrent(10), rowGap = DesignToCurrent(8);
    int top = pnlDocHelp.Top();
    const std::tuple<TPanel*, TImage*, TBranButton*, bool> rows[] = {{&pnlDocHelp, &imgDocHelp, &btnDocHelp, help},
                                                                     {&pnlDocReadme, &imgDocReadme, &btnDocReadme, readme},
                                                                     {&pnlDocInternet, &imgDocInternet, &btnDocInternet, web}};
    for (auto [panel, image, button, visible] : rows) {
        for (TControl* part : {static_cast<TControl*>(panel), static_cast<TControl*>(image), static_cast<TControl*>(button)})
            part->SetVisible(visible);
        if (!visible) continue;
        panel->SetTop(top);
        image->SetTop(top + buttonOffset);
        button->SetTop(top + buttonOffset);
        top += panel->Height() + rowGap;
    }
    lblDocTry.SetTop(top + DesignToCurrent(4));
    lblDocTry.SetCaption(Format(
        "Probeer daarna in %s of de gevonden oplossing werkt. Het is daarvoor niet nodig om Bran-Service af te "
        "sluiten.",
        {item ? item->Name().AsString() : std::string()}));
}

// --- pages ---------------------------------------------------------------------------------------

void TfrmProblemSolver::FormEnterPage(TControl*, TTabSheet* page, TWizardDirection) {
    const std::string name = FServiceItem ? FServiceItem->Name().AsString() : std::string();
    if (page == &TabIntro) {
        HelpContext = 1003;
    } else if (page == &TabDocumentation) {
        HelpContext = 1;
    } else if (page == &TabOnlineupdate) {
        HelpContext = 1004;
        lblUpdate3.SetCaption(Format(
            "Online Update maakt verbinding met het Internet om te controleren of er een nieuwere versie is van %s.",
            {name}));
    } else if (page == &TabContactHelpdesk) {
        HelpContext = 1005;
        if (!chkIntroInternet.Checked() && optContactEmail.Checked()) optContactMail.SetChecked(true);
        optContactEmail.SetVisible(chkIntroInternet.Checked());
    } else if (page == &TabProblemDescription) {
        HelpContext = 1017;
        txtProblemGoal.SetFocus();
        lblProblemGoal.SetCaption(Format("Beschrijf wat u wilde &doen in %s.", {name}));
    } else if (page == &TabTechInfo) {
        HelpContext = 1006;
        TechInfoVisited = true;
        const std::vector<bool> checked = CheckedTechInfos();
        if (std::find(checked.begin(), checked.end(), true) == checked.end()) {
            const std::vector<bool> recommended = RecommendedTechInfos(FServiceItem.get());
            for (int i = 0; i < lstTechInfos.Count(); ++i)
                if (recommended[static_cast<size_t>(i)]) lstTechInfos.SetChecked(i, true);
        }
    } else if (page == &TabPersonalInfo) {
        HelpContext = 1018;
        PersonalInfoVisited = true;
    } else if (page == &TabHelpdeskReport) {
        HelpContext = 1008;
        EnterReportPage();
    }
}

void TfrmProblemSolver::EnterReportPage() {
    MailedDone = SavedDone = PrintedDone = false;
    FReportShown = true;
    btnEMail.SetVisible(chkIntroInternet.Checked());
    ArrangeToolBar();
    if (optContactEmail.Checked()) {
        lblReport1.SetCaption("Klik op 'Voltooien' om het helpdeskrapport per e-mail te verzenden.");
        lblReport2.SetCaption("");
    } else if (optContactMail.Checked()) {
        lblReport1.SetCaption("Plaats een lege diskette in station A:");
        lblReport2.SetCaption("Klik op 'Voltooien' om het helpdeskrapport op te slaan op diskette.");
    } else {
        lblReport1.SetCaption("Controleer of de printer aan staat.");
        lblReport2.SetCaption("Klik op 'Voltooien' om het helpdeskrapport af te drukken.");
    }
    if (FReport && !FReport->IsFresh) {
        // A stored report: Finish delivers nothing.
        lblReport1.SetCaption("");
        lblReport2.SetCaption("");
        optContactMail.SetChecked(true);
    }
    memoReportView.SetFocus();
    SetPagesEnabled(true);
    EnableServicePages();
    UpdateNavigation();
    SetCancelAsClose();
}

void TfrmProblemSolver::FormExitPage(TControl*, TTabSheet* page, bool& allowChange, TWizardDirection direction) {
    const bool forward = direction == TWizardDirection::wdForward;
    if (page == &TabIntro) {
        ExitIntroPage(allowChange);
    } else if (page == &TabProblemDescription && forward) {
        if (memoProblemDescription.Lines().empty()) {
            ShowWarning("De omschrijving van het probleem is nog niet ingevuld.\rVul deze alsnog in.");
            memoProblemDescription.SetFocus();
            allowChange = false;
        }
    } else if (page == &TabTechInfo && forward) {
        bool anyChecked = false;
        for (int i = 0; i < lstTechInfos.Count(); ++i) anyChecked = anyChecked || lstTechInfos.Checked(i);
        if (!anyChecked) {
            ShowWarning("Er moet minstens één onderdeel geselecteerd zijn.\rSelecteer deze alsnog.");
            allowChange = false;
        }
    } else if (page == &TabPersonalInfo && forward) {
        ExitPersonalInfoPage(allowChange);
    }
}

void TfrmProblemSolver::ExitIntroPage(bool& allowChange) {
    TServiceItem* item = FServiceItem.get();
    if (dynamic_cast<TUnknownApplication*>(item)) {
        std::shared_ptr<TAddedApplication> added = AskApplicationName();
        if (!added) {
            allowChange = false;
            cboServiceItems.SetFocus();
            return;
        }
        cboServiceItems.AddServiceItem(added);
        const int index = cboServiceItems.IndexOf(added->DisplayText());
        cboServiceItems.SetItemIndex(index);
        cboServiceItemsChange(&cboServiceItems);
    } else if (!dynamic_cast<TAddedApplication*>(item)) {
        allowChange = cboServiceItems.ItemIndex() >= 0;
        UpdateDocumentationPage();
    }
    EnableServicePages();
}

// An application the user named has no documentation or update of ours: both pages are skipped,
// forward and back; without the Internet the update is skipped too.
void TfrmProblemSolver::EnableServicePages() {
    const bool named = dynamic_cast<TAddedApplication*>(FServiceItem.get()) != nullptr;
    TabDocumentation.SetEnabled(!named);
    TabOnlineupdate.SetEnabled(!named && chkIntroInternet.Checked());
}

void TfrmProblemSolver::ExitPersonalInfoPage(bool& allowChange) {
    if (!OAC_ValidateControls(this, FUser.get()) || !ValidateControls()) {
        allowChange = false;
        return;
    }
    if (FStoredCustomer.empty() || FStoredCustomer != PropertyTexts(*FUser)) FUser->SaveToRegistry();
    allowChange = PrepareReport();
}

bool TfrmProblemSolver::ValidateControls() {
    TUser& u = *FUser;
    std::vector<std::pair<TControl*, TAppProp*>> required = {
        {&txtUserInitials, &u.Initials()},       {&txtUserLastName, &u.LastName()}, {&txtUserStreet, &u.Street()},
        {&txtUserHouseNumber, &u.HouseNumber()}, {&txtUserZipCode, &u.ZipCode()},   {&txtUserCity, &u.City()},
        {&cboUserCountry, &u.Country()}};
    if (optContactEmail.Checked()) required.push_back({&txtUserEmail, &u.Email()});
    if (optContactTelephone.Checked()) required.push_back({&txtUserPhone, &u.Tel()});
    for (auto [control, prop] : required)
        if (!CheckRequiredField(*control, *prop)) return false;
    // Also when the address is not how the helpdesk answers: a wrong one must not reach the report.
    const std::string email = u.Email().AsString();
    if (!email.empty() && !IsValidEmailAddress(email)) {
        ShowWarning("Geen correct e-mailadres.");
        txtUserEmail.SetFocus();
        return false;
    }
    return true;
}

void TfrmProblemSolver::txtUserFaxChange(TControl*) {
    if (!txtUserFax.Text().empty()) {
        chkUserCallBeforeFax.SetEnabled(true);
    } else {
        chkUserCallBeforeFax.SetChecked(false);
        chkUserCallBeforeFax.OACInterface().CopyValueToAppProp();
        chkUserCallBeforeFax.SetEnabled(false);
    }
}

// --- the report ----------------------------------------------------------------------------------

// Makes the report, or composes it afresh, and saves it. The user stays on the personal-data page
// when its folder cannot be made or its files cannot be written.
bool TfrmProblemSolver::PrepareReport() {
    // A report this window made for another application than the one now chosen would be filed,
    // addressed and listed under that other one: it moves to a new folder of the chosen application,
    // with its attachments, and the old folder goes once the new one is stored.
    std::shared_ptr<THelpdeskReport> misfiled;
    const bool wasShown = FReportShown;
    if (FReport && FReportMadeHere && FReport->ServiceItem != FServiceItem) {
        if (ReportBaseFolder(ApplicationName(FReport->ServiceItem.get())) != ReportBaseFolder(ApplicationName(FServiceItem.get())))
            misfiled = std::move(FReport);
        else
            FReport->ServiceItem = FServiceItem;
    }
    const bool made = !FReport;
    // A failure leaves the report where it was.
    auto restore = [&] {
        if (made && FReport) DiscardReport();
        if (misfiled) {
            FReport = std::move(misfiled);
            FReportMadeHere = true;
            FReportShown = wasShown;
            UpdateAttachmentsCaption();
        }
        return false;
    };
    if (made && !CreateReport()) return restore();
    if (misfiled) {
        FReport->Attachments = misfiled->Attachments;
        FReport->UpdateAttachments({});
        UpdateAttachmentsCaption();
    }
    if (!made && !TechInfoVisited && !PersonalInfoVisited) return true;
    if (!ComposeReport()) {
        // Cancelled while composing: as if it had not been composed, and then Cancel as ever.
        restore();
        FormCancelClick(this);
        return false;
    }
    if (!SaveReport()) return restore();
    if (misfiled && !misfiled->DeleteReportFolder())
        ShowWarning(Format("Het helpdeskrapport in de map %s kon niet worden verwijderd.", {misfiled->Folder()}));
    SetCurrentDir(GetProgramFolder());
    LoadReportView();
    return true;
}

bool TfrmProblemSolver::CreateReport() {
    const std::string base = ReportBaseFolder(ApplicationName(FServiceItem.get()));
    std::string folder;
    try {
        folder = base + NextReportFolder(base);
        SetCurrentDir(GetProgramFolder());
        if (!ForceDirectories(GetProgramFolder() + folder))
            throw EBrantel("De map '" + GetProgramFolder() + folder + "' kan niet worden aangemaakt.");
    } catch (const EBrantel& e) {
        ShowWarning("Het helpdeskrapport kan niet worden aangemaakt.\r" + e.UserMessage());
        return false;
    }
    FReport = std::make_shared<THelpdeskReport>(folder, FServiceItem);
    FReportMadeHere = true;
    return true;
}

// The one place where the report text is composed. The collectors gather while the window stays
// with the user; Cancel meanwhile leaves the report exactly as it was (false).
bool TfrmProblemSolver::ComposeReport() {
    TTechInfoRefs chosen;
    try {
        for (int i = 0; i < lstTechInfos.Count(); ++i)
            if (lstTechInfos.Checked(i)) FindCollector(GetGeneralServiceItem().Collectors(), TechInfoIdentifier(i), chosen);
    } catch (const EBrantel&) {
        ShowWarning("Er is een fout opgetreden waardoor het rapport misschien niet volledig is.");
    }
    FComposition = std::make_unique<TReportComposition>(chosen, FReport->ServiceItem.get());
    if (!FComposition->Gather(*this)) return false;
    THourglass hourglass;
    FReport->TechInfos = chosen;
    CopyFormToReport();
    // A collector that fails leaves the report as far as it got; the user sees that text.
    if (!Attempt([&] { ComposeReportText(*FReport, *FUser, FComposition->Sections()); }))
        ShowWarning("Er is een fout opgetreden waardoor het rapport misschien niet volledig is.");
    FillSearchList();
    return true;
}

bool TfrmProblemSolver::SaveReport() {
    try {
        FReport->SaveReport();
        return true;
    } catch (const EBrantel&) {
        ShowWarning(Format("Het helpdeskrapport kan niet worden opgeslagen in de map %s.\rControleer of er genoeg "
                           "vrije schijfruimte is en of in deze map geschreven mag worden.",
                           {FReport->Folder()}));
        return false;
    }
}

void TfrmProblemSolver::DiscardReport() {
    if (!FReport->DeleteReportFolder())
        ShowWarning(Format("Het helpdeskrapport in de map %s kon niet worden verwijderd.", {FReport->Folder()}));
    SetCurrentDir(GetProgramFolder());
    FReport.reset();
    FReportMadeHere = FReportShown = false;
}

void TfrmProblemSolver::CopyFormToReport() {
    FReport->ProblemLines = memoProblemDescription.Lines();
    FReport->Goal = txtProblemGoal.Text();
    FReport->ActionLines = memoProblemActions.Lines();
    FReport->ErrorMessage = txtProblemErrorMessage.Text();
}

void TfrmProblemSolver::CopyReportToForm() {
    txtProblemGoal.SetText(FReport->Goal);
    for (const std::string& line : FReport->ActionLines) memoProblemActions.AddLine(line);
    for (const std::string& line : FReport->ProblemLines) memoProblemDescription.AddLine(line);
    txtProblemErrorMessage.SetText(FReport->ErrorMessage);
    for (int i = 0; i < lstTechInfos.Count(); ++i) {
        const std::string identifier = TechInfoIdentifier(i);
        for (const TTechInfo* chosen : FReport->TechInfos)
            if (SameIdentifier(chosen->Identifier(), identifier)) lstTechInfos.SetChecked(i, true);
    }
}

void TfrmProblemSolver::LoadReportView() {
    // From the report's own lines into the view, line by line: a long report is held once, by the
    // report, and not copied into a list, a file image and a file first.
    const bool loaded = Attempt([&] {
        const TViewText view = ViewText(*FReport);
        size_t next = 0;
        std::string bytes;
        memoReportView.LoadRtfPieces([&]() -> std::string_view {
            bytes.clear();
            for (; next < view.Preamble.size() + view.Body.size() && bytes.size() < 65536; ++next)
                AppendRtfLineBytes(bytes, next < view.Preamble.size() ? view.Preamble[next] : view.Body[next - view.Preamble.size()]);
            return bytes;
        });
    });
    if (!loaded) {
        SendMessageW(memoReportView.Handle(), EM_SETSEL, memoReportView.TextLength(), memoReportView.TextLength());
        SendMessageW(memoReportView.Handle(), EM_REPLACESEL, FALSE,
                     reinterpret_cast<LPARAM>(L"\r\nFout bij het laden van het helpdeskrapport."));
    }
    SearchRestart = true;
}

void TfrmProblemSolver::LoadReportIntoForm() {
    FillTechInfos();
    LoadReportView();
    CopyReportToForm();
    FillSearchList();
    cboServiceItems.SetEnabled(false);
}

void TfrmProblemSolver::FillSearchList() {
    cboSearch.Clear();
    for (int i = 0; i < lstTechInfos.Count(); ++i)
        if (lstTechInfos.Checked(i)) cboSearch.AddItem(lstTechInfos.ItemCaption(i));
    if (cboSearch.Count() > 0) cboSearch.SetItemIndex(0);
    SearchRestart = true;
}

bool TfrmProblemSolver::SaveAll() {
    // The report as composed, not the form: the form may have changed since on the earlier pages,
    // and CASE.INI must tell what CASE.RTF tells.
    return !FReport || !FReport->IsFresh || SaveReport();
}

void TfrmProblemSolver::UpdateAttachmentsCaption() {
    btnOpenAppendix.SetCaption(FReport ? AttachmentsCaption(FReport->Attachments) : AttachmentsCaption({}));
    ArrangeToolBar();
}

void TfrmProblemSolver::btnOpenAppendixClick(TControl*) {
    if (!FReport) return;
    const std::vector<std::string> previous = FReport->Attachments;
    if (RunHelpdeskFiles(FReport->Attachments) == mrOk) {
        FReport->UpdateAttachments(previous);
        UpdateAttachmentsCaption();
    }
}

// --- search --------------------------------------------------------------------------------------

void TfrmProblemSolver::btnSearchClick(TControl*) {
    const std::string text = cboSearch.Text();
    if (text.empty()) return;
    int start = SearchRestart ? 0 : memoReportView.SelStart() + memoReportView.SelLength();
    int found = memoReportView.FindPlainText(text, start);
    if (found < 0) {
        found = memoReportView.FindPlainText(text, 0);  // once more from the top
        if (found < 0) {
            ShowInformation(Format("Zoektekst '%s' is niet gevonden.", {text}));
            return;
        }
    }
    memoReportView.SetFocus();
    // First to the very end, then back to the match: the view scrolls so that the match is near its top.
    memoReportView.SetSelection(memoReportView.TextLength(), 0);
    memoReportView.ScrollCaret();
    memoReportView.SetSelection(found, CharCount(text));
    memoReportView.ScrollCaret();
    SearchRestart = false;
}

void TfrmProblemSolver::cboSearchChange(TControl*) { SearchRestart = true; }

void TfrmProblemSolver::FormKeyDown(TControl*, WORD& key, TShiftState shift) {
    if (!IsReportPage() || !(shift & ssCtrl)) return;
    switch (key) {
        case 'B': btnOpenAppendixClick(&btnOpenAppendix); break;
        case 'E':
            if (btnEMail.Visible()) btnEMailClick(&btnEMail);
            break;
        case 'F': btnSearchClick(&btnSearch); break;
        case 'P': btnPrintClick(&btnPrint); break;
        case 'S': btnMailClick(&btnMail); break;
        default: return;
    }
    key = 0;
}

// --- delivery and closing ------------------------------------------------------------------------

bool TfrmProblemSolver::Deliver(bool (IProblemSolverDelivery::*operation)()) {
    if (!FReport) return false;
    if (!FDelivery) {
        ShowWarning("Het helpdeskrapport kan op dit moment niet worden verzonden.");
        return false;
    }
    return ((*FDelivery).*operation)();
}

void TfrmProblemSolver::btnPrintClick(TControl*) {
    if (Deliver(&IProblemSolverDelivery::PrintReportDialog)) PrintedDone = true;
}

void TfrmProblemSolver::btnMailClick(TControl*) {
    if (Deliver(&IProblemSolverDelivery::SaveReportZip)) SavedDone = true;
}

void TfrmProblemSolver::btnEMailClick(TControl*) {
    if (Deliver(&IProblemSolverDelivery::EmailReport)) MailedDone = true;
}

void TfrmProblemSolver::FormCancelClick(TControl*) {
    // While the report is composed, Cancel stops that first; the window closes once it has stopped.
    if (FComposition && FComposition->Busy()) return FComposition->Cancel();
    if (!LetGoOfReport()) return;
    SetModalResult(mrCancel);
    if (!IsModal()) Close();
}

bool TfrmProblemSolver::LetGoOfReport() {
    // No report, or a stored one that was only viewed: it stays exactly as it is.
    if (!FReport || !FReport->IsFresh) return true;
    if (FReportMadeHere && !FReportShown) {
        // Abandoned before the user saw it: the folder goes.
        DiscardReport();
        return true;
    }
    // Sluiten on the report page keeps what the page shows; a stored report is never deleted here.
    if (FReportMadeHere && !IsReportPage()) {
        const int answer = ShowMessageBox(
            Format("Wilt u het helpdeskrapport bewaren zoals het op de pagina 'Helpdeskrapport' stond?\r\r"
                   "Ja: het rapport blijft bewaard bij de services van %s.\r"
                   "Nee: het rapport wordt met zijn bijlagen verwijderd.\r"
                   "Annuleren: terug naar de Probleemoplosser.",
                   {FReport->ServiceItem ? FReport->ServiceItem->Name().AsString() : std::string()}),
            TMsgKind::Question, TMsgButtons::YesNoCancel);
        if (answer == IDNO) {
            DiscardReport();
            return true;
        }
        if (answer != IDYES) return false;
    }
    return SaveAll() || ShowMessageBox("Wilt u de Probleemoplosser toch sluiten? Het helpdeskrapport blijft dan zoals "
                                       "het het laatst is opgeslagen.",
                                       TMsgKind::Question, TMsgButtons::YesNo) == IDYES;
}

void TfrmProblemSolver::FormClose(TControl*, TCloseAction& action) {
    switch (ModalResult()) {
        case mrOk: {
            if (!FReport || !FReport->IsFresh) return;
            if (!SaveAll()) {
                action = TCloseAction::caNone;
                return;
            }
            bool done;
            if (optContactEmail.Checked())
                done = MailedDone || Deliver(&IProblemSolverDelivery::EmailReport);
            else if (optContactMail.Checked())
                done = SavedDone || Deliver(&IProblemSolverDelivery::SaveReportZip);
            else
                done = PrintedDone || Deliver(&IProblemSolverDelivery::PrintReportDialog);
            if (!done) action = TCloseAction::caNone;
            return;
        }
        case mrCancel: return;
        default: {
            throw EBrantel("TfrmProblemSolver", "FormClose", "Unhandled case",
                           "Onjuiste afsluiting van de Probleemoplosser.");
        }
    }
}

void TfrmProblemSolver::FormDestroy(TControl*) {
    OAC_DisconnectControls(this);
    FDelivery.reset();
    FUser.reset();
    FReport.reset();
    FButtonServices.clear();
    FServices.clear();
}
