#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "ModalWatcher.h"
#include "ModelFixture.h"
#include "RealMessageBoxes.h"
#include "SampleApplication.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "Source/Common/Shell/MainForm.h"
#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace {
class MainForm : public testing::Test {
protected:
    MainForm() {
        SetProgramFolder(Folder.Path());
        // One registered application for the selector.
        RegisterApplication({.Values = {{"", "Kasboek"}, {"ReleaseVersion", "2.1"}}});
    }
    ~MainForm() override { SetProgramFolder(""); }

    TFormPtr<TfrmMain> Show(std::vector<std::string> args = {}) {
        auto form = CreateForm<TfrmMain>(std::move(args));
        form->Show();
        Application().ProcessMessages();
        return form;
    }
    static void WritePlacement(int listView, bool statusBar, double left = 0.1) {
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, MainFormPlacementKey, true));
        key.WriteBool("Maximized", false);
        key.WriteFloat("Left", left);
        key.WriteFloat("Top", 0.2);
        key.WriteFloat("Width", 0.5);
        key.WriteFloat("Height", 0.4);
        key.WriteBool("StatusBar", statusBar);
        key.WriteInteger("ListView", listView);
    }

    // A stored report of Kasboek, as the problem solver leaves it.
    std::string WriteReport(const std::string& name) {
        return ExcludeTrailingBackslash(
            ExtractFilePath(Folder.WriteFile("Reports\\Kasboek\\" + name + "\\CASE.RTF", "{\\rtf1 Probleem}\r\n")));
    }
    // The entry whose caption begins with the text, or -1.
    static int EntryStartingWith(const TServiceItemListView& list, const std::string& caption) {
        for (int i = 0; i < list.Count(); ++i)
            if (list.ItemCaption(i).rfind(caption, 0) == 0) return i;
        return -1;
    }

    TAppModel& Model = BranModel();
    TRegistrySandbox Registry;
    TScratchFolder Folder;
};

RECT WindowRect(const TForm& form) {
    RECT r;
    GetWindowRect(form.Handle(), &r);
    return r;
}
}  // namespace

TEST_F(MainForm, FirstRunOpensCentredWithLargeIconsAndSavesItsPlacement) {
    auto form = Show();
    RECT r = WindowRect(*form);
    EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
    EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
    EXPECT_EQ(form->lstServices.ViewStyle(), TViewStyle::vsIcon);
    EXPECT_TRUE(form->btnGrotepictogrammen.Down());
    EXPECT_TRUE(form->barStatus.Visible());
    EXPECT_EQ(form->cboServiceItems.Text(), "(Algemeen)");
    EXPECT_EQ(form->cboServiceItems.Count(), 2);
    EXPECT_GT(form->lstServices.Count(), 0);

    form->mnuBeeldDetailsClick(nullptr);
    EXPECT_TRUE(form->mnuBeeldDetails.Checked());
    EXPECT_TRUE(form->mnuContextDetails.Checked());
    EXPECT_TRUE(form->btnDetails.Down());
    EXPECT_FALSE(form->btnGrotepictogrammen.Down());
    form->mnuBeeldStatusbalkClick(nullptr);
    form->Hide();

    TRegKey key = TRegKey::OpenReadOnly(HKEY_CURRENT_USER, MainFormPlacementKey);
    ASSERT_TRUE(key.IsOpen());
    EXPECT_FALSE(key.ReadBool("Maximized"));
    EXPECT_NEAR(key.ReadFloat("Left"), static_cast<double>(r.left) / GetSystemMetrics(SM_CXSCREEN), 1e-9);
    EXPECT_FALSE(key.ReadBool("StatusBar"));
    EXPECT_EQ(key.ReadInteger("ListView"), 3);
}

TEST_F(MainForm, StoredPlacementIsAppliedAndAnUnknownViewLeavesLargeIcons) {
    WritePlacement(1, false);
    auto form = Show();
    RECT r = WindowRect(*form);
    EXPECT_EQ(r.left, static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.1));
    EXPECT_EQ(r.right - r.left, static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.5));
    EXPECT_FALSE(form->barStatus.Visible());
    EXPECT_FALSE(form->mnuBeeldStatusbalk.Checked());
    EXPECT_EQ(form->lstServices.ViewStyle(), TViewStyle::vsIcon);

    WritePlacement(2, true);
    EXPECT_EQ(Show()->lstServices.ViewStyle(), TViewStyle::vsList);
}

TEST_F(MainForm, MaximisedOnCloseKeepsTheStoredFractions) {
    WritePlacement(0, true, 0.125);
    auto form = Show();
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    Application().ProcessMessages();
    form->Hide();
    TRegKey key = TRegKey::OpenReadOnly(HKEY_CURRENT_USER, MainFormPlacementKey);
    EXPECT_TRUE(key.ReadBool("Maximized"));
    EXPECT_DOUBLE_EQ(key.ReadFloat("Left"), 0.125);
    EXPECT_DOUBLE_EQ(key.ReadFloat("Width"), 0.5);
}

TEST_F(MainForm, CommandLineSelectsAnApplicationOnlyDirectlyAfterMinusR) {
    EXPECT_EQ(Show({"-rKasboek"})->cboServiceItems.Text(), "Kasboek (2.1)");
    EXPECT_EQ(Show({"-rKasboek", "extra"})->cboServiceItems.Text(), "Kasboek (2.1)");
    EXPECT_EQ(Show({"-r", "Kasboek"})->cboServiceItems.Text(), "(Algemeen)");
    EXPECT_EQ(Show({"/rKasboek"})->cboServiceItems.Text(), "(Algemeen)");
}

TEST_F(MainForm, RefreshKeepsTheSelectedItemByName) {
    auto form = Show({"-rKasboek"});
    auto before = form->cboServiceItems.CurrentServiceItem();
    form->mnuBeeldVernieuwenClick(nullptr);
    auto after = form->cboServiceItems.CurrentServiceItem();
    EXPECT_NE(before, after);  // a fresh item from a fresh discovery
    EXPECT_EQ(after->Name().AsString(), "Kasboek");

    // The application is gone meanwhile: the general item is shown.
    TRegKey::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek");
    form->mnuBeeldVernieuwenClick(nullptr);
    EXPECT_EQ(form->cboServiceItems.Text(), "(Algemeen)");
}

TEST_F(MainForm, SelectionDrivesStatusTextMenusAndHelpContext) {
    auto form = Show();
    form->lstServices.SetSelected(0);
    Application().ProcessMessages();
    TServiceRef service = form->lstServices.CurrentService();
    ASSERT_TRUE(service);
    EXPECT_EQ(form->lstServices.PopupMenu, &form->mnuContextSelectie);
    EXPECT_EQ(form->lstServices.HelpContext, service->GetHelpContext());
    form->mnuBestandClick(nullptr);
    EXPECT_TRUE(form->mnuBestandOpenen.Enabled());
    EXPECT_FALSE(form->mnuBestandVerwijderen.Enabled());
    form->lstServices.SetSelected(-1);
    Application().ProcessMessages();
    EXPECT_EQ(form->lstServices.PopupMenu, &form->mnuContextGeenselectie);
    EXPECT_EQ(form->lstServices.HelpContext, 3008);
    form->mnuBestandClick(nullptr);
    EXPECT_FALSE(form->mnuBestandOpenen.Enabled());
}

TEST_F(MainForm, InternetSubmenuNeedsABrowser) {
    auto form = Show();
    form->mnuHelpClick(nullptr);
    EXPECT_FALSE(form->mnuHelpBrantelopinternet.Enabled());
    std::string browser = Folder.WriteFile("Surfer\\surfer.exe", "MZ");
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CLASSES_ROOT, ".html\\shell\\open\\command", true));
    key.WriteString("", "\"" + browser + "\" \"%1\"");
    form->mnuHelpClick(nullptr);
    EXPECT_TRUE(form->mnuHelpBrantelopinternet.Enabled());
}

TEST_F(MainForm, AStoredReportAndItsServiceOutliveTheRefreshThatDropsTheirApplication) {
    WriteReport("Report01");
    auto form = Show({"-rKasboek"});
    const int entry = EntryStartingWith(form->lstServices, "Helpdeskrapport ");
    ASSERT_GE(entry, 0);
    TServiceRef service = form->lstServices.ItemData<IService>(entry);
    auto& reportService = dynamic_cast<THelpdeskReportService&>(*service);
    std::weak_ptr<TServiceItem> application = reportService.Report().ServiceItem;

    form->mnuBeeldVernieuwenClick(nullptr);  // as coming back from another program does
    ASSERT_FALSE(application.expired());
    EXPECT_NE(form->lstServices.ServiceItem(), application.lock());  // the list shows a fresh item
    EXPECT_EQ(&reportService.Application(), application.lock().get());

    // Both are still of use: the report writes its application into CASE.INI, the service deletes it.
    TUser user;
    reportService.Report().WriteCaseIni(user);
    EXPECT_EQ(TIniFile(reportService.Report().CaseIniPath()).ReadString("Case", "Produktversie", ""), "Kasboek (2.1)");
    EXPECT_TRUE(service->Delete(form->lstServices.ServiceItem()));
    EXPECT_FALSE(DirectoryExists(reportService.Report().Folder()));
    service.reset();
    EXPECT_TRUE(application.expired());  // and the item goes with the last of them
}

// --- real modal boxes and dialogs ------------------------------------------------------------------

TEST_F(MainForm, DeletingAReportThroughTheRealConfirmBoxRemovesItsEntry) {
    const std::string folder = WriteReport("Report01");
    auto form = Show({"-rKasboek"});
    const int count = form->lstServices.Count();
    const int entry = EntryStartingWith(form->lstServices, "Helpdeskrapport ");
    ASSERT_GE(entry, 0);
    form->lstServices.SetSelected(entry);
    {
        TRealMessageBoxes user;  // answers Yes, the first button
        form->mnuBestandVerwijderenClick(nullptr);
        EXPECT_EQ(user.Texts().size(), 1u);
    }
    EXPECT_FALSE(DirectoryExists(folder));
    EXPECT_EQ(form->lstServices.Count(), count - 1);
    EXPECT_EQ(EntryStartingWith(form->lstServices, "Helpdeskrapport "), -1);
    EXPECT_EQ(form->barStatus.SimpleText(), "Selecteer een pictogram om de beschrijving te zien.");
}

TEST_F(MainForm, ThePrintDialogDoesNotRefreshTheListUnderTheServiceToPrint) {
    WriteReport("Report01");
    auto form = Show({"-rKasboek"});
    const int entry = EntryStartingWith(form->lstServices, "Helpdeskrapport ");
    ASSERT_GE(entry, 0);
    form->lstServices.SetSelected(entry);
    TServiceRef before = form->lstServices.CurrentService();
    {
        // Whatever the dialog says on this machine (it may have no printer), the user closes it.
        TModalWatcher user(L"#32770", TModalWatcher::Press(IDCANCEL));
        form->mnuBestandAfdrukkenClick(nullptr);
        EXPECT_FALSE(user.Seen().empty());
    }
    EXPECT_EQ(form->lstServices.Selected(), entry);
    EXPECT_EQ(form->lstServices.CurrentService(), before);  // the same entry, not a rebuilt one
}

TEST_F(MainForm, ComingBackFromAnotherWindowStillRefreshes) {
    auto form = Show();
    const int count = form->lstServices.Count();
    Folder.WriteFile("Updates\\(Algemeen)\\setup.exe", "MZ");
    // A window of the program's own that the user worked in, as the problem solver.
    TForm other;
    other.Show();
    Application().ProcessMessages();
    other.Hide();
    SetForegroundWindow(form->Handle());
    Application().ProcessMessages();
    EXPECT_EQ(form->lstServices.Count(), count + 1);
}

TEST_F(MainForm, ThePopupMenuOpensFromTheKeyboardForTheSelectedService) {
    auto form = Show();
    form->lstServices.SetSelected(0);
    Application().ProcessMessages();
    HMENU shown = nullptr;
    {
        TModalWatcher user(L"#32768", [&shown](HWND menu) {
            shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
            PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        });
        // What Shift+F10 and the menu key send.
        SendMessageW(form->lstServices.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->lstServices.Handle()), -1);
        EXPECT_EQ(user.Seen().size(), 1u);
    }
    EXPECT_EQ(shown, form->mnuContextSelectie.MenuHandle());
}

// --- refresh -------------------------------------------------------------------------------------------

TEST_F(MainForm, RefreshBuildsTheGeneralItemsListAfreshAndClearsTheSelectedService) {
    auto form = Show();
    const int count = form->lstServices.Count();
    form->lstServices.SetSelected(0);
    Application().ProcessMessages();
    EXPECT_EQ(form->barStatus.SimpleText(), form->lstServices.CurrentService()->GetDescription());

    Folder.WriteFile("Updates\\(Algemeen)\\setup.exe", "MZ");
    form->mnuBeeldVernieuwenClick(nullptr);
    EXPECT_EQ(form->lstServices.Count(), count + 1);
    EXPECT_EQ(form->lstServices.ItemCaption(count), "Bran-Service update");
    EXPECT_EQ(form->barStatus.SimpleText(), "Selecteer een pictogram om de beschrijving te zien.");
    EXPECT_EQ(form->lstServices.PopupMenu, &form->mnuContextGeenselectie);
    EXPECT_EQ(form->lstServices.HelpContext, 3008);
}

// Coming back to the program tells the program, then its window; one refresh serves both. Every
// return refreshes, also when nothing of the queue was handled in between.
TEST_F(MainForm, ComingBackRefreshesOnceForTheProgramAndItsWindow) {
    auto form = Show();
    const int count = form->lstServices.Count();
    const std::string update = Folder.WriteFile("Updates\\(Algemeen)\\setup.exe", "MZ");
    auto comeBack = [&] {
        SendMessageW(form->Handle(), WM_ACTIVATEAPP, FALSE, 0);
        SendMessageW(form->Handle(), WM_ACTIVATEAPP, TRUE, 0);
    };
    comeBack();
    EXPECT_EQ(form->lstServices.Count(), count + 1);
    FileDelete(update);
    SendMessageW(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);  // the same return: no second refresh
    EXPECT_EQ(form->lstServices.Count(), count + 1);
    comeBack();
    EXPECT_EQ(form->lstServices.Count(), count);
    Folder.WriteFile("Updates\\(Algemeen)\\setup.exe", "MZ");
    PostMessageW(form->Handle(), WM_NULL, 0, 0);
    Application().ProcessMessages();
    SendMessageW(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);  // after a closed dialog: a change of its own
    EXPECT_EQ(form->lstServices.Count(), count + 1);
}

TEST_F(MainForm, TheSelectorIsAPickListThatTypingCannotEmpty) {
    auto form = Show();
    EXPECT_EQ(GetWindowLongW(form->cboServiceItems.Handle(), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    form->cboServiceItems.SetFocus();
    PressKey('K');  // picks the entry that begins with it
    ASSERT_TRUE(form->cboServiceItems.CurrentServiceItem());
    EXPECT_EQ(form->cboServiceItems.Text(), "Kasboek (2.1)");
    EXPECT_EQ(form->lstServices.ServiceItem(), form->cboServiceItems.CurrentServiceItem());
    PressKey('X');  // no entry begins with it: the pick stays
    EXPECT_EQ(form->cboServiceItems.Text(), "Kasboek (2.1)");
}

// --- placement -----------------------------------------------------------------------------------------

TEST_F(MainForm, ClosedWhileMinimisedItSavesTheNormalPlacement) {
    WritePlacement(0, true);
    auto form = Show();
    const RECT normal = WindowRect(*form);
    ShowWindow(form->Handle(), SW_MINIMIZE);
    Application().ProcessMessages();
    form->Hide();
    TRegKey key = TRegKey::OpenReadOnly(HKEY_CURRENT_USER, MainFormPlacementKey);
    EXPECT_FALSE(key.ReadBool("Maximized"));
    EXPECT_NEAR(key.ReadFloat("Left"), static_cast<double>(normal.left) / GetSystemMetrics(SM_CXSCREEN), 1e-9);
    EXPECT_NEAR(key.ReadFloat("Top"), static_cast<double>(normal.top) / GetSystemMetrics(SM_CYSCREEN), 1e-9);
    EXPECT_NEAR(key.ReadFloat("Width"), static_cast<double>(normal.right - normal.left) / GetSystemMetrics(SM_CXSCREEN), 1e-9);
}

TEST_F(MainForm, AStoredPlacementKeepsItsSizeRunAfterRun) {
    // Also run at 120 pixels per inch by tests/checks/main_window_dpi.sh.
    RecordProperty("ppi", ScreenPixelsPerInch());
    WritePlacement(0, true);
    for (int run = 0; run < 3; ++run) {
        auto form = Show();
        RECT r = WindowRect(*form);
        // Scaling would add a quarter at 120 ppi; a saved fraction read back a hair short, a pixel a run.
        EXPECT_EQ(r.right - r.left, static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.5)) << "run " << run;
        EXPECT_EQ(r.bottom - r.top, static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * 0.4)) << "run " << run;
        form->Hide();  // saves the placement the next run starts from
    }
    // Without a stored placement the design size is scaled, once.
    TRegKey::DeleteKey(HKEY_CURRENT_USER, MainFormPlacementKey);
    EXPECT_EQ(Show()->ClientWidth(), MulDiv(528, ScreenPixelsPerInch(), 96));
}

TEST_F(MainForm, AStoredMaximisedWindowIsShownMaximisedWithoutShowingBefore) {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, MainFormPlacementKey, true));
    key.WriteBool("Maximized", true);
    key.WriteBool("StatusBar", true);
    key.WriteInteger("ListView", 0);
    auto form = CreateForm<TfrmMain>(std::vector<std::string>{});
    // Maximising a window shows it: a window maximised before its first show has flashed.
    EXPECT_FALSE(IsZoomed(form->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    form->Show();
    Application().ProcessMessages();
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

// --- help ----------------------------------------------------------------------------------------------

TEST_F(MainForm, HelpTopicsStartTheHelpViewerOfTheWindowsFolderWhenSystemRootIsAbsent) {
    auto form = Show();
    std::vector<TShellStart> started;
    SetShellHook([&](const TShellStart& s) {
        started.push_back(s);
        return 42;
    });
    form->mnuHelpHelponderwerpenClick(nullptr);  // the NT family: no "SystemRoot" value there
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", true));
    key.WriteString("SystemRoot", "D:\\WIN98");
    form->mnuHelpHelponderwerpenClick(nullptr);
    SetShellHook(nullptr);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].File, IncludeTrailingBackslash(GetWindowsFolder()) + "WinHelp.Exe");
    EXPECT_EQ(started[1].File, "D:\\WIN98\\WinHelp.Exe");
    EXPECT_EQ(started[0].Parameters, form->HelpFilePath());
}
