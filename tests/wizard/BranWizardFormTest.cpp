#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "lib/BranButtons.h"
#include "lib/BranGradient.h"
#include "lib/BranProgressBar.h"
#include "lib/BranWizardForm.h"
#include "platform/Shell.h"
#include "platform/gui/Bevel.h"
#include "platform/gui/Image.h"
#include "platform/gui/Label.h"
#include "platform/gui/Panel.h"
#include "platform/gui/Shape.h"

namespace {
// Four pages; the second is disabled unless a test enables it.
struct TfrmSampleWizard : TBranWizardForm {
    TPageControl pgcWizard{this};
    TTabSheet tabWelkom{&pgcWizard, "Welkom"};
    TTabSheet tabOverslaan{&pgcWizard, "Overgeslagen"};
    TTabSheet tabProbleem{&pgcWizard, "Probleem"};
    TTabSheet tabKlaar{&pgcWizard, "Klaar"};
    std::vector<std::string> events;
    TfrmSampleWizard() {
        SetCaption("Voorbeeldwizard");
        pgcWizard.SetBounds(0, 0, 460, 300);
        tabOverslaan.SetEnabled(false);
        Pages = &pgcWizard;
        OnEnterPage = [this](TControl*, TTabSheet* page, TWizardDirection d) {
            events.push_back("enter " + page->Caption() + (d == TWizardDirection::wdForward ? " >" : " <"));
        };
        OnExitPage = [this](TControl*, TTabSheet* page, bool&, TWizardDirection) { events.push_back("exit " + page->Caption()); };
    }
    std::string Active() const { return pgcWizard.ActivePage() ? pgcWizard.ActivePage()->Caption() : "(geen)"; }
    int Progress() const { return ProgressBar()->Position(); }
};

// Shows the wizard modally and runs the script on it.
int RunWizard(TfrmSampleWizard& wizard, const std::function<void(TfrmSampleWizard&)>& script) {
    TModalScript hook([&](TForm& form) { script(static_cast<TfrmSampleWizard&>(form)); });
    return wizard.ShowModal();
}
}  // namespace

TEST(BranWizardForm, DisabledPageIsSkippedBothWaysAndNotCounted) {
    TfrmSampleWizard wizard;
    int result = RunWizard(wizard, [](TfrmSampleWizard& w) {
        EXPECT_EQ(w.Active(), "Welkom");
        EXPECT_EQ(w.TitleLabel()->Caption(), "Welkom");
        EXPECT_EQ(w.ProgressBar()->Max(), 3);
        EXPECT_EQ(w.Progress(), 1);
        EXPECT_FALSE(w.BackButton()->Enabled());
        w.NextButton()->Click();
        EXPECT_EQ(w.Active(), "Probleem");
        EXPECT_EQ(w.Progress(), 2);
        EXPECT_TRUE(w.BackButton()->Enabled());
        w.NextButton()->Click();
        EXPECT_EQ(w.Active(), "Klaar");
        EXPECT_EQ(w.Progress(), 3);
        EXPECT_EQ(w.NextButton()->Caption(), "Voltooien");
        w.BackButton()->Click();
        w.BackButton()->Click();
        EXPECT_EQ(w.Active(), "Welkom");
        EXPECT_EQ(w.Progress(), 1);
    });
    EXPECT_EQ(result, mrNone);
    EXPECT_EQ(wizard.events, (std::vector<std::string>{"enter Welkom >", "exit Welkom", "enter Probleem >", "exit Probleem",
                                                       "enter Klaar >", "exit Klaar", "enter Probleem <", "exit Probleem",
                                                       "enter Welkom <"}));
}

TEST(BranWizardForm, FinishClosesWithOkOnceOnExitPageAllowsIt) {
    TfrmSampleWizard wizard;
    wizard.tabProbleem.SetEnabled(false);
    wizard.tabKlaar.SetEnabled(false);
    int result = RunWizard(wizard, [](TfrmSampleWizard& w) {
        EXPECT_EQ(w.NextButton()->Caption(), "Voltooien");
        EXPECT_EQ(w.NextButton()->Kind(), TBitBtnKind::bkOK);
        EXPECT_TRUE(w.NextButton()->Default());
        EXPECT_EQ(w.ProgressBar()->Max(), 1);
        PressKey(VK_RETURN);  // the default button
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(wizard.events.back(), "exit Welkom");
}

TEST(BranWizardForm, RefusingInOnExitPageKeepsEverything) {
    TfrmSampleWizard wizard;
    wizard.OnExitPage = [](TControl*, TTabSheet*, bool& allow, TWizardDirection) { allow = false; };
    int result = RunWizard(wizard, [](TfrmSampleWizard& w) {
        w.NextButton()->Click();
        w.NextButton()->Click();
        EXPECT_EQ(w.Active(), "Welkom");
        EXPECT_EQ(w.Progress(), 1);
        EXPECT_EQ(w.NextButton()->Kind(), TBitBtnKind::bkRight);
        EXPECT_FALSE(w.BackButton()->Enabled());
        EXPECT_FALSE(w.Navigating());
    });
    EXPECT_EQ(result, mrNone);
}

TEST(BranWizardForm, PageKeysFollowTheButtons) {
    TfrmSampleWizard wizard;
    RunWizard(wizard, [](TfrmSampleWizard& w) {
        w.NextButton()->SetFocus();
        PressKey(VK_PRIOR);  // Back is disabled on the first page
        EXPECT_EQ(w.Active(), "Welkom");
        PressKey(VK_NEXT);
        EXPECT_EQ(w.Active(), "Probleem");
        PressKey(VK_PRIOR);
        EXPECT_EQ(w.Active(), "Welkom");
    });
}

TEST(BranWizardForm, ExceptionInAPageEventLeavesThePageAndClearsNavigating) {
    TfrmSampleWizard wizard;
    wizard.OnEnterPage = [](TControl*, TTabSheet* page, TWizardDirection) {
        if (page->Caption() == "Probleem") throw EBrantel("TfrmSampleWizard", "EnterPage", "mislukt");
    };
    TMessageRecorder recorder;
    RunWizard(wizard, [](TfrmSampleWizard& w) {
        EXPECT_THROW(w.Navigate(TWizardDirection::wdForward), EBrantel);
        EXPECT_EQ(w.Active(), "Welkom");
        EXPECT_EQ(w.Progress(), 1);
        EXPECT_FALSE(w.Navigating());
        // Through a real click the exception is shown, not passed into Windows.
        SendMessageW(w.NextButton()->Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(w.Active(), "Welkom");
        EXPECT_FALSE(w.Navigating());
    });
    EXPECT_EQ(recorder.Texts(), (std::vector<std::string>{"TfrmSampleWizard.EnterPage: mislukt"}));
}

TEST(BranWizardForm, ThePageControlRefusesItsOwnTabClicks) {
    TfrmSampleWizard wizard;
    RunWizard(wizard, [](TfrmSampleWizard& w) {
        NMHDR header{w.pgcWizard.Handle(), 0, static_cast<UINT>(TCN_SELCHANGING)};
        EXPECT_EQ(SendMessageW(w.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), TRUE);
        EXPECT_TRUE(GetWindowLongW(w.pgcWizard.Handle(), GWL_STYLE) & TCS_BUTTONS);
        EXPECT_FALSE(w.pgcWizard.TabStop());
        EXPECT_EQ(w.Active(), "Welkom");
    });
}

TEST(BranWizardForm, CancelHelpAndTheirEvents) {
    TRegistrySandbox registry;
    std::vector<TShellStart> started;
    SetShellHook([&](const TShellStart& s) -> intptr_t {
        started.push_back(s);
        return 33;
    });
    Application().HelpFile = "C:\\Bran\\Service.hlp";
    {
        TfrmSampleWizard wizard;
        wizard.tabProbleem.HelpContext = 12;
        EXPECT_EQ(RunWizard(wizard, [](TfrmSampleWizard& w) {
                      EXPECT_FALSE(w.HelpButton()->Enabled());
                      w.NextButton()->Click();
                      EXPECT_TRUE(w.HelpButton()->Enabled());
                      w.HelpButton()->Click();
                      PressKey(VK_ESCAPE);
                  }),
                  mrCancel);
    }
    {
        TfrmSampleWizard wizard;
        int cancels = 0;
        wizard.OnCancelClick = [&](TControl* sender) {
            EXPECT_EQ(sender, static_cast<TControl*>(wizard.WizardCancelButton()));
            ++cancels;
        };
        EXPECT_EQ(RunWizard(wizard, [](TfrmSampleWizard& w) { w.WizardCancelButton()->Click(); }), mrNone);
        EXPECT_EQ(cancels, 1);
    }
    Application().HelpFile.clear();
    SetShellHook({});
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].File, "WinHelp.Exe");
    EXPECT_EQ(started[0].Parameters, "-n 12 C:\\Bran\\Service.hlp");
}

TEST(BranWizardForm, NavigateWithoutPagesIsAProgrammingError) {
    struct {
        bool withPages;
        const char* message;
    } cases[] = {{false, "FPages = nil"}, {true, "FPages.ActivePage = nil"}};
    for (const auto& c : cases) {
        TfrmSampleWizard wizard;
        if (c.withPages)
            wizard.pgcWizard.SetActivePage(nullptr);
        else
            wizard.Pages = nullptr;
        try {
            wizard.Navigate(TWizardDirection::wdForward);
            ADD_FAILURE() << c.message;
        } catch (const EBranAssertion& e) {
            EXPECT_EQ(e.AssertMessage(), c.message);
            EXPECT_EQ(e.SourceUnit(), "BranWizardForm");
        }
        EXPECT_FALSE(wizard.Navigating());
    }
}

TEST(BranWizardForm, LayoutMeasuresWithoutImages) {
    TfrmSampleWizard wizard;
    int pagesHeightBefore = wizard.pgcWizard.Height();
    wizard.Show();
    const int H = 33, CW = wizard.ClientWidth();
    int PH = wizard.tabWelkom.Height();
    EXPECT_EQ(CW, std::max(wizard.tabWelkom.Width(), 432));
    EXPECT_EQ(wizard.ClientHeight(), H + PH + 69);
    EXPECT_EQ(wizard.pgcWizard.Left(), -4);
    EXPECT_EQ(wizard.pgcWizard.Top(), H + 6);
    EXPECT_EQ(wizard.pgcWizard.Height(), pagesHeightBefore - 17);
    struct {
        TControl* control;
        int left, top, width, height;
    } expected[] = {
        {wizard.HeaderPanel(), 0, 0, CW, H},
        {wizard.TitleLabel(), 18, 4, CW - 36 - 94, 24},
        {wizard.ProgressBar(), CW - 94, 9, 79, 14},
        {wizard.TopSpacer(), 0, H, CW, 13},
        {wizard.BottomSpacer(), 0, wizard.pgcWizard.Bottom(), CW, 9},
        {wizard.Separator(), 0, wizard.pgcWizard.Bottom() + 9, CW, 2},
        {wizard.BackButton(), CW - 416, wizard.pgcWizard.Bottom() + 20, 100, 24},
        {wizard.NextButton(), CW - 316, wizard.pgcWizard.Bottom() + 20, 100, 24},
        {wizard.WizardCancelButton(), CW - 216, wizard.pgcWizard.Bottom() + 20, 100, 24},
        {wizard.HelpButton(), CW - 116, wizard.pgcWizard.Bottom() + 20, 100, 24},
    };
    for (const auto& e : expected) {
        ASSERT_NE(e.control, nullptr);
        EXPECT_EQ(e.control->Left(), e.left) << e.control->Caption();
        EXPECT_EQ(e.control->Top(), e.top) << typeid(*e.control).name();
        EXPECT_EQ(e.control->Width(), e.width) << typeid(*e.control).name();
        EXPECT_EQ(e.control->Height(), e.height) << typeid(*e.control).name();
    }
    EXPECT_TRUE(wizard.TitleLabel()->Font().Bold);
    EXPECT_EQ(wizard.TitleLabel()->Font().Size, 14);
    EXPECT_EQ(wizard.ImageFrame(), nullptr);
    EXPECT_EQ(wizard.WizardCancelButton()->Caption(), "Annuleren");
    EXPECT_EQ(wizard.CancelButton(), wizard.WizardCancelButton());
    EXPECT_EQ(wizard.WizardCancelButton()->ModalResult, mrNone);
    // A second show does not lay out again.
    wizard.Hide();
    wizard.Show();
    EXPECT_EQ(wizard.ClientHeight(), H + PH + 69);
    wizard.Hide();
}

TEST(BranWizardForm, LayoutMeasuresWithImages) {
    TfrmSampleWizard wizard;
    TImageList images(32, 32);
    images.AddResourceIcon(32516);
    images.AddResourceIcon(32515);
    wizard.Images = &images;
    wizard.OnImageRequest = [](TControl*, TTabSheet* page, int& index) { index = page->PageIndex() == 0 ? 1 : 0; };
    wizard.pgcWizard.SetBounds(0, 0, 250, 200);  // pages lower than the picture column and narrow
    wizard.Show();
    const int H = 33, L = 155, IH = 225;
    EXPECT_EQ(wizard.pgcWizard.Left(), L - 4);
    EXPECT_EQ(wizard.pgcWizard.Height(), IH + 11);
    EXPECT_EQ(wizard.ClientWidth(), L + 432);  // pages narrower than 432 - L get 432
    EXPECT_EQ(wizard.ClientHeight(), H + IH + 69);
    TShape* frame = wizard.ImageFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->Left(), 16);
    EXPECT_EQ(frame->Top(), H + 13);
    EXPECT_EQ(frame->Width(), L - 32);
    EXPECT_EQ(frame->Height(), IH);
    EXPECT_EQ(frame->BrushStyle, TBrushStyle::bsClear);
    TBranGradient* gradient = wizard.ImageGradient();
    EXPECT_EQ(gradient->Left(), 1);
    EXPECT_EQ(gradient->Width(), L - 34);
    EXPECT_EQ(gradient->Height(), IH - 2);
    EXPECT_EQ(gradient->BorderWidth(), 0);
    TImage* image = wizard.PageImage();
    EXPECT_EQ(image->Left(), (L - 34 - 32) / 2);
    EXPECT_EQ(image->Top(), (IH - 2 - 32) / 2);
    EXPECT_FALSE(image->Empty());
    wizard.Hide();
}

TEST(BranWizardForm, NoEnabledPageLeavesTheFormWithoutWizardParts) {
    TfrmSampleWizard wizard;
    for (int i = 0; i < wizard.pgcWizard.PageCount(); ++i) wizard.pgcWizard.Pages(i)->SetEnabled(false);
    wizard.Show();
    EXPECT_FALSE(wizard.LaidOut());
    EXPECT_EQ(wizard.pgcWizard.ActivePage(), nullptr);
    EXPECT_TRUE(wizard.events.empty());
    wizard.Hide();
}

TEST(BranWizardForm, FailureWhileShowingNamesTheWizardAndDoShow) {
    TfrmSampleWizard wizard;
    wizard.OnShow = [](TControl*) { throw EBrantel("TfrmSampleWizard", "FormShow", "geen rapportmap"); };
    TModalScript script([](TForm&) { ADD_FAILURE() << "the hook ran although showing failed"; });
    try {
        wizard.ShowModal();
        FAIL() << "showing succeeded";
    } catch (const EBrantel& e) {
        EXPECT_EQ(e.Message(), "TfrmSampleWizard.FormShow: geen rapportmap <TfrmSampleWizard.DoShow>");
    }
    EXPECT_FALSE(wizard.IsModal());
    EXPECT_TRUE(wizard.LaidOut());  // the layout ran before the form's own show handler
}
