#pragma once
// Online update: a four-page wizard that fetches the maker's update index over HTTP, lists the newer
// versions of the installed applications and of this program, downloads the marked setups into
// Updates\<item>\ and offers them for installation.
//
// The update index ("Update.ini") has one section per product, named after the item's display name
// ("Bran-Service" for this program), with ReleaseVersion, ReleaseDate (YYYYMMDD, YYYYDDMM accepted),
// UpdateSize (kB), UpdateInfo, UpdateExe and optionally UpgradeExe, UpgradeSize, UpgradeInfo, and
// UpdateSHA256/UpgradeSHA256: the setup's digest (64 hexadecimal digits), which a download must
// match before it is kept. The index and the setups may come over https; the platform checks the
// server's certificate.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/Catalogue/ServiceListControls.h"
#include "lib/BranButtons.h"
#include "lib/BranObject.h"
#include "lib/BranWizardForm.h"
#include "platform/HttpClient.h"
#include "platform/IniFile.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListView.h"
#include "platform/gui/Panel.h"

// One offer of the index, the data of a row of the offers list.
class TUpdateInfo : public TBranObject {
public:
    std::shared_ptr<TServiceItem> ServiceItem;
    std::string Version;      // "Upgrade" for an upgrade
    std::string ReleaseDate;  // short date; empty for an upgrade or an unusable date
    int32_t SizeKB = 0;  // 0: not known
    std::string InfoUrl;
    std::string DownloadUrl;
    std::string FileName;  // "setup.exe" or "demo.exe"
    std::string Sha256;    // the digest the setup must have; empty: not checked
};

// Dotted decimal text as one number, two decimal digits per part, at least four parts:
// "1.0.1.14" is 1000114, "1.2" is 1020000, trailing non-digits of the last part are ignored ("5b").
// A part that is not a number or a result past 32 bits raises EBrantel.
int32_t VersionNumber(const std::string& version);
// The index's release date (YYYYMMDD, or YYYYDDMM when the month field is 13 or more) in the
// user's short date format; empty for an impossible date. A field that is not a number raises.
std::string ReleaseDateText(const std::string& date);
// The address of the update index: the registry's "UpdateIni" of the current language, or the
// maker's default.
std::string UpdateIndexAddress();
// What the download of an offer's setup must be: of the size its index announces (kB, rounded
// either way); without one, of a length the server announces.
THttpExpectation SetupExpectation(const TUpdateInfo& info);

// The restart entry: Windows starts this program once more at the next log-on, so that the user
// returns here after an installer restarted the PC. Machine-wide where allowed, else for this user.
extern const char* const RestartEntryKey;

class TSetupServices;

class TfrmOnlineUpdate : public TBranWizardForm {
public:
    TfrmOnlineUpdate();
    ~TfrmOnlineUpdate() override;

    TPageControl pgcWizard{this};
    TTabSheet tabConnection{&pgcWizard, "Verbinding maken"};
    TLabel lblConnection1{&tabConnection};
    TLabel lblConnection2{&tabConnection};
    TLabel lblURL{&tabConnection};
    TTabSheet tabNoUpdates{&pgcWizard, "Geen nieuwe updates"};
    TLabel lblNoUpdates1{&tabNoUpdates};
    TLabel lblNoUpdates2{&tabNoUpdates};
    TLabel lblUrl2{&tabNoUpdates};
    TTabSheet tabUpdates{&pgcWizard, "Nieuwe updates"};
    TLabel lblUpdates1{&tabUpdates, "Markeer de updates die u wilt downloaden."};
    TListView lstUpdates{&tabUpdates};
    TPanel pnlInfo{&tabUpdates};
    TBranButton btnInfo{&tabUpdates, "&Info"};
    TLabel lblUpdates2{&tabUpdates, "Klik op 'Volgende' om de gemarkeerde updates te downloaden."};
    TTabSheet tabInstall{&pgcWizard, "Updates installeren"};
    TLabel lblInstall1{&tabInstall, "Dubbelklik op het pictogram om de Installatie Wizard te starten."};
    TServiceItemListView lstSetups{&tabInstall};
    TBranButton btnInstall{&tabInstall, "&Installeren"};
    TLabel lblInstall2{&tabInstall, "Klik op 'Voltooien' om Online Update te beëindigen."};
    // The service icons at the screen's density, as in the main window.
    TImageList imgSetupsLarge{ScaleToScreen(32), ScaleToScreen(32)};
    TImageList imgSetupsSmall{ScaleToScreen(16), ScaleToScreen(16)};

    // The items to look at: the one selected in the main window and all items of its selector.
    // Taken from the main window when the window is created; the general item when there is none.
    void SetServiceItems(std::shared_ptr<TServiceItem> current, std::vector<std::shared_ptr<TServiceItem>> items);

    enum TUpdateStatus { usUnknown = 0, usNoConnection, usNoUpdates, usUpdatesFound };
    TUpdateStatus CheckForUpdates();
    // Fills the offers from an index file; true when any item has a newer version.
    bool ReadUpdateIndex(const std::string& indexFile);
    bool AddUpdatesForItem(const std::shared_ptr<TServiceItem>& item, const TIniFile& index);
    bool DownloadMarkedUpdates();
    // Lists a downloaded setup on the install page.
    void AddSetup(TServiceRef setup);
    void SetRestartEntry();
    void DeleteRestartEntry();
    // The marked-count text of pnlInfo.
    std::string MarkedText() const;

    void FormShow(TControl* sender);
    void FormExitPage(TControl* sender, TTabSheet* page, bool& allowChange, TWizardDirection direction);
    void FormEnterPage(TControl* sender, TTabSheet* page, TWizardDirection direction);
    void FormCancelClick(TControl* sender);
    void lstUpdatesChange(TControl* sender);
    void btnInfoClick(TControl* sender);
    void lstSetupsChange(TControl* sender);
    void btnInstallClick(TControl* sender);
    void lblURLClick(TControl* sender);

private:
    void ClearUpdates();
    void AddRow(const std::shared_ptr<TUpdateInfo>& info);
    void MakeLinkLabel(TLabel& label, bool live);
    bool IsGeneral(const TServiceItem& item) const;
    // The item as the offers list names it: the program's own title for the general item.
    std::string DisplayName(const TServiceItem& item) const;
    // What the user is told when an offer's setup did not arrive.
    std::string DownloadFailureText(THttpFailure failure, const TUpdateInfo& info, const std::string& target) const;

    std::shared_ptr<TServiceItem> FCurrentItem;
    std::vector<std::shared_ptr<TServiceItem>> FItems;
    std::vector<std::shared_ptr<TUpdateInfo>> FOffers;  // collected while reading, listed sorted
    std::shared_ptr<TSetupServices> FSetups;
    // Why the last check did not bring the index, and from where it was asked.
    THttpFailure FIndexFailure = THttpFailure::None;
    std::string FIndexAddress;
    HKEY FRestartRoot = nullptr;  // where the restart entry was written
};
