#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "platform/Shell.h"
#include "platform/gui/Button.h"
#include "platform/gui/Edit.h"
#include "platform/gui/Label.h"
#include "platform/gui/Memo.h"
#include "platform/gui/Panel.h"

namespace {
class TfrmSample : public TForm {
public:
    TPanel pnlTop{this};
    TPanel pnlBottom{this};
    TPanel pnlClient{this};
    TLabel lblName{&pnlClient, "&Naam:"};
    TEdit txtName{&pnlClient};
    TMemo memoRemarks{&pnlClient};
    TButton btnOK{&pnlBottom};
    TButton btnCancel{&pnlBottom};
    std::vector<std::string> events;

    TfrmSample() {
        SetCaption("Voorbeeld");
        SetBorderStyle(TBorderStyle::bsDialog);
        SetClientSize(300, 200);
        pnlTop.SetHeight(30);
        pnlTop.SetAlign(TAlign::alTop);
        pnlBottom.SetHeight(40);
        pnlBottom.SetAlign(TAlign::alBottom);
        pnlClient.SetAlign(TAlign::alClient);
        lblName.SetBounds(8, 8, 60, 16);
        lblName.FocusControl = &txtName;
        txtName.SetBounds(80, 8, 150, 21);
        memoRemarks.SetBounds(80, 40, 150, 60);
        btnOK.SetKind(TBitBtnKind::bkOK);
        btnOK.SetDefault(true);
        btnOK.SetBounds(100, 8, 90, 24);
        btnCancel.SetKind(TBitBtnKind::bkCancel);
        btnCancel.SetBounds(200, 8, 90, 24);
        OnShow = [this](TControl*) { events.push_back("show"); };
        OnHide = [this](TControl*) { events.push_back("hide"); };
        OnClose = [this](TControl*, TCloseAction&) { events.push_back("close"); };
        btnOK.OnClick = [this](TControl*) { events.push_back("ok:" + txtName.Text()); };
    }
};
}  // namespace

TEST(Form, AlignedPanelsShareTheClientArea) {
    TfrmSample form;
    EXPECT_EQ(form.pnlTop.Top(), 0);
    EXPECT_EQ(form.pnlTop.Width(), 300);
    EXPECT_EQ(form.pnlBottom.Top(), 160);
    EXPECT_EQ(form.pnlClient.Top(), 30);
    EXPECT_EQ(form.pnlClient.Height(), 130);
    form.SetClientSize(400, 300);
    EXPECT_EQ(form.pnlBottom.Top(), 260);
    EXPECT_EQ(form.pnlClient.Width(), 400);
    form.pnlTop.Hide();
    EXPECT_EQ(form.pnlClient.Top(), 0);
}

TEST(Form, ModalHookFillsFieldsAndTheButtonsResultEndsTheLoop) {
    TfrmSample form;
    TModalScript script([](TForm& shown) {
        auto& f = static_cast<TfrmSample&>(shown);
        EXPECT_TRUE(f.Visible());
        f.txtName.SetText("Jansen");
        f.btnOK.Click();
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(form.events, (std::vector<std::string>{"show", "ok:Jansen", "close", "hide"}));
}

TEST(Form, OnCloseMayRefuseAModalResult) {
    TfrmSample form;
    form.OnClose = [](TControl*, TCloseAction& action) { action = TCloseAction::caNone; };
    TModalScript script([](TForm& shown) { static_cast<TfrmSample&>(shown).btnOK.Click(); });
    EXPECT_EQ(form.ShowModal(), mrNone);
}

TEST(Form, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    struct {
        WORD key;
        bool focusMemo;
        int expected;
    } cases[] = {
        {VK_RETURN, false, mrOk},
        {VK_ESCAPE, false, mrCancel},
        {VK_RETURN, true, mrNone},  // a memo takes Enter as a new line
        {VK_ESCAPE, true, mrCancel},
    };
    for (const auto& c : cases) {
        TfrmSample form;
        TModalScript script([&](TForm& shown) {
            auto& f = static_cast<TfrmSample&>(shown);
            (c.focusMemo ? static_cast<TControl&>(f.memoRemarks) : f.txtName).SetFocus();
            PressKey(c.key);
        });
        EXPECT_EQ(form.ShowModal(), c.expected) << c.key << " memo " << c.focusMemo;
    }
}

TEST(Form, KeyPreviewSeesKeysFirstAndMaySwallowThem) {
    TfrmSample form;
    form.KeyPreview = true;
    std::vector<WORD> seen;
    form.OnKeyDown = [&](TControl*, WORD& key, TShiftState) {
        seen.push_back(key);
        if (key == VK_RETURN) key = 0;
    };
    TModalScript script([](TForm& shown) {
        static_cast<TfrmSample&>(shown).txtName.SetFocus();
        PressKey(VK_NEXT);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(form.ShowModal(), mrNone);  // Enter was swallowed before the default button saw it
    EXPECT_EQ(seen, (std::vector<WORD>{VK_NEXT, VK_RETURN}));
}

// Showing activates the form, and the form window itself has the focus for a moment: it must not
// take itself for the control to give the focus to, or typing goes nowhere. An edit box that gets
// the focus at the show has its text selected, as Tab selects it: typing replaces it.
TEST(Form, AShownFormFocusesItsFirstFieldAndAnEditSelectsItsText) {
    TfrmSample form;
    {
        TModalScript script([](TForm& shown) {
            ASSERT_NE(shown.ActiveControl(), &shown);
            EXPECT_EQ(shown.ActiveControl(), &static_cast<TfrmSample&>(shown).btnOK);  // first in tab order
            EXPECT_TRUE(shown.ActiveControl()->Focused());
        });
        form.ShowModal();
    }
    form.txtName.SetCaption("Jansen");
    form.txtName.SetSelection(2, 0);  // where a click left the caret
    form.SetActiveControl(&form.txtName);
    TModalScript script([](TForm& shown) {
        auto& f = static_cast<TfrmSample&>(shown);
        EXPECT_TRUE(f.txtName.Focused());
        EXPECT_EQ(f.txtName.SelLength(), 6);
    });
    form.ShowModal();
}

TEST(Form, LabelAcceleratorFocusesItsControl) {
    TfrmSample form;
    TModalScript script([](TForm& shown) {
        auto& f = static_cast<TfrmSample&>(shown);
        f.memoRemarks.SetFocus();
        PostMessageW(GetFocus(), WM_SYSCHAR, L'n', 1 << 29);
        Application().ProcessMessages();
        EXPECT_TRUE(f.txtName.Focused());
        EXPECT_EQ(f.ActiveControl(), &f.txtName);
    });
    form.ShowModal();
}

TEST(Form, ExceptionInAnEventHandlerIsReportedNotPropagated) {
    TMessageRecorder recorder;
    TfrmSample form;
    form.btnOK.OnClick = [](TControl*) { throw EBrantel("TfrmSample", "btnOKClick", "kapot"); };
    TModalScript script([](TForm& shown) {
        // Through the window procedure, as a real click arrives.
        SendMessageW(static_cast<TfrmSample&>(shown).btnOK.Handle(), BM_CLICK, 0, 0);
    });
    form.ShowModal();
    ASSERT_EQ(recorder.Texts().size(), 1u);
    EXPECT_EQ(recorder.Texts()[0], "TfrmSample.btnOKClick: kapot");
}

TEST(Form, CreateFormFiresCreateAndDestroyOnce) {
    std::vector<std::string> events;
    struct TfrmEvents : TForm {
        explicit TfrmEvents(std::vector<std::string>& events) {
            OnCreate = [&events](TControl*) { events.push_back("create"); };
            OnDestroy = [&events](TControl*) { events.push_back("destroy"); };
        }
    };
    {
        auto form = CreateForm<TfrmEvents>(events);
        form->Show();
        form->Hide();
    }
    EXPECT_EQ(events, (std::vector<std::string>{"create", "destroy"}));
}

TEST(Form, AcceleratorHelpers) {
    EXPECT_EQ(AcceleratorOf("Achter&naam"), L'N');
    EXPECT_EQ(AcceleratorOf("Jan && Piet"), 0);
    EXPECT_EQ(StripAccelerator("Achter&naam"), "Achternaam");
    EXPECT_EQ(StripAccelerator("Jan && &Piet"), "Jan & Piet");
}

TEST(Form, ScaleByScalesTheChildren) {
    TfrmSample form;
    form.txtName.ScaleBy(1, 1);
    form.pnlClient.ScaleBy(3, 2);
    EXPECT_EQ(form.txtName.Left(), 120);
    EXPECT_EQ(form.txtName.Width(), 225);
}

TEST(Form, NestedModalFormsAreEachDrivenByTheHookAndTheOwnerIsDisabledMeanwhile) {
    TfrmSample outer;
    std::vector<std::string> seen;
    TModalScript script([&](TForm& shown) {
        auto& f = static_cast<TfrmSample&>(shown);
        seen.push_back(f.Caption());
        if (&shown == &outer) {
            TfrmSample inner;
            inner.SetCaption("Binnen");
            EXPECT_EQ(inner.ShowModal(), mrOk);
            EXPECT_TRUE(IsWindowEnabled(outer.Handle()));  // enabled again after the inner form
            f.btnCancel.Click();
        } else {
            EXPECT_FALSE(IsWindowEnabled(outer.Handle()));
            f.btnOK.Click();
        }
    });
    EXPECT_EQ(outer.ShowModal(), mrCancel);
    EXPECT_EQ(seen, (std::vector<std::string>{"Voorbeeld", "Binnen"}));
}

TEST(Form, F1OpensTheHelpTopicOfTheFocusedControlOrItsParents) {
    std::vector<std::string> parameters;
    SetShellHook([&](const TShellStart& s) -> intptr_t {
        parameters.push_back(s.File + " " + s.Parameters);
        return 33;
    });
    Application().HelpFile = "Service.hlp";
    TfrmSample form;
    form.HelpContext = 5;
    form.pnlClient.HelpContext = 7;
    form.memoRemarks.HelpContext = 9;
    TModalScript script([](TForm& shown) {
        auto& f = static_cast<TfrmSample&>(shown);
        f.memoRemarks.SetFocus();
        PressKey(VK_F1);
        f.txtName.SetFocus();
        PressKey(VK_F1);
        f.btnOK.SetFocus();
        PressKey(VK_F1);
    });
    form.ShowModal();
    Application().HelpFile.clear();
    SetShellHook({});
    EXPECT_EQ(parameters, (std::vector<std::string>{"WinHelp.Exe -n 9 Service.hlp", "WinHelp.Exe -n 7 Service.hlp",
                                                    "WinHelp.Exe -n 5 Service.hlp"}));
}

// Windows tells each top-level window of the program that it became (or stopped being) the active
// application, hidden ones too; the program hears it once per change.
TEST(Form, TheApplicationsActivationFiresOncePerChangeWhateverTheNumberOfForms) {
    TfrmSample first, second;  // second stays hidden, like a splash window
    first.Show();
    std::vector<std::string> events;
    Application().OnActivate = [&](TControl*) { events.push_back("on"); };
    Application().OnDeactivate = [&](TControl*) { events.push_back("off"); };
    auto tell = [&](BOOL active) {
        for (TForm* form : {&first, &second}) SendMessageW(form->Handle(), WM_ACTIVATEAPP, active, 0);
    };
    tell(FALSE);
    tell(TRUE);
    tell(TRUE);
    tell(FALSE);
    tell(TRUE);
    Application().OnActivate = nullptr;
    Application().OnDeactivate = nullptr;
    // The first FALSE may be news or not, depending on whether the program was active before.
    if (!events.empty() && events.front() == "off") events.erase(events.begin());
    EXPECT_EQ(events, (std::vector<std::string>{"on", "off", "on"}));
}
