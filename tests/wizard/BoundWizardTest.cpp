#include <gtest/gtest.h>

#include <windows.h>

#include "GuiTestSupport.h"
#include "ModelFixture.h"
#include "RealMessageBoxes.h"
#include "Source/Common/Catalogue/User.h"
#include "TestSupport.h"
#include "lib/BranButtons.h"
#include "lib/BranWizardForm.h"
#include "lib/OAControls.h"

namespace {
const std::string kCityTooLong = "Het veld 'plaats' mag uit maximaal 80 tekens bestaan.\r\nVoer een kortere tekst in.";
const std::string kLastNameEmpty = "Het veld 'Achternaam' is leeg.\r\nGeef het veld 'Achternaam' een waarde.";

// Bound edits on three pages, each after a label bound to the same property, as on the problem
// solver's personal-data page. The record is declared after the controls, so it ends before them;
// nothing unbinds the controls by hand.
struct TfrmBoundWizard : TBranWizardForm {
    TPageControl pgcWizard{this};
    TTabSheet tabPersonal{&pgcWizard, "Persoonlijke gegevens"};
    TOALabel lblUserLastName{&tabPersonal};
    TOAEdit txtUserLastName{&tabPersonal};
    TOALabel lblUserCity{&tabPersonal};
    TOAEdit txtUserCity{&tabPersonal};
    TTabSheet tabPhone{&pgcWizard, "Telefoon"};
    TOALabel lblUserPhone{&tabPhone};
    TOAEdit txtUserPhone{&tabPhone};
    TOATimeSpinEdit txtUserTimeFrom{&tabPhone};
    TOAEdit txtUserFax{&tabPhone};
    TTabSheet tabMail{&pgcWizard, "E-mail"};
    TOAEdit txtUserEmail{&tabMail};
    TUser user;

    TfrmBoundWizard() {
        pgcWizard.SetBounds(0, 0, 460, 240);
        Pages = &pgcWizard;
        Bind(&lblUserLastName, txtUserLastName, user.LastName(), 8);
        Bind(&lblUserCity, txtUserCity, user.City(), 36);
        Bind(&lblUserPhone, txtUserPhone, user.Tel(), 8);
        Bind(nullptr, txtUserTimeFrom, user.ReachableFrom(), 36);
        Bind(nullptr, txtUserFax, user.Fax(), 64);
        Bind(nullptr, txtUserEmail, user.Email(), 8);
        OnExitPage = [this](TControl*, TTabSheet* page, bool& allow, TWizardDirection direction) {
            if (page == &tabPersonal && direction == TWizardDirection::wdForward)
                allow = OAC_ValidateControls(&tabPersonal, &user);
        };
    }
    void Bind(TOALabel* label, TControl& edit, TAppProp& prop, int top) {
        if (label) {
            label->ShowCaption = true;
            label->SetBounds(8, top + 3, 110, 16);
            label->SetAppProp(&prop);
        }
        edit.SetBounds(120, top, 200, 21);
        FindOACInterface(&edit)->SetAppProp(&prop);
    }
    TTabSheet* Active() const { return pgcWizard.ActivePage(); }
};

void RunWizard(TfrmBoundWizard& wizard, const std::function<void(TfrmBoundWizard&)>& script) {
    TModalScript hook([&](TForm& form) { script(static_cast<TfrmBoundWizard&>(form)); });
    wizard.ShowModal();
}

// A mouse click as the button gets it: the press takes the focus, the release clicks.
void ClickWithMouse(TControl& button) {
    LPARAM middle = MAKELPARAM(button.Width() / 2, button.Height() / 2);
    PostMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
    Application().ProcessMessages();
    PostMessageW(button.Handle(), WM_LBUTTONUP, 0, middle);
    Application().ProcessMessages();
}
}  // namespace

class BoundWizard : public testing::Test {
protected:
    void SetUp() override { BranModel(); }
};

TEST_F(BoundWizard, AMouseClickOnNextAfterARefusedFieldKeepsThePageAndTheFocus) {
    TfrmBoundWizard wizard;
    wizard.user.LastName().SetAsString("Jansen");
    TRealMessageBoxes boxes;
    RunWizard(wizard, [](TfrmBoundWizard& w) {
        w.txtUserCity.SetFocus();
        w.txtUserCity.SetText(std::string(85, 'x'));
        ClickWithMouse(*w.NextButton());
        EXPECT_EQ(w.Active(), &w.tabPersonal);
        EXPECT_TRUE(w.txtUserCity.Focused());
        EXPECT_TRUE(w.user.City().IsNull());
        w.txtUserCity.SetText("Utrecht");
        ClickWithMouse(*w.NextButton());
        EXPECT_EQ(w.Active(), &w.tabPhone);
        EXPECT_TRUE(w.txtUserPhone.Focused());
    });
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{kCityTooLong});
    EXPECT_EQ(wizard.user.City().AsString(), "Utrecht");
}

TEST_F(BoundWizard, EnterAndPageKeysTakeTheFocusedInputAndTheFocusAlong) {
    for (WORD key : {WORD(VK_RETURN), WORD(VK_NEXT)}) {
        TfrmBoundWizard wizard;
        wizard.user.LastName().SetAsString("Jansen");
        TMessageRecorder recorder;
        RunWizard(wizard, [key](TfrmBoundWizard& w) {
            w.txtUserCity.SetFocus();
            w.txtUserCity.SetText(std::string(85, 'x'));
            PressKey(key);
            EXPECT_EQ(w.Active(), &w.tabPersonal) << key;
            EXPECT_TRUE(w.txtUserCity.Focused()) << key;
            w.txtUserCity.SetText("Utrecht");
            PressKey(key);
            EXPECT_EQ(w.Active(), &w.tabPhone) << key;
            EXPECT_TRUE(w.txtUserPhone.Focused()) << key;
            PressKey('7');  // typed into the page that is shown
            PressKey(VK_PRIOR);
            EXPECT_EQ(w.Active(), &w.tabPersonal) << key;
            EXPECT_TRUE(w.txtUserLastName.Focused()) << key;
        });
        EXPECT_EQ(recorder.Texts(), std::vector<std::string>{kCityTooLong}) << key;
        EXPECT_EQ(wizard.user.Tel().AsString(), "7") << key;
        EXPECT_EQ(wizard.user.City().AsString(), "Utrecht") << key;
    }
}

TEST_F(BoundWizard, TheFormCheckPassesLabelsByAndFocusesTheEdit) {
    TfrmBoundWizard wizard;
    TMessageRecorder recorder;
    RunWizard(wizard, [](TfrmBoundWizard& w) {
        w.txtUserCity.SetFocus();
        PressKey(VK_RETURN);
        EXPECT_EQ(w.Active(), &w.tabPersonal);
        EXPECT_TRUE(w.txtUserLastName.Focused());
        EXPECT_EQ(w.lblUserLastName.Caption(), "Achter&naam");
    });
    EXPECT_EQ(recorder.Texts(), std::vector<std::string>{kLastNameEmpty});
}

TEST_F(BoundWizard, EmptyFieldsLeaveOptionalPropertiesNull) {
    TfrmBoundWizard wizard;
    wizard.user.LastName().SetAsString("Jansen");
    wizard.user.ReachableFrom().Clear();  // as loaded from a registry without the value
    ASSERT_FALSE(wizard.user.Fax().IsNull());  // its default is the empty text
    EXPECT_TRUE(OAC_ValidateControls(&wizard, &wizard.user));
    for (TAppProp* prop : {&wizard.user.ReachableFrom(), &wizard.user.Fax(), &wizard.user.City(), &wizard.user.Tel()})
        EXPECT_TRUE(prop->IsNull()) << prop->Name();
}

TEST_F(BoundWizard, AFailedBackFromTheLastPageKeepsItsCloseButton) {
    TfrmBoundWizard wizard;
    wizard.user.LastName().SetAsString("Jansen");
    wizard.OnEnterPage = [&wizard](TControl*, TTabSheet* page, TWizardDirection direction) {
        if (page == &wizard.tabMail) wizard.SetCancelAsClose();
        if (page == &wizard.tabPhone && direction == TWizardDirection::wdBackward)
            throw EBrantel("TfrmBoundWizard", "EnterPage", "mislukt");
    };
    RunWizard(wizard, [](TfrmBoundWizard& w) {
        w.NextButton()->Click();
        w.NextButton()->Click();
        ASSERT_EQ(w.Active(), &w.tabMail);
        EXPECT_THROW(w.Navigate(TWizardDirection::wdBackward), EBrantel);
        EXPECT_EQ(w.Active(), &w.tabMail);
        EXPECT_EQ(w.WizardCancelButton()->Kind(), TBitBtnKind::bkClose);
        EXPECT_EQ(w.WizardCancelButton()->Caption(), "&Sluiten");
        EXPECT_EQ(w.NextButton()->Caption(), "Voltooien");
        EXPECT_TRUE(w.txtUserEmail.Focused());
    });
}

TEST_F(BoundWizard, RecordAndControlsMayEndInEitherOrder) {
    TForm form;
    auto user = std::make_unique<TUser>();
    TOAEdit txtUserCity(&form);
    TOALabel lblUserCity(&form);
    txtUserCity.SetAppProp(&user->City());
    lblUserCity.SetAppProp(&user->City());
    user.reset();  // the record first
    EXPECT_EQ(txtUserCity.OACInterface().AppProp(), nullptr);
    EXPECT_EQ(lblUserCity.OACInterface().AppProp(), nullptr);
    txtUserCity.SetAppProp(nullptr);
    txtUserCity.SetText("Utrecht");
    CopyValueToAppProp(&txtUserCity);

    TUser kept;
    {
        TOAEdit txtUserTel(&form);  // the control first
        txtUserTel.SetAppProp(&kept.Tel());
        EXPECT_TRUE(kept.Tel().HasOnChangedHandler(&txtUserTel.OACInterface()));
    }
    kept.Tel().SetAsString("030-1234567");  // no binding left to call
    EXPECT_EQ(kept.Tel().AsString(), "030-1234567");
}

TEST_F(BoundWizard, TheTimeEditKeepsItsWidthAndRefusesWhatIsNoTime) {
    TForm form;
    TOATimeSpinEdit txtUserTimeFrom(&form);
    txtUserTimeFrom.SetBounds(10, 10, 80, 21);
    struct {
        std::function<void()> change;
        int width;
    } moves[] = {{[&] { txtUserTimeFrom.SetLeft(30); }, 80},
                 {[&] { txtUserTimeFrom.SetWidth(90); }, 90},
                 {[&] { form.ScaleBy(3, 2); }, 135}};
    for (const auto& m : moves) {
        m.change();
        EXPECT_EQ(txtUserTimeFrom.Width(), m.width);
        TUpDown& spin = txtUserTimeFrom.Spin();
        EXPECT_EQ(spin.Right(), txtUserTimeFrom.ClientWidth()) << m.width;  // inside, at the right edge
        EXPECT_EQ(spin.Height(), txtUserTimeFrom.ClientHeight()) << m.width;
    }

    TUser user;
    txtUserTimeFrom.SetAppProp(&user.ReachableFrom());
    EXPECT_EQ(txtUserTimeFrom.MaxLength(), 7);
    TMessageRecorder recorder;
    struct {
        const char* typed;
        bool accepted;
        const char* kept;
    } inputs[] = {{"9.5", true, "09:05"}, {"25:00", false, "09:05"}, {"ab", false, "09:05"}, {"", true, ""}};
    for (const auto& in : inputs) {
        txtUserTimeFrom.SetText(in.typed);
        EXPECT_EQ(txtUserTimeFrom.OACInterface().CommitInput(), in.accepted) << in.typed;
        EXPECT_EQ(user.ReachableFrom().AsString(), in.kept) << in.typed;  // not back to 08:00
        EXPECT_EQ(txtUserTimeFrom.Text(), in.kept) << in.typed;
    }
    EXPECT_TRUE(user.ReachableFrom().IsNull());
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{
                                    "25:00 is geen geldige tijd.\r\nHet veld 'Bereikbaar van' kan alleen tijden bevatten.",
                                    "ab is geen geldige tijd.\r\nHet veld 'Bereikbaar van' kan alleen tijden bevatten."}));
}

TEST_F(BoundWizard, TypingStopsAtThePropertysMaximum) {
    TForm form;
    TUser user;
    TOAEdit txtUserCity(&form);
    TOATimeSpinEdit txtUserTimeUntil(&form);
    txtUserTimeUntil.SetMaxLength(5);  // the form's own limit is tighter than the property's 7
    txtUserCity.SetAppProp(&user.City());
    txtUserTimeUntil.SetAppProp(&user.ReachableUntil());
    EXPECT_EQ(txtUserCity.MaxLength(), 80);
    EXPECT_EQ(txtUserTimeUntil.MaxLength(), 5);
    form.Show();
    txtUserCity.SetFocus();
    txtUserCity.SetText(std::string(80, 'x'));
    txtUserCity.SetSelection(80, 0);
    PressKey('y');
    EXPECT_EQ(txtUserCity.Text(), std::string(80, 'x'));
    form.Hide();
}
