#include "Source/Common/Catalogue/UnknownApp.h"

#include <gtest/gtest.h>

#include "DiscoveryFixture.h"
#include "TestSupport.h"
#include "platform/Shell.h"
#include "platform/gui/Application.h"
#include "platform/gui/Form.h"

namespace {
// The user's part, played by a script while the dialog is shown.
class TScriptedDialog {
public:
    explicit TScriptedDialog(std::function<void(TfrmUnknownApp&)> script) {
        SetModalHook([script](TForm& shown) { script(dynamic_cast<TfrmUnknownApp&>(shown)); });
    }
    ~TScriptedDialog() { SetModalHook({}); }
    TScriptedDialog(const TScriptedDialog&) = delete;
    TScriptedDialog& operator=(const TScriptedDialog&) = delete;
};
}  // namespace

TEST(UnknownApp, OkOnlyWithANameAndItNamesANewApplication) {
    BranModel();
    bool shown = false;
    TScriptedDialog dialog([&](TfrmUnknownApp& form) {
        shown = true;
        EXPECT_EQ(form.Caption(), "Probleemoplosser");
        EXPECT_EQ(form.lblIntro.Caption(), "Vul de naam in van het programma waar het probleem optreedt.");
        EXPECT_EQ(form.lblAppName.Caption(), "&Programma");
        EXPECT_EQ(form.lblTip.Caption(), "Tip: Kijk op de verpakking voor de precieze naam van het programma.");
        EXPECT_EQ(form.HelpContext, 6);
        EXPECT_FALSE(form.btnOK.Enabled());
        form.txtAppName.SetText("F");
        EXPECT_TRUE(form.btnOK.Enabled());
        form.txtAppName.SetText("");
        EXPECT_FALSE(form.btnOK.Enabled());
        form.txtAppName.SetText("Brantel Fotoalbum");
        EXPECT_TRUE(form.btnOK.Enabled());
        form.btnOK.Click();
    });
    std::shared_ptr<TAddedApplication> app = AskApplicationName();
    EXPECT_TRUE(shown);
    ASSERT_TRUE(app);
    EXPECT_EQ(app->DisplayText(), "Brantel Fotoalbum (\?\?\?)");
    EXPECT_EQ(CategoryIds(*app), CategoryIds(GetGeneralServiceItem()));
}

TEST(UnknownApp, CancelCreatesNothing) {
    BranModel();
    TScriptedDialog dialog([](TfrmUnknownApp& form) {
        form.txtAppName.SetText("Iets");
        form.btnCancel.Click();
    });
    EXPECT_FALSE(AskApplicationName());
}

TEST(UnknownApp, HelpOpensTheDialogsHelpTopic) {
    std::vector<TShellStart> starts;
    SetShellHook([&](const TShellStart& start) -> intptr_t {
        starts.push_back(start);
        return 33;
    });
    const std::string helpFile = Application().HelpFile;
    Application().HelpFile = "C:\\BRANTEL\\SERVICE.HLP";
    TfrmUnknownApp form;
    form.btnHelp.Click();
    Application().HelpFile = helpFile;
    SetShellHook({});
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].File, "WinHelp.Exe");
    EXPECT_EQ(starts[0].Parameters, "-n 6 C:\\BRANTEL\\SERVICE.HLP");
}
