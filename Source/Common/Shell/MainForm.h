#pragma once
// The main window: the item selector and view buttons at the top, the services of the selected item
// below, a status bar with the selected service's description. It refreshes the list whenever the
// user comes back to the program, and remembers its placement, status bar and view per Windows user
// under HKEY_CURRENT_USER\Software\Brantel\Shared\Service\MainForm.
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/Catalogue/ServiceListControls.h"
#include "lib/AppObj.h"
#include "lib/BranButtons.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Form.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Image.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Menu.h"
#include "platform/gui/Panel.h"
#include "platform/gui/StatusBar.h"
#include "platform/gui/Timer.h"

extern const char* const MainFormPlacementKey;

// A borderless picture window; nothing in the program shows it at the moment.
class TfrmSplash : public TForm {
public:
    TfrmSplash();
    TImage imgSplash{this};
};

class TfrmMain : public TForm, public IServiceItemSelection {
public:
    // args: the command line arguments ("-rKasboek" selects that application).
    explicit TfrmMain(std::vector<std::string> args = {});
    ~TfrmMain() override;
    TServiceItemComboBox& ServiceItemSelector() override { return cboServiceItems; }

    TPanel pnlCombo{this};
    TServiceItemComboBox cboServiceItems{&pnlCombo};
    TBranSpeedButton btnGrotepictogrammen{&pnlCombo};
    TBranSpeedButton btnLijst{&pnlCombo};
    TBranSpeedButton btnDetails{&pnlCombo};
    TStatusBar barStatus{this};
    TServiceItemListView lstServices{this};
    // Pictures follow the text: sized for the screen's pixels per inch (the icons hold each size).
    TImageList imgServicesLarge{ScaleToScreen(32), ScaleToScreen(32)};
    TImageList imgServicesSmall{ScaleToScreen(16), ScaleToScreen(16)};
    TImageList imgViewButtons{ScaleToScreen(16), ScaleToScreen(16)};

    TMainMenu mnuMain{this};
    TMenuItem mnuBestand{&mnuMain, "&Bestand"};
    TMenuItem mnuBestandOpenen{&mnuBestand, "&Openen"};
    TMenuItem mnuBestandVerwijderen{&mnuBestand, "&Verwijderen", {VK_DELETE}};
    TMenuItem mnuBestandSep1{&mnuBestand, "-"};
    TMenuItem mnuBestandPrinterinstellingen{&mnuBestand, "&Printerinstellingen"};
    TMenuItem mnuBestandMailserverinstelling{&mnuBestand, "&Mailserver-instelling"};
    TMenuItem mnuBestandAfdrukken{&mnuBestand, "Afdruk&ken...", {'P', ssCtrl}};
    TMenuItem mnuBestandSep2{&mnuBestand, "-"};
    TMenuItem mnuBestandAfsluitenServiceprogramma{&mnuBestand, "&Afsluiten Bran-Service"};
    TMenuItem mnuBeeld{&mnuMain, "Beel&d"};
    TMenuItem mnuBeeldStatusbalk{&mnuBeeld, "&Statusbalk"};
    TMenuItem mnuBeeldSep1{&mnuBeeld, "-"};
    TMenuItem mnuBeeldGrotepictogrammen{&mnuBeeld, "&Grote pictogrammen"};
    TMenuItem mnuBeeldLijst{&mnuBeeld, "&Lijst"};
    TMenuItem mnuBeeldDetails{&mnuBeeld, "&Details"};
    TMenuItem mnuBeeldSep2{&mnuBeeld, "-"};
    TMenuItem mnuBeeldVernieuwen{&mnuBeeld, "&Vernieuwen", {VK_F5}};
    TMenuItem mnuHelp{&mnuMain, "&Help"};
    TMenuItem mnuHelpHelponderwerpen{&mnuHelp, "&Help-onderwerpen"};
    TMenuItem mnuHelpSep1{&mnuHelp, "-"};
    TMenuItem mnuHelpBrantelopinternet{&mnuHelp, "&Brantel op Internet"};
    TMenuItem mnuHelpBrantelOnlineHomepage{&mnuHelpBrantelopinternet, "Brantel &Online"};
    TMenuItem mnuHelpBrantelOnlineHelpdesk{&mnuHelpBrantelopinternet, "Brantel &Helpdesk"};
    TMenuItem mnuHelpSep2{&mnuHelp, "-"};
    TMenuItem mnuHelpInfo{&mnuHelp, "&Info"};

    TPopupMenu mnuContextSelectie{this};
    TMenuItem mnuContextOpenen{&mnuContextSelectie, "&Openen"};
    TMenuItem mnuContextVerwijderen{&mnuContextSelectie, "&Verwijderen"};
    TMenuItem mnuContextAfdrukken{&mnuContextSelectie, "Afdruk&ken..."};
    TPopupMenu mnuContextGeenselectie{this};
    TMenuItem mnuContextGrotepictogrammen{&mnuContextGeenselectie, "&Grote pictogrammen"};
    TMenuItem mnuContextLijst{&mnuContextGeenselectie, "&Lijst"};
    TMenuItem mnuContextDetails{&mnuContextGeenselectie, "&Details"};

    TPrinterSetupDialog dlgPrinterSetup;
    TPrintDialog dlgPrintSetup;
    TTimer timSplash{1000, false};

    // The help file: the program's own path with ".HLP".
    std::string HelpFilePath() const;

    void FormCreate(TControl* sender);
    void FormShow(TControl* sender);
    void FormHide(TControl* sender);
    void FormDestroy(TControl* sender);
    void mnuBeeldVernieuwenClick(TControl* sender);
    void lstServicesChange(TControl* sender);
    void mnuBestandClick(TControl* sender);
    void mnuContextSelectiePopup(TControl* sender);
    void mnuBestandOpenenClick(TControl* sender);
    void mnuBestandVerwijderenClick(TControl* sender);
    void mnuBestandAfdrukkenClick(TControl* sender);
    void mnuBestandPrinterinstellingenClick(TControl* sender);
    void mnuBestandMailserverinstellingClick(TControl* sender);
    void mnuBestandAfsluitenServiceprogrammaClick(TControl* sender);
    void mnuBeeldStatusbalkClick(TControl* sender);
    void mnuBeeldGrotepictogrammenClick(TControl* sender);
    void mnuBeeldLijstClick(TControl* sender);
    void mnuBeeldDetailsClick(TControl* sender);
    void mnuHelpClick(TControl* sender);
    void mnuHelpHelponderwerpenClick(TControl* sender);
    void mnuHelpBrantelOnlineHomepageClick(TControl* sender);
    void mnuHelpBrantelOnlineHelpdeskClick(TControl* sender);
    void mnuHelpInfoClick(TControl* sender);
    void timSplashTimer();

private:
    // Fills the selector afresh and selects the first item named so, else the general item.
    void FillServiceItems(const std::string& selectName = {});
    void ApplyCommandLine();
    void SetViewStyle(TViewStyle style);
    void SetStatusBarVisible(bool visible);
    void RestorePlacement();
    void SavePlacement();
    void LoadImages();

    std::vector<std::string> FArgs;
    std::unique_ptr<TAppModel> FModel;
    std::unique_ptr<TfrmSplash> FSplash;
};
