// Finish and the report page's tool buttons: which delivery runs for which contact choice, and when
// the window may close. The deliveries themselves are the delivery module's (tests/delivery); here a
// recording stand-in answers for them so that the routing can be seen.
#include <gtest/gtest.h>

#include "SolverTestSupport.h"

namespace {
struct TDeliveryLog {
    std::vector<std::string> Calls;
    bool Succeeds = true;
};

class TRecordingDelivery : public IProblemSolverDelivery {
public:
    explicit TRecordingDelivery(TDeliveryLog& log) : FLog(log) {}
    bool PrintReportDialog() override { return Record("print"); }
    bool SaveReportZip() override { return Record("zip"); }
    bool EmailReport() override { return Record("mail"); }

private:
    bool Record(const char* what) {
        FLog.Calls.push_back(what);
        return FLog.Succeeds;
    }
    TDeliveryLog& FLog;
};

class Finish : public SolverTest {
protected:
    Finish() {
        SetProblemSolverDelivery([this](TfrmProblemSolver&) { return std::make_unique<TRecordingDelivery>(Log); });
    }
    ~Finish() override { SetProblemSolverDelivery({}); }

    // Walks to the report page with a contact choice and lets the script act there.
    int OnReportPage(TRadioButton TfrmProblemSolver::*contact, const std::function<void(TfrmProblemSolver&)>& script) {
        return Run([&](TfrmProblemSolver& s) {
            (s.*contact).SetChecked(true);
            WalkToPersonalInfo(s);
            Next(s);
            Next(s);
            ASSERT_EQ(Page(s), "Helpdeskrapport");
            script(s);
        });
    }

    TDeliveryLog Log;
};
}  // namespace

TEST_F(Finish, EachContactChoiceDeliversItsOwnWay) {
    const std::pair<TRadioButton TfrmProblemSolver::*, const char*> rows[] = {
        {&TfrmProblemSolver::optContactEmail, "mail"},
        {&TfrmProblemSolver::optContactMail, "zip"},
        {&TfrmProblemSolver::optContactFax, "print"},
        {&TfrmProblemSolver::optContactTelephone, "print"},
    };
    StoreUser({{"Tel", "030-1234567"}});
    for (auto [contact, delivery] : rows) {
        SCOPED_TRACE(delivery);
        Log.Calls.clear();
        TMessageRecorder boxes;
        EXPECT_EQ(OnReportPage(contact, [](TfrmProblemSolver& s) { Next(s); }), mrOk);
        EXPECT_EQ(Log.Calls, std::vector<std::string>{delivery});
        EXPECT_TRUE(boxes.Messages().empty());
        RemoveTree(Folder.Path() + "Reports");
    }
}

TEST_F(Finish, AFailedDeliveryKeepsTheWindowOpen) {
    Log.Succeeds = false;
    TMessageRecorder boxes;
    // Under the hook the modal loop ends after the script: a refused close leaves no result.
    EXPECT_EQ(OnReportPage(&TfrmProblemSolver::optContactMail, [](TfrmProblemSolver& s) { Next(s); }), mrNone);
    EXPECT_EQ(Log.Calls, std::vector<std::string>{"zip"});
}

TEST_F(Finish, ADeliveryFromTheToolBarIsNotRepeatedUntilThePageIsEnteredAgain) {
    TMessageRecorder boxes;
    OnReportPage(&TfrmProblemSolver::optContactEmail, [&](TfrmProblemSolver& s) {
        for (WORD key : {'E', 'S', 'P', 'X'}) {
            WORD k = key;
            s.FormKeyDown(&s, k, ssCtrl);
        }
        EXPECT_TRUE(s.MailedDone && s.SavedDone && s.PrintedDone);
        Back(s);
        Next(s);  // entering the report page again forgets what was done
        EXPECT_FALSE(s.MailedDone || s.SavedDone || s.PrintedDone);
        s.btnEMail.Click();
        Next(s);
    });
    EXPECT_EQ(Log.Calls, (std::vector<std::string>{"mail", "zip", "print", "mail"}));
}

TEST_F(Finish, WithoutInternetCtrlEMailsNothing) {
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        SendMessageW(s.chkIntroInternet.Handle(), BM_CLICK, 0, 0);
        Next(s);
        Next(s);
        Next(s);
        s.memoProblemDescription.SetText("Het sluit niet af.");
        for (int i = 0; i < 4; ++i) Next(s);
        ASSERT_EQ(Page(s), "Helpdeskrapport");
        WORD key = 'E';
        s.FormKeyDown(&s, key, ssCtrl);
        EXPECT_FALSE(s.MailedDone);
        s.WizardCancelButton()->Click();
    });
    EXPECT_TRUE(Log.Calls.empty());
}
