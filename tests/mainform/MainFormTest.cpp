#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "ModelFixture.h"
#include "Source/Common/HelpdeskReport.h"
#include "Source/Common/MainForm.h"
#include "Source/Common/ServiceItems.h"
#include "Source/Common/Services.h"
#include "Source/Common/User.h"
#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"

namespace {
class MainForm : public testing::Test {
protected:
    MainForm() {
        SetProgramFolder(Folder.Path());
        // One registered application for the selector.
        TRegKey key;
        key.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek", true);
        key.WriteString("CurrentVersion", "2");
        key.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek\\2", true);
        key.WriteString("CurrentLanguage", "NL");
        key.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek\\2\\NL", true);
        key.WriteString("", "Kasboek");
        key.WriteString("ReleaseVersion", "2.1");
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
