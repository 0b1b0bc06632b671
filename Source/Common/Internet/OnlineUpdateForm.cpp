#include "Source/Common/Internet/OnlineUpdateForm.h"

#include <algorithm>

#include "Source/Common/Catalogue/Browser.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Internet/DownloadForm.h"
#include "Source/Common/TechInfo/FileVersionInfo.h"
#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/gui/Application.h"
#include "platform/gui/Messages.h"
#include "resources/resource.h"

const char* const RestartEntryKey = "Software\\MicroSoft\\Windows\\CurrentVersion\\RunOnce";

namespace {
const char* const kNoConnection = "Uw PC kan geen verbinding maken met Brantel Online";
const char* const kDamaged =
    "De update voor %s is beschadigd aangekomen en is verwijderd. Probeer het later opnieuw.";
const char* const kInUse =
    "De eerder gedownloade update voor %s is nog in gebruik en kan niet worden vervangen. "
    "Sluit de installatie en probeer het opnieuw.";
const char* const kNotSaved = "De update voor %s kon niet worden opgeslagen in %s.";
const char* const kInsecure =
    "Uw PC kan geen veilige verbinding maken met %s: het certificaat van de server is niet geldig of wordt niet "
    "vertrouwd. Er is niets gedownload.";
// An index is a few kB; anything near this is not one.
const int64_t kMaxIndexBytes = 1024 * 1024;
// The program's own version when its executable carries none.
const char* const kFallbackVersion = "1.0.1.14";

// A whole decimal number, optionally negative; anything else raises.
int32_t StrToInt(const std::string& text) {
    size_t i = text.size() > 1 && text[0] == '-' ? 1 : 0;
    if (i == text.size()) throw EBrantel("'" + text + "' is not a valid integer value");
    int64_t value = 0;
    for (size_t j = i; j < text.size(); ++j) {
        if (text[j] < '0' || text[j] > '9') throw EBrantel("'" + text + "' is not a valid integer value");
        value = value * 10 + (text[j] - '0');
        if (value > INT32_MAX) throw EBrantel("'" + text + "' is not a valid integer value");
    }
    return static_cast<int32_t>(i ? -value : value);
}

// The host part of an address, as the user knows the server.
std::string UrlHost(const std::string& url) {
    const size_t scheme = url.find("://");
    const size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    const size_t end = url.find_first_of(":/?#", start);
    return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// What the user is told when the index did not come.
std::string IndexFailureText(THttpFailure failure, const std::string& address) {
    return failure == THttpFailure::Certificate ? Format(kInsecure, {UrlHost(address)}) : kNoConnection;
}

// A size in kB as the index gives it; a negative one, one past 32 bits or one that is no whole
// number is not known (0).
int32_t ReadSizeKB(const TIniFile& index, const std::string& section, const std::string& key) {
    const std::string text = Trim(index.ReadString(section, key, ""));
    if (text.empty() || text.size() > 10) return 0;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
    }
    return value <= INT32_MAX ? static_cast<int32_t>(value) : 0;
}

int32_t TimesHundredPlus(int32_t value, int32_t part) {
    int32_t result;
    if (__builtin_mul_overflow(value, 100, &result) || __builtin_add_overflow(result, part, &result))
        throw EBrantel("Integer overflow");
    return result;
}
}  // namespace

int32_t VersionNumber(const std::string& version) {
    std::string rest = version;
    int32_t value = 0;
    int parts = 0;
    for (size_t dot; (dot = rest.find('.')) != std::string::npos; rest.erase(0, dot + 1), ++parts)
        value = TimesHundredPlus(value, StrToInt(rest.substr(0, dot)));
    while (!rest.empty() && (rest.back() < '0' || rest.back() > '9')) rest.pop_back();
    value = TimesHundredPlus(value, StrToInt(rest));
    for (; parts < 3; ++parts) value = TimesHundredPlus(value, 0);
    return value;
}

std::string ReleaseDateText(const std::string& date) {
    const int year = StrToInt(date.substr(0, 4));
    const int first = StrToInt(date.size() > 4 ? date.substr(4, 2) : std::string());
    const int second = StrToInt(date.size() > 6 ? date.substr(6, 2) : std::string());
    const auto encoded = first < 13 ? TryEncodeDate(year, first, second) : TryEncodeDate(year, second, first);
    return encoded ? DateToStr(*encoded) : std::string();
}

std::string UpdateIndexAddress() {
    TRegKey shared = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared");
    if (shared.IsOpen()) {
        TRegKey language =
            TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared\\" + shared.ReadString("CurrentLanguage"));
        if (language.IsOpen() && language.ValueExists("UpdateIni")) return language.ReadString("UpdateIni");
    }
    return DefaultUpdateIndexAddress();
}

THttpExpectation SetupExpectation(const TUpdateInfo& info) {
    THttpExpectation expect;
    if (info.SizeKB > 0) {
        const int64_t kb = info.SizeKB;
        expect.MinBytes = (kb - 1) * 1024 + 1;
        expect.MaxBytes = (kb + 1) * 1024 - 1;
    } else {
        expect.RequireAnnouncedLength = true;
    }
    expect.Sha256 = info.Sha256;
    return expect;
}

// The downloaded setups, as the install list's service provider: the same services whatever item
// the list asks for, since the setups belong to different items.
class TSetupServices : public IServiceCollector {
public:
    void GetServices(const TServiceItemRef&, TServiceList& list) override { list = Setups; }
    TServiceList Setups;
};

namespace {
// "Info" of an offer: its page in the browser.
class TUpdateInfoService : public TBrowserService {
public:
    explicit TUpdateInfoService(const std::string& address) : TBrowserService("Info", 1004, "", 4) { FAddress = address; }
    const char* ClassName() const override { return "TUpdateInfoService"; }
};
}  // namespace

TfrmOnlineUpdate::TfrmOnlineUpdate() : FSetups(std::make_shared<TSetupServices>()) {
    SetCaption("Online Update");
    Position = TPosition::poScreenCenter;
    pgcWizard.SetBounds(0, 0, 460, 290);
    tabConnection.HelpContext = 1020;
    tabNoUpdates.HelpContext = 1021;
    tabUpdates.HelpContext = 1023;
    tabInstall.HelpContext = 1022;

    for (TLabel* label : {&lblConnection1, &lblConnection2, &lblNoUpdates1, &lblNoUpdates2, &lblUpdates1, &lblUpdates2,
                          &lblInstall1, &lblInstall2}) {
        label->SetWordWrap(true);
        label->SetAutoSize(false);
    }
    lblConnection1.SetCaption(
        "Met Online Update kunt u controleren of er nieuwe versies van uw Brantel programma's beschikbaar zijn. "
        "Zorg ervoor dat uw PC verbinding kan maken met Internet.");
    lblConnection1.SetBounds(16, 12, 420, 48);
    lblConnection2.SetCaption("Klik op 'Volgende' om te controleren of er een update beschikbaar is op Internet.");
    lblConnection2.SetBounds(16, 72, 420, 32);
    lblURL.SetBounds(16, 120, 300, 16);
    lblNoUpdates1.SetCaption("Er zijn op dit moment geen nieuwe updates voor uw programma's beschikbaar.");
    lblNoUpdates1.SetBounds(16, 12, 420, 32);
    lblNoUpdates2.SetCaption("Klik op 'Voltooien' om Online Update te beëindigen.");
    lblNoUpdates2.SetBounds(16, 56, 420, 16);
    lblUrl2.SetBounds(16, 88, 300, 16);
    for (TLabel* link : {&lblURL, &lblUrl2}) {
        link->SetCaption(MakerWebHost());
        link->ShowAccelChar = false;
    }

    lblUpdates1.SetBounds(16, 8, 420, 16);
    lstUpdates.SetBounds(16, 28, 424, 150);
    lstUpdates.SetViewStyle(TViewStyle::vsReport);
    lstUpdates.SetCheckboxes(true);
    lstUpdates.SetReadOnly(true);
    lstUpdates.SetRowSelect(true);
    lstUpdates.AddColumn({"     Programma", 189});
    lstUpdates.AddColumn({"Versie", 70});
    lstUpdates.AddColumn({"Datum", 70});
    lstUpdates.AddColumn({"Grootte", 60, TAlignment::taRightJustify});
    pnlInfo.SetBounds(16, 184, 328, 26);
    pnlInfo.SetBevelOuter(TBevelCut::bvLowered);
    pnlInfo.Alignment = TAlignment::taLeftJustify;
    btnInfo.SetBounds(350, 184, 90, 26);
    btnInfo.SetEnabled(false);
    lblUpdates2.SetBounds(16, 220, 424, 16);

    lblInstall1.SetBounds(16, 8, 420, 16);
    lstSetups.SetBounds(16, 28, 424, 150);
    lstSetups.SetReadOnly(true);
    lstSetups.SetLargeImages(&imgSetupsLarge);
    lstSetups.SetSmallImages(&imgSetupsSmall);
    lstSetups.SetServiceProvider(FSetups);
    btnInstall.SetBounds(350, 184, 90, 26);
    btnInstall.SetEnabled(false);
    lblInstall2.SetBounds(16, 220, 424, 16);
    imgSetupsLarge.AddResourceIcons(IDI_SERVICE_FIRST, IDI_SERVICE_COUNT);
    imgSetupsSmall.AddResourceIcons(IDI_SERVICE_FIRST, IDI_SERVICE_COUNT);
    Pages = &pgcWizard;

    if (auto* selector = MainWindowSelector()) SetServiceItems(selector->CurrentServiceItem(), selector->Items());
    if (!FCurrentItem) {
        // No main window to ask (a window opened on its own): the general item alone, not owned here.
        std::shared_ptr<TServiceItem> general(std::shared_ptr<TServiceItem>(), &GetGeneralServiceItem());
        SetServiceItems(general, {general});
    }

    OnShow = [this](TControl* s) { FormShow(s); };
    OnExitPage = [this](TControl* s, TTabSheet* p, bool& allow, TWizardDirection d) { FormExitPage(s, p, allow, d); };
    OnEnterPage = [this](TControl* s, TTabSheet* p, TWizardDirection d) { FormEnterPage(s, p, d); };
    OnCancelClick = [this](TControl* s) { FormCancelClick(s); };
    lstUpdates.OnChange = [this](TControl* s) { lstUpdatesChange(s); };
    btnInfo.OnClick = [this](TControl* s) { btnInfoClick(s); };
    lstSetups.OnChange = [this](TControl* s) { lstSetupsChange(s); };
    btnInstall.OnClick = [this](TControl* s) { btnInstallClick(s); };
}

TfrmOnlineUpdate::~TfrmOnlineUpdate() {
    lstUpdates.OnChange = nullptr;
    lstSetups.OnChange = nullptr;
}

void TfrmOnlineUpdate::SetServiceItems(std::shared_ptr<TServiceItem> current,
                                       std::vector<std::shared_ptr<TServiceItem>> items) {
    FCurrentItem = std::move(current);
    FItems = std::move(items);
}

bool TfrmOnlineUpdate::IsGeneral(const TServiceItem& item) const { return dynamic_cast<const TGeneralServiceItem*>(&item); }

std::string TfrmOnlineUpdate::DisplayName(const TServiceItem& item) const {
    return IsGeneral(item) ? ApplicationTitle() : item.Name().AsString();
}

// --- the link labels ---------------------------------------------------------------------------------

void TfrmOnlineUpdate::FormShow(TControl*) {
    const bool live = BrowserPresent();
    MakeLinkLabel(lblURL, live);
    MakeLinkLabel(lblUrl2, live);
}

void TfrmOnlineUpdate::MakeLinkLabel(TLabel& label, bool live) {
    label.OnClick = live ? TNotifyEvent([this](TControl* s) { lblURLClick(s); }) : TNotifyEvent();
    label.SetFontWith([live](TFont& font) {
        font.Color = live ? RGB(0, 128, 0) : clWindowText;
        font.Underline = live;
    });
    label.Cursor = live ? LoadCursorW(nullptr, IDC_HAND) : nullptr;
    label.SetTabStop(live);  // a link: Tab reaches it, Enter or Space opens it
}

void TfrmOnlineUpdate::lblURLClick(TControl*) {
    TBrantelOnlineService service;
    service.Provide(SharedGeneralServiceItem());
}

// --- pages ---------------------------------------------------------------------------------------------

void TfrmOnlineUpdate::FormExitPage(TControl*, TTabSheet* page, bool& allowChange, TWizardDirection direction) {
    if (direction != TWizardDirection::wdForward) return;
    if (page == &tabConnection) {
        const TUpdateStatus status = CheckForUpdates();
        tabNoUpdates.SetEnabled(true);
        tabUpdates.SetEnabled(true);
        tabInstall.SetEnabled(true);
        switch (status) {
            case usNoUpdates:
                tabUpdates.SetEnabled(false);
                tabInstall.SetEnabled(false);
                break;
            case usUpdatesFound:
                tabNoUpdates.SetEnabled(false);
                break;
            case usNoConnection:
                ShowInformation(IndexFailureText(FIndexFailure, FIndexAddress));
                allowChange = false;
                break;
            case usUnknown:
                throw EBrantel("TfrmOnlineUpdate", "FormExitPage", "Internal error: Unknown status for updates");
            default:
                throw EBrantel("TfrmOnlineUpdate", "FormExitPage", "Internal error: Unhandled case");
        }
    } else if (page == &tabUpdates) {
        const bool anyMarked = [this] {
            for (int i = 0; i < lstUpdates.Count(); ++i)
                if (lstUpdates.Checked(i)) return true;
            return false;
        }();
        allowChange = anyMarked && DownloadMarkedUpdates();
    } else if (page == &tabInstall) {
        DeleteRestartEntry();
    }
}

void TfrmOnlineUpdate::FormEnterPage(TControl*, TTabSheet* page, TWizardDirection direction) {
    if (direction != TWizardDirection::wdForward) return;
    if (page == &tabInstall) {
        SetRestartEntry();
        SetCancelAsClose();
    } else if (page == &tabNoUpdates) {
        SetCancelAsClose();
    }
}

void TfrmOnlineUpdate::FormCancelClick(TControl*) {
    SetModalResult(mrCancel);
    if (!IsModal()) Close();
}

// --- the index --------------------------------------------------------------------------------------------

TfrmOnlineUpdate::TUpdateStatus TfrmOnlineUpdate::CheckForUpdates() {
    ClearUpdates();
    FIndexFailure = THttpFailure::Connection;
    try {
        const std::string index = GetProgramFolder() + "Temp\\Update.ini";
        THttpExpectation expect;
        expect.MaxBytes = kMaxIndexBytes;
        FIndexAddress = UpdateIndexAddress();
        FIndexFailure = DownloadChecked(DownloadFormClass<TfrmOnlineUpdateDownload>(), "", FIndexAddress, index, expect);
        if (FIndexFailure != THttpFailure::None) return usNoConnection;
        return ReadUpdateIndex(index) ? usUpdatesFound : usNoUpdates;
    } catch (const EBrantel&) {
        FIndexFailure = THttpFailure::Connection;
        return usNoConnection;
    }
}

void TfrmOnlineUpdate::ClearUpdates() {
    FOffers.clear();
    lstUpdates.Clear();
    lstUpdatesChange(&lstUpdates);
}

bool TfrmOnlineUpdate::ReadUpdateIndex(const std::string& indexFile) {
    const TIniFile index(indexFile);
    FOffers.clear();
    bool newer = false;
    // An item whose section cannot be read offers nothing; the others still do.
    auto examine = [&](const std::shared_ptr<TServiceItem>& item) {
        try {
            if (AddUpdatesForItem(item, index)) newer = true;
        } catch (const EBrantel&) {
        }
    };
    if (FCurrentItem && IsGeneral(*FCurrentItem)) {
        for (const auto& item : FItems) examine(item);
    } else {
        if (FCurrentItem) examine(FCurrentItem);
        // This program's own update always comes along.
        auto general = std::find_if(FItems.begin(), FItems.end(), [this](const auto& item) { return IsGeneral(*item); });
        examine(general != FItems.end() ? *general
                                         : std::shared_ptr<TServiceItem>(std::shared_ptr<TServiceItem>(),
                                                                         &GetGeneralServiceItem()));
    }
    // The list shows the offers sorted by program; an item's upgrade stays after its update.
    auto caption = [this](const TUpdateInfo& offer) { return LowerCase(DisplayName(*offer.ServiceItem)); };
    std::stable_sort(FOffers.begin(), FOffers.end(),
                     [&](const auto& a, const auto& b) { return caption(*a) < caption(*b); });
    lstUpdates.Clear();
    for (const auto& offer : FOffers) AddRow(offer);
    lstUpdatesChange(&lstUpdates);
    return newer;
}

bool TfrmOnlineUpdate::AddUpdatesForItem(const std::shared_ptr<TServiceItem>& item, const TIniFile& index) {
    const bool general = IsGeneral(*item);
    const std::string section = general ? ApplicationTitle() : item->Name().AsString();
    if (index.ReadSection(section).empty()) return false;
    const std::string release = index.ReadString(section, "ReleaseVersion", "");
    std::string installed;
    if (general) {
        TFileVersionInfo info;
        if (info.LoadFromFile(GetExeName())) installed = info.FileVersion;
        if (installed.empty()) installed = kFallbackVersion;
    } else {
        installed = item->Build().AsString();
    }
    if (VersionNumber(installed) >= VersionNumber(release)) return false;

    auto update = std::make_shared<TUpdateInfo>();
    update->ServiceItem = item;
    update->Version = release;
    update->SizeKB = ReadSizeKB(index, section, "UpdateSize");
    update->InfoUrl = index.ReadString(section, "UpdateInfo", "");
    update->DownloadUrl = index.ReadString(section, "UpdateExe", "");
    update->Sha256 = Trim(index.ReadString(section, "UpdateSHA256", ""));
    update->ReleaseDate = ReleaseDateText(index.ReadString(section, "ReleaseDate", ""));
    update->FileName = "setup.exe";
    FOffers.push_back(update);

    const std::string upgradeExe = index.ReadString(section, "UpgradeExe", "");
    if (!upgradeExe.empty()) {
        auto upgrade = std::make_shared<TUpdateInfo>();
        upgrade->ServiceItem = item;
        upgrade->Version = "Upgrade";
        upgrade->SizeKB = ReadSizeKB(index, section, "UpgradeSize");
        upgrade->InfoUrl = index.ReadString(section, "UpgradeInfo", "");
        upgrade->DownloadUrl = upgradeExe;
        upgrade->Sha256 = Trim(index.ReadString(section, "UpgradeSHA256", ""));
        upgrade->FileName = "demo.exe";
        FOffers.push_back(upgrade);
    }
    return true;
}

void TfrmOnlineUpdate::AddRow(const std::shared_ptr<TUpdateInfo>& info) {
    const int row = lstUpdates.AddItem(DisplayName(*info->ServiceItem), -1, info);
    lstUpdates.SetSubItem(row, 0, info->Version);
    lstUpdates.SetSubItem(row, 1, info->ReleaseDate);
    lstUpdates.SetSubItem(row, 2, Format("%d kB", {info->SizeKB}));
}

std::string TfrmOnlineUpdate::MarkedText() const {
    int count = 0;
    int64_t total = 0;
    for (int i = 0; i < lstUpdates.Count(); ++i) {
        if (!lstUpdates.Checked(i)) continue;
        ++count;
        total += lstUpdates.ItemData<TUpdateInfo>(i)->SizeKB;
    }
    if (count == 0) return "Geen updates gemarkeerd";
    if (count == 1) return Format("1 update gemarkeerd. Totale download-grootte: %d kB", {total});
    return Format("%d updates gemarkeerd. Totale download-grootte: %d kB", {count, total});
}

void TfrmOnlineUpdate::lstUpdatesChange(TControl*) {
    pnlInfo.SetCaption(MarkedText());
    const int selected = lstUpdates.Selected();
    btnInfo.SetEnabled(selected >= 0 && !lstUpdates.ItemData<TUpdateInfo>(selected)->InfoUrl.empty());
}

void TfrmOnlineUpdate::btnInfoClick(TControl*) {
    const int selected = lstUpdates.Selected();
    if (selected < 0) return;
    try {
        TUpdateInfoService service(lstUpdates.ItemData<TUpdateInfo>(selected)->InfoUrl);
        service.Provide(FCurrentItem);
    } catch (const EBrantel& e) {
        ShowWarning(e.UserMessage());
    }
}

// --- downloads and installation ---------------------------------------------------------------------

bool TfrmOnlineUpdate::DownloadMarkedUpdates() {
    FSetups->Setups.clear();
    lstSetups.ClearServices();
    bool any = false;
    for (int i = 0; i < lstUpdates.Count(); ++i) {
        if (!lstUpdates.Checked(i)) continue;
        const auto info = lstUpdates.ItemData<TUpdateInfo>(i);
        // The folder the service collector looks in for this item's updates.
        const std::string target =
            GetProgramFolder() + "Updates\\" + SafeFolderName(info->ServiceItem->Name().AsString()) + "\\" + info->FileName;
        THttpFailure failure = THttpFailure::Connection;
        try {
            failure = DownloadChecked(DownloadFormClass<TfrmOnlineUpdateDownload>(), "", info->DownloadUrl, target,
                                      SetupExpectation(*info));
            if (failure == THttpFailure::None) AddSetup(std::make_shared<TLocalUpdateService>(*info->ServiceItem, target));
        } catch (const EBrantel&) {
            failure = THttpFailure::Connection;
        }
        if (failure == THttpFailure::None) {
            any = true;
        } else {
            ShowInformation(DownloadFailureText(failure, *info, target));
        }
    }
    return any;
}

std::string TfrmOnlineUpdate::DownloadFailureText(THttpFailure failure, const TUpdateInfo& info,
                                                  const std::string& target) const {
    const std::string name = DisplayName(*info.ServiceItem);
    switch (failure) {
        case THttpFailure::Size:
        case THttpFailure::Digest:
            return Format(kDamaged, {name});
        case THttpFailure::InUse:
            return Format(kInUse, {name});
        case THttpFailure::Target:
            return Format(kNotSaved, {name, ExtractFilePath(target)});
        case THttpFailure::Certificate:
            return Format(kInsecure, {UrlHost(info.DownloadUrl)});
        default:
            return kNoConnection;
    }
}

void TfrmOnlineUpdate::AddSetup(TServiceRef setup) {
    FSetups->Setups.push_back(std::move(setup));
    lstSetups.SetServiceItem(FCurrentItem);
    lstSetups.Rebuild();
    lstSetupsChange(&lstSetups);
}

void TfrmOnlineUpdate::SetRestartEntry() {
    DeleteRestartEntry();
    // Machine-wide needs administrator rights; without them the entry is the user's own.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        try {
            TRegKey key;
            if (!key.Open(root, RestartEntryKey, true)) continue;
            key.WriteString(ApplicationTitle(), GetExeName());
            FRestartRoot = root;
            return;
        } catch (const ERegistry&) {
        }
    }
}

void TfrmOnlineUpdate::DeleteRestartEntry() {
    if (!FRestartRoot) return;
    TRegKey key;
    if (key.Open(FRestartRoot, RestartEntryKey)) key.DeleteValue(ApplicationTitle());
    FRestartRoot = nullptr;
}

void TfrmOnlineUpdate::lstSetupsChange(TControl*) { btnInstall.SetEnabled(lstSetups.Selected() >= 0); }

void TfrmOnlineUpdate::btnInstallClick(TControl*) { lstSetups.Open(); }
