#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "GuiTestSupport.h"
#include "ModalWatcher.h"
#include "ModelFixture.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Shell/AboutForm.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "TestSupport.h"
#include "lib/BranVersionLabel.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
// The program itself carries a version resource; the test executables do not.
std::string ProgramFile() { return ExtractFilePath(GetExeName()) + "..\\BranService.exe"; }

struct TfrmLabel : TForm {
    TBranVersionLabel dvl{this};
};
}  // namespace

TEST(BranVersionLabel, EntriesOfTheProgramsVersionResource) {
    TfrmLabel form;
    auto& dvl = form.dvl;
    EXPECT_EQ(dvl.Caption(), "Versie: ");  // this test program has no version resource
    dvl.FileName = ProgramFile();
    dvl.UpdateText();
    EXPECT_EQ(dvl.Caption(), "Versie: 3.0.0.1");
    EXPECT_EQ(dvl.LangCharset(), "041304E4");  // taken from the translation table once
    struct {
        TBranVersionResources resource;
        const char* text;
    } cases[] = {
        {VR_PRODUCT_NAME, "Productnaam: Bran-Service"},
        {VR_ORIGINAL_FILENAME, "Originele Betandsnaam: BranService.exe"},
        {VR_COMPANY_NAME, "Bedrijfsnaam: Brantel Software B.V."},
        {VR_FLAGS, "Vlaggen: "},  // no flag set
        {VR_COMMENTS, "Opmerkingen: < Error retrieving version info >"},
    };
    for (const auto& c : cases) {
        dvl.SetVersionResource(c.resource);
        EXPECT_EQ(dvl.Caption(), c.text);
    }
    dvl.SetVersionResource(VR_FILE_VERSION);
    dvl.SetShowInfoPrefix(false);
    EXPECT_EQ(dvl.Caption(), "3.0.0.1");
    dvl.SetLangCharset("040904E4");  // a block the file does not have
    EXPECT_EQ(dvl.Caption(), "< Error retrieving version info >");
}

TEST(About, ShowsTheUserAndClosesOnAClickOrEsc) {
    BranModel();
    TRegistrySandbox registry;
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true));
    key.WriteString("LastName", "Jansen");
    RegisterServiceForms();
    int shown = 0;
    TModalScript hook([&](TForm& form) {
        auto& about = dynamic_cast<TfrmAbout&>(form);
        ++shown;
        EXPECT_EQ(about.Caption(), "Info");
        EXPECT_EQ(about.lblUsernameData.Caption(), "Jansen");
        EXPECT_EQ(about.lblResourcesData.Caption(), "");  // the NT family has no free-resources value
        if (shown == 1) {
            about.lblVersion.Click();
            EXPECT_EQ(about.ModalResult(), mrOk);
        } else {
            wchar_t esc = VK_ESCAPE;
            about.FormKeyPress(&about, esc);
            EXPECT_EQ(about.ModalResult(), mrCancel);
        }
    });
    ASSERT_TRUE(ShowServiceForm("TfrmAbout"));
    ShowAbout();
    EXPECT_EQ(shown, 2);
}

// The user's own click and Esc, through the program's message loop: a test that calls the handlers
// directly passed while the real box could not be closed at all.
TEST(About, ClosesOnTheUsersClickOrEscInTheRealModalLoop) {
    BranModel();
    TRegistrySandbox registry;
    struct TCase {
        const char* Name;
        std::function<void(TfrmAbout&, HWND)> Input;
        int Result;
    };
    auto click = [](HWND target) {
        PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    const TCase cases[] = {
        {"a label", [&](TfrmAbout& about, HWND) { click(about.lblVersion.Handle()); }, mrOk},
        {"the picture", [&](TfrmAbout& about, HWND) { click(about.imgService.Handle()); }, mrOk},
        {"Esc", [](TfrmAbout&, HWND box) { PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }, mrCancel},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto about = CreateForm<TfrmAbout>();
        std::atomic<bool> stuck{false};
        TModalWatcher user(L"BranControl", [&](HWND box) {
            c.Input(*about, box);
            for (int i = 0; i < 60 && IsWindowVisible(box); ++i) Sleep(50);
            if (IsWindowVisible(box)) {
                stuck = true;
                PostMessageW(box, WM_CLOSE, 0, 0);
            }
        });
        const int result = about->ShowModal();
        EXPECT_FALSE(stuck);
        EXPECT_EQ(result, c.Result);
    }
}
