#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "ModalWatcher.h"
#include "ModelFixture.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/MailServerSetting.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Internet/MailserverForm.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "TestSupport.h"
#include "platform/Registry.h"

namespace {
std::string TagSocketHost(const std::string& server) { return server.substr(0, server.find(':')); }

class MailserverForm : public testing::Test {
protected:
    MailserverForm() { RegisterServiceForms(); }

    // Opens the dialog as the main window's menu does and lets the script act on it.
    void Open(const std::function<void(TfrmMailserver&)>& script) {
        TModalScript hook([&](TForm& form) {
            auto* dialog = dynamic_cast<TfrmMailserver*>(&form);
            ASSERT_NE(dialog, nullptr);
            script(*dialog);
        });
        ASSERT_TRUE(ShowServiceForm("TfrmMailserver"));
    }
    static void StoreMailserver(const std::string& host) {
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true));
        key.WriteString("Mailserver", host);
    }
    static std::string StoredMailserver() { return Stored("Mailserver"); }
    static std::string Stored(const std::string& name) {
        return TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, UserRegistrationKey).ReadString(name);
    }
    static bool StoredAtAll(HKEY root, const std::string& name) {
        return TRegKey::OpenReadOnly(root, UserRegistrationKey).ValueExists(name);
    }

    TAppModel& Model = BranModel();
    TRegistrySandbox Registry;
};
}  // namespace

TEST_F(MailserverForm, RestoreThenCancelKeepsTheStoredValue) {
    StoreMailserver("smtp.provider.nl");
    Open([](TfrmMailserver& f) {
        EXPECT_EQ(f.txtMailserver.Text(), "smtp.provider.nl");
        EXPECT_EQ(f.Caption(), "Mailserver instelling");
        f.btnRestore.Click();
        EXPECT_EQ(f.txtMailserver.Text(), DefaultMailHost);
        f.btnCancel.Click();
    });
    EXPECT_EQ(StoredMailserver(), "smtp.provider.nl");
}

TEST_F(MailserverForm, RestoreThenOkStoresTheDefaultHostAgain) {
    StoreMailserver("smtp.provider.nl");
    Open([](TfrmMailserver& f) {
        f.btnRestore.Click();
        f.btnOK.Click();
        EXPECT_EQ(f.ModalResult(), mrOk);
    });
    EXPECT_EQ(StoredMailserver(), DefaultMailHost);
}

TEST_F(MailserverForm, NoStoredValueShowsAnEmptyField) {
    Open([](TfrmMailserver& f) {
        EXPECT_EQ(f.txtMailserver.Text(), "");
        f.txtMailserver.SetText("mail.example.nl");
        f.btnOK.Click();
    });
    EXPECT_EQ(StoredMailserver(), "mail.example.nl");
}

TEST_F(MailserverForm, TooLongAHostIsRefusedAndNotStored) {
    StoreMailserver("smtp.provider.nl");
    TMessageRecorder boxes;
    Open([](TfrmMailserver& f) {
        f.txtMailserver.SetFocus();
        f.txtMailserver.SetText(std::string(41, 'm'));  // typing says nothing yet
        f.btnOK.Click();
        EXPECT_EQ(f.ModalResult(), mrNone);  // the dialog stays open
        f.btnCancel.Click();
    });
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find("40"), std::string::npos) << boxes.Texts()[0];
    EXPECT_EQ(StoredMailserver(), "smtp.provider.nl");
}

TEST_F(MailserverForm, EnterInTheRealDialogStoresWhatWasTyped) {
    StoreMailserver("smtp.provider.nl");
    // The user types a host and presses Enter, in the dialog's own modal loop.
    TModalWatcher user(L"BranControl", [](HWND dialog) {
        HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        if (!edit) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            return;
        }
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"mail.example.nl"));
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    });
    ASSERT_TRUE(ShowServiceForm("TfrmMailserver"));
    EXPECT_EQ(StoredMailserver(), "mail.example.nl");
}

TEST_F(MailserverForm, ProtectionPortAndAccountAreStoredTheirOwnWay) {
    struct Case {
        const char* what;
        std::string stored;  // "Mailserver" before
        std::function<void(TfrmMailserver&)> edit;
        std::string server, security, user, password;
    };
    const Case cases[] = {
        {"an old host:port setting reads and stays as it was", "smtp.provider.nl:2525",
         [](TfrmMailserver& f) {
             EXPECT_EQ(f.txtMailserver.Text(), "smtp.provider.nl");
             EXPECT_EQ(f.txtPort.Text(), "2525");
             EXPECT_EQ(f.Security(), TMailSecurity::None);
         },
         "smtp.provider.nl:2525", "", "", ""},
        {"STARTTLS takes its standard port, which is not written", "smtp.provider.nl",
         [](TfrmMailserver& f) {
             EXPECT_EQ(f.txtPort.Text(), "25");
             f.SetSecurity(TMailSecurity::StartTls);
             EXPECT_EQ(f.txtPort.Text(), "587");
             f.txtUserName.SetText("jan@provider.nl");
             f.txtPassword.SetText("Geheim 123");
         },
         "smtp.provider.nl", "STARTTLS", "jan@provider.nl", "Geheim 123"},
        {"a port the user typed stays when the protection changes", "smtp.provider.nl",
         [](TfrmMailserver& f) {
             f.txtPort.SetText("2587");
             f.SetSecurity(TMailSecurity::Tls);
             EXPECT_EQ(f.txtPort.Text(), "2587");
         },
         "smtp.provider.nl:2587", "TLS", "", ""},
        {"a port typed after the host still counts", "x",
         [](TfrmMailserver& f) {
             f.SetSecurity(TMailSecurity::Tls);
             f.txtMailserver.SetText("mail.example.nl:25");
         },
         "mail.example.nl:25", "TLS", "", ""},
        {"no user name keeps no password", "smtp.provider.nl",
         [](TfrmMailserver& f) { f.txtPassword.SetText("vergeten"); }, "smtp.provider.nl", "", "", ""},
    };
    for (const Case& c : cases) {
        StoreMailserver(c.stored);
        Open([&](TfrmMailserver& f) {
            f.btnRestore.Click();  // nothing of the case before
            f.txtMailserver.SetText(TagSocketHost(c.stored));
            f.txtPort.SetText(c.stored.find(':') == std::string::npos ? "25" : c.stored.substr(c.stored.find(':') + 1));
            f.btnOK.Click();
        });
        Open([&](TfrmMailserver& f) {
            c.edit(f);
            f.btnOK.Click();
            EXPECT_EQ(f.ModalResult(), mrOk) << c.what;
        });
        EXPECT_EQ(StoredMailserver(), c.server) << c.what;
        EXPECT_EQ(Stored("MailSecurity"), c.security) << c.what;
        EXPECT_EQ(Stored("MailUserName"), c.user) << c.what;
        EXPECT_EQ(LoadMailPassword(), c.password) << c.what;
        EXPECT_FALSE(StoredAtAll(HKEY_LOCAL_MACHINE, "MailPassword")) << c.what;
        EXPECT_EQ(StoredAtAll(HKEY_CURRENT_USER, "MailPassword"), !c.password.empty()) << c.what;
    }
}

TEST_F(MailserverForm, RestoreBringsBackThePlainDefaultAndForgetsTheAccount) {
    StoreMailserver("smtp.provider.nl:465");
    Open([](TfrmMailserver& f) {
        f.SetSecurity(TMailSecurity::Tls);
        f.txtUserName.SetText("jan");
        f.txtPassword.SetText("geheim");
        f.btnOK.Click();
    });
    ASSERT_EQ(LoadMailPassword(), "geheim");
    Open([](TfrmMailserver& f) {
        EXPECT_EQ(f.Security(), TMailSecurity::Tls);
        EXPECT_EQ(f.txtPort.Text(), "465");
        EXPECT_EQ(f.txtUserName.Text(), "jan");
        EXPECT_EQ(f.txtPassword.Text(), "geheim");
        f.btnRestore.Click();
        EXPECT_EQ(f.txtMailserver.Text(), DefaultMailHost);
        EXPECT_EQ(f.txtPort.Text(), "25");
        EXPECT_EQ(f.Security(), TMailSecurity::None);
        f.btnOK.Click();
    });
    EXPECT_EQ(StoredMailserver(), DefaultMailHost);
    EXPECT_FALSE(StoredAtAll(HKEY_LOCAL_MACHINE, "MailSecurity"));
    EXPECT_FALSE(StoredAtAll(HKEY_LOCAL_MACHINE, "MailUserName"));
    EXPECT_EQ(LoadMailPassword(), "");
}

TEST_F(MailserverForm, APortThatIsNoPortKeepsTheDialogOpen) {
    StoreMailserver("smtp.provider.nl");
    TMessageRecorder boxes;
    Open([](TfrmMailserver& f) {
        for (const char* port : {"", "0", "70000"}) {
            f.txtPort.SetText(port);
            f.btnOK.Click();
            EXPECT_EQ(f.ModalResult(), mrNone) << port;
        }
        f.btnCancel.Click();
    });
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>(3, "Vul bij Poort een getal van 1 tot en met 65535 in."));
    EXPECT_EQ(StoredMailserver(), "smtp.provider.nl");
}
