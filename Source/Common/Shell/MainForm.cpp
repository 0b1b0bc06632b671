#include "Source/Common/Shell/MainForm.h"

#include <cmath>

#include "Source/Common/Catalogue/Browser.h"
#include "Source/Common/Catalogue/Discovery.h"
#include "Source/Common/Catalogue/ServiceCollector.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/ReportOutbox.h"
#include "Source/Common/Shell/BranModel.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "core/Exceptions.h"
#include "lib/App.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/StartupTrace.h"
#include "platform/gui/Application.h"
#include "resources/resource.h"

const char* const MainFormPlacementKey = "Software\\Brantel\\Shared\\Service\\MainForm";

namespace {
const char* const kSelectHint = "Selecteer een pictogram om de beschrijving te zien.";

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
}  // namespace

TfrmSplash::TfrmSplash() {
    SetBorderStyle(TBorderStyle::bsNone);
    Position = TPosition::poScreenCenter;
    SetClientSize(320, 200);
    imgSplash.SetAlign(TAlign::alClient);
    imgSplash.Center = true;
    // The picture is read when the window first shows: the main window creates the splash at every
    // start, and reading a large icon there only delays the program.
    OnShow = [this](TControl*) {
        if (imgSplash.Empty())
            imgSplash.SetIcon(TIconHandle(static_cast<HICON>(
                LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_BRANSERVICE), IMAGE_ICON, ScaleToScreen(128), ScaleToScreen(128), 0))));
    };
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TfrmMain::TfrmMain(std::vector<std::string> args) : FArgs(std::move(args)) {
    SetCaption("Bran-Service");
    SetColor(SysColor(COLOR_APPWORKSPACE));
    SetClientSize(528, 281);
    SendMessageW(Handle(), WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_BRANSERVICE))));
    HelpContext = 2501;

    pnlCombo.SetAlign(TAlign::alTop);
    pnlCombo.SetParentColor(false);
    pnlCombo.SetColor(clBtnFace);
    pnlCombo.SetHeight(31);
    cboServiceItems.SetBounds(4, 4, 185, 200);
    cboServiceItems.HelpContext = 3006;
    TBranSpeedButton* buttons[] = {&btnGrotepictogrammen, &btnLijst, &btnDetails};
    for (int i = 0; i < 3; ++i) {
        buttons[i]->SetBounds(196 + i * 25, 4, 23, 23);
        buttons[i]->GroupIndex = 1;
    }
    btnGrotepictogrammen.SetDown(true);
    btnGrotepictogrammen.SetHint("Grote pictogrammen");
    btnLijst.SetHint("Lijst");
    btnDetails.SetHint("Details");
    barStatus.SetAlign(TAlign::alBottom);
    lstServices.SetAlign(TAlign::alClient);
    lstServices.AddColumn({"Naam", 135});
    lstServices.AddColumn({"Omschrijving", 365});
    lstServices.SetLargeImages(&imgServicesLarge);
    lstServices.SetSmallImages(&imgServicesSmall);
    lstServices.SetReadOnly(true);
    lstServices.HelpContext = 3007;
    lstServices.PopupMenu = &mnuContextGeenselectie;
    cboServiceItems.SetListView(&lstServices);
    LoadImages();

    mnuBestand.HelpContext = 3003;
    mnuBeeld.HelpContext = 3004;
    mnuHelp.HelpContext = 3005;
    mnuBeeldStatusbalk.SetChecked(true);
    for (TMenuItem* item : {&mnuBeeldGrotepictogrammen, &mnuBeeldLijst, &mnuBeeldDetails, &mnuContextGrotepictogrammen,
                            &mnuContextLijst, &mnuContextDetails}) {
        item->SetRadioItem(true);
        item->GroupIndex = 1;
    }
    mnuBeeldGrotepictogrammen.SetChecked(true);
    mnuContextGrotepictogrammen.SetChecked(true);

    OnCreate = [this](TControl* s) { FormCreate(s); };
    OnShow = [this](TControl* s) { FormShow(s); };
    OnHide = [this](TControl* s) { FormHide(s); };
    OnDestroy = [this](TControl* s) { FormDestroy(s); };
    // Coming back to the program activates it and then this window: one refresh serves both.
    OnActivate = [this](TControl* s) {
        if (!Application().ActivationInProgress()) mnuBeeldVernieuwenClick(s);
    };
    lstServices.OnChange = [this](TControl* s) { lstServicesChange(s); };
    mnuBestand.OnPopup = [this](TControl* s) { mnuBestandClick(s); };
    mnuContextSelectie.OnPopup = [this](TControl* s) { mnuContextSelectiePopup(s); };
    mnuHelp.OnPopup = [this](TControl* s) { mnuHelpClick(s); };
    auto bind = [](TMenuItem& item, auto handler) { item.OnClick = handler; };
    bind(mnuBestandOpenen, [this](TControl* s) { mnuBestandOpenenClick(s); });
    bind(mnuContextOpenen, [this](TControl* s) { mnuBestandOpenenClick(s); });
    bind(mnuBestandVerwijderen, [this](TControl* s) { mnuBestandVerwijderenClick(s); });
    bind(mnuContextVerwijderen, [this](TControl* s) { mnuBestandVerwijderenClick(s); });
    bind(mnuBestandAfdrukken, [this](TControl* s) { mnuBestandAfdrukkenClick(s); });
    bind(mnuContextAfdrukken, [this](TControl* s) { mnuBestandAfdrukkenClick(s); });
    bind(mnuBestandPrinterinstellingen, [this](TControl* s) { mnuBestandPrinterinstellingenClick(s); });
    bind(mnuBestandMailserverinstelling, [this](TControl* s) { mnuBestandMailserverinstellingClick(s); });
    bind(mnuBestandAfsluitenServiceprogramma, [this](TControl* s) { mnuBestandAfsluitenServiceprogrammaClick(s); });
    bind(mnuBeeldStatusbalk, [this](TControl* s) { mnuBeeldStatusbalkClick(s); });
    bind(mnuBeeldVernieuwen, [this](TControl* s) { mnuBeeldVernieuwenClick(s); });
    bind(mnuHelpHelponderwerpen, [this](TControl* s) { mnuHelpHelponderwerpenClick(s); });
    bind(mnuHelpBrantelOnlineHomepage, [this](TControl* s) { mnuHelpBrantelOnlineHomepageClick(s); });
    bind(mnuHelpBrantelOnlineHelpdesk, [this](TControl* s) { mnuHelpBrantelOnlineHelpdeskClick(s); });
    bind(mnuHelpInfo, [this](TControl* s) { mnuHelpInfoClick(s); });
    // Each view's menu item, pop-up item and button carry the view they choose.
    for (auto [menu, popup, button, style] :
         {std::tuple{&mnuBeeldGrotepictogrammen, &mnuContextGrotepictogrammen, &btnGrotepictogrammen, TViewStyle::vsIcon},
          std::tuple{&mnuBeeldLijst, &mnuContextLijst, &btnLijst, TViewStyle::vsList},
          std::tuple{&mnuBeeldDetails, &mnuContextDetails, &btnDetails, TViewStyle::vsReport}}) {
        auto handler = [this, style = style](TControl*) { SetViewStyle(style); };
        menu->OnClick = handler;
        popup->OnClick = handler;
        button->OnClick = handler;
    }
    timSplash.OnTimer = [this](TTimer*) { timSplashTimer(); };
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::LoadImages() {
    imgServicesLarge.AddResourceIcons(IDI_SERVICE_FIRST, IDI_SERVICE_COUNT);
    imgServicesSmall.AddResourceIcons(IDI_SERVICE_FIRST, IDI_SERVICE_COUNT);
    const int glyph = imgViewButtons.AddResourceIcons(IDI_VIEW_LARGEICONS, 3);
    if (glyph < 0) return;
    TBranSpeedButton* buttons[] = {&btnGrotepictogrammen, &btnLijst, &btnDetails};
    for (int i = 0; i < 3 && glyph + i < imgViewButtons.Count(); ++i) buttons[i]->SetGlyph(&imgViewButtons, glyph + i);
}

std::string TfrmMain::HelpFilePath() const { return ChangeFileExt(GetExeName(), ".HLP"); }

// --- life cycle ------------------------------------------------------------------------------------

void TfrmMain::FormCreate(TControl*) {
    FSplash = std::make_unique<TfrmSplash>();
    RegisterServiceForms();
    // The one model of the program; a process that built it already (a test) keeps its own.
    if (!GlobalApp().FindObjDesc("TServiceItem")) FModel = BuildBranServiceModel();
    Application().OnActivate = [this](TControl* s) { mnuBeeldVernieuwenClick(s); };
    RestorePlacement();
}

void TfrmMain::FormShow(TControl*) {
    mnuBestandOpenen.SetShortCut({VK_RETURN});
    mnuBestandAfsluitenServiceprogramma.SetShortCut({VK_F4, ssAlt});
    Application().HelpFile = HelpFilePath();
    lstServices.SetServiceProvider(std::make_shared<TServiceCollector>());
    FillServiceItems();
    lstServices.RebuildOnProvided = true;
    if (!FArgs.empty()) ApplyCommandLine();
    // Reports that did not reach the helpdesk are named once, at start; sending them is up to the user.
    const std::string unsent = UnsentReportsText(CountUnsentReports(cboServiceItems.Items()));
    barStatus.SetSimpleText(unsent.empty() ? kSelectHint : unsent);
    StartupMark("filled");
}

void TfrmMain::FormHide(TControl*) { SavePlacement(); }

void TfrmMain::FormDestroy(TControl*) {
    Application().OnActivate = nullptr;
    // The lists hold items and services that refer to the model's descriptors: they go first.
    lstServices.SetServiceProvider(nullptr);
    lstServices.ClearServices();
    cboServiceItems.ClearItems();
    FSplash.reset();
}

// --- the item list -----------------------------------------------------------------------------------

void TfrmMain::FillServiceItems(const std::string& selectName) {
    TServiceItemList items;
    CollectServiceItems(items);
    StartupMark("discovered");
    // Only applications and the general item belong in the selector.
    cboServiceItems.SetServiceItems(items);
    TServiceItem* selected = &GetGeneralServiceItem();
    for (const auto& item : cboServiceItems.Items()) {
        if (!selectName.empty() && !item->Name().IsNull() && item->Name().AsString() == selectName) {
            selected = item.get();
            break;
        }
    }
    cboServiceItems.SetCurrentServiceItem(selected);
}

void TfrmMain::mnuBeeldVernieuwenClick(TControl*) {
    auto current = cboServiceItems.CurrentServiceItem();
    if (!current) return;
    const TServiceItemRef shown = lstServices.ServiceItem();
    FillServiceItems(current->Name().AsString());
    // Discovery hands back the same general item, and selecting the shown item again builds
    // nothing: new updates or reports of it would not appear.
    if (lstServices.ServiceItem() == shown) lstServices.Rebuild();
}

void TfrmMain::ApplyCommandLine() {
    std::string line;
    for (const std::string& arg : FArgs) line += arg + " ";
    if (line.rfind("-r", 0) != 0) return;
    const std::string rest = line.substr(2);
    for (const auto& item : cboServiceItems.Items()) {
        if (!dynamic_cast<TBranApplication*>(item.get()) || item->Name().IsNull()) continue;
        if (rest.rfind(item->Name().AsString(), 0) == 0) {
            cboServiceItems.SetCurrentServiceItem(item.get());
            return;
        }
    }
}

void TfrmMain::lstServicesChange(TControl*) {
    if (TServiceRef service = lstServices.CurrentService()) {
        barStatus.SetSimpleText(service->GetDescription());
        lstServices.PopupMenu = &mnuContextSelectie;
        lstServices.HelpContext = service->GetHelpContext();
    } else {
        barStatus.SetSimpleText(kSelectHint);
        lstServices.PopupMenu = &mnuContextGeenselectie;
        lstServices.HelpContext = dynamic_cast<TGeneralServiceItem*>(lstServices.ServiceItem().get()) ? 3008 : 3009;
    }
}

// --- file commands ---------------------------------------------------------------------------------

void TfrmMain::mnuBestandClick(TControl*) {
    TServiceRef service = lstServices.CurrentService();
    for (auto [open, del, print] : {std::tuple{&mnuBestandOpenen, &mnuBestandVerwijderen, &mnuBestandAfdrukken},
                                    std::tuple{&mnuContextOpenen, &mnuContextVerwijderen, &mnuContextAfdrukken}}) {
        open->SetEnabled(service != nullptr);
        del->SetEnabled(service && service->CanDelete());
        print->SetEnabled(service && service->CanPrint());
    }
}

void TfrmMain::mnuContextSelectiePopup(TControl* sender) { mnuBestandClick(sender); }
void TfrmMain::mnuBestandOpenenClick(TControl*) { lstServices.Open(); }
void TfrmMain::mnuBestandVerwijderenClick(TControl*) { lstServices.DeleteService(); }

void TfrmMain::mnuBestandAfdrukkenClick(TControl*) {
    // The service to print is the one selected when the user asked, not whatever is selected after.
    const TServiceRef service = lstServices.CurrentService();
    dlgPrintSetup.Collate = true;
    if (dlgPrintSetup.Execute()) lstServices.PrintService(service, dlgPrintSetup.Copies);
}

void TfrmMain::mnuBestandPrinterinstellingenClick(TControl*) { dlgPrinterSetup.Execute(); }

void TfrmMain::mnuBestandMailserverinstellingClick(TControl*) { ShowServiceForm("TfrmMailserver"); }

void TfrmMain::mnuBestandAfsluitenServiceprogrammaClick(TControl*) { Close(); }

// --- view commands ---------------------------------------------------------------------------------

void TfrmMain::SetViewStyle(TViewStyle style) {
    lstServices.SetViewStyle(style);
    const bool large = style == TViewStyle::vsIcon, list = style == TViewStyle::vsList,
               details = style == TViewStyle::vsReport;
    mnuBeeldGrotepictogrammen.SetChecked(large);
    mnuContextGrotepictogrammen.SetChecked(large);
    btnGrotepictogrammen.SetDown(large);
    mnuBeeldLijst.SetChecked(list);
    mnuContextLijst.SetChecked(list);
    btnLijst.SetDown(list);
    mnuBeeldDetails.SetChecked(details);
    mnuContextDetails.SetChecked(details);
    btnDetails.SetDown(details);
}

void TfrmMain::mnuBeeldGrotepictogrammenClick(TControl*) { SetViewStyle(TViewStyle::vsIcon); }
void TfrmMain::mnuBeeldLijstClick(TControl*) { SetViewStyle(TViewStyle::vsList); }
void TfrmMain::mnuBeeldDetailsClick(TControl*) { SetViewStyle(TViewStyle::vsReport); }

void TfrmMain::SetStatusBarVisible(bool visible) {
    barStatus.SetVisible(visible);
    mnuBeeldStatusbalk.SetChecked(visible);
    Realign();
}

void TfrmMain::mnuBeeldStatusbalkClick(TControl*) { SetStatusBarVisible(!barStatus.Visible()); }

// --- help --------------------------------------------------------------------------------------------

void TfrmMain::mnuHelpClick(TControl*) { mnuHelpBrantelopinternet.SetEnabled(BrowserPresent()); }

void TfrmMain::mnuHelpHelponderwerpenClick(TControl*) {
    std::string root;
    try {
        TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion");
        root = key.ReadString("SystemRoot");
    } catch (const ERegistry&) {
        root.clear();
    }
    // The NT family keeps no "SystemRoot" there; the Windows folder is where the help viewer lives.
    if (root.empty()) root = GetWindowsFolder();
    ShellStart({"open", IncludeTrailingBackslash(root) + "WinHelp.Exe", HelpFilePath(), "", SW_SHOWNORMAL});
}

void TfrmMain::mnuHelpBrantelOnlineHomepageClick(TControl*) {
    try {
        TBrantelOnlineService().Provide(lstServices.ServiceItem());
    } catch (const EBrantel&) {
        // No browser: the submenu is disabled then, and nothing is reported.
    }
}

void TfrmMain::mnuHelpBrantelOnlineHelpdeskClick(TControl*) {
    try {
        TOnlineHelpdeskService(GetGeneralServiceItem()).Provide(SharedGeneralServiceItem());
    } catch (const EBrantel&) {
        // As above.
    }
}

void TfrmMain::mnuHelpInfoClick(TControl*) {
    ShowServiceForm("TfrmAbout");
}

void TfrmMain::timSplashTimer() {
    timSplash.SetEnabled(false);
    FSplash.reset();
}

// --- placement ---------------------------------------------------------------------------------------

void TfrmMain::RestorePlacement() {
    TRegKey key = TRegKey::OpenReadOnly(HKEY_CURRENT_USER, MainFormPlacementKey);
    if (!key.IsOpen()) {
        Position = TPosition::poScreenCenter;
        return;
    }
    // The stored placement is in this screen's pixels already: the design is scaled first, not it.
    ScaleDesignToScreen();
    // A fraction saved from whole pixels comes back a hair below them (307 / 768 * 768 is 306.99...):
    // truncated as it is, the window lost a pixel at every start.
    auto pixels = [&key](int screen, const char* name) {
        return static_cast<int>(std::trunc(screen * key.ReadFloat(name) + 1e-6));
    };
    try {
        if (key.ReadBool("Maximized")) {
            SetWindowState(TWindowState::wsMaximized);
        } else {
            SetBounds(pixels(ScreenWidth(), "Left"), pixels(ScreenHeight(), "Top"), pixels(ScreenWidth(), "Width"),
                      pixels(ScreenHeight(), "Height"));
        }
        SetStatusBarVisible(key.ReadBool("StatusBar"));
        switch (key.ReadInteger("ListView")) {
            case 0: mnuBeeldGrotepictogrammenClick(this); break;
            case 2: mnuBeeldLijstClick(this); break;
            case 3: mnuBeeldDetailsClick(this); break;
            default: throw EBrantel("Invalid view style in registry");
        }
    } catch (const EBrantel&) {
        // What was read before the failure stays; the rest keeps its defaults.
    }
}

void TfrmMain::SavePlacement() {
    try {
        TRegKey key;
        if (!key.Open(HKEY_CURRENT_USER, MainFormPlacementKey, true)) return;
        const bool maximized = WindowState() == TWindowState::wsMaximized;
        key.WriteBool("Maximized", maximized);
        if (!maximized) {
            // Closed while minimised, the window's rectangle is the icon's far off the screen.
            const RECT r = NormalBounds();
            key.WriteFloat("Left", static_cast<double>(r.left) / ScreenWidth());
            key.WriteFloat("Top", static_cast<double>(r.top) / ScreenHeight());
            key.WriteFloat("Width", static_cast<double>(r.right - r.left) / ScreenWidth());
            key.WriteFloat("Height", static_cast<double>(r.bottom - r.top) / ScreenHeight());
        }
        key.WriteBool("StatusBar", barStatus.Visible());
        const TViewStyle style = lstServices.ViewStyle();
        key.WriteInteger("ListView", style == TViewStyle::vsIcon ? 0 : style == TViewStyle::vsList ? 2 : 3);
    } catch (const EBrantel&) {
        // The placement is a convenience: losing it must not stop the program from closing.
    }
}
