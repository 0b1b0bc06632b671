#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "ModalWatcher.h"
#include "ModelFixture.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Internet/MailserverForm.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "TestSupport.h"
#include "platform/Registry.h"

namespace {
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
    static std::string StoredMailserver() {
        return TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, UserRegistrationKey).ReadString("Mailserver");
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
