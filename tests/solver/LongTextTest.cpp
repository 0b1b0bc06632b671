// Long problem texts (a pasted log) reach the report whole; at the most a field takes, the user is
// told instead of losing the rest without a word.
#include <gtest/gtest.h>

#include "SolverTestSupport.h"
#include "core/StrConv.h"

namespace {
// As a paste: the edit box applies its limit to it.
void Paste(TCustomEdit& field, const std::string& text) {
    const std::wstring wide = Widen(text);
    const int end = GetWindowTextLengthW(field.Handle());
    SendMessageW(field.Handle(), EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(field.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}
}  // namespace

TEST_F(SolverTest, LongProblemTextsReachTheReportWhole) {
    std::string log;
    for (int i = 0; log.size() < 40000; ++i) log += "regel " + std::to_string(i) + " van het logboek; ";
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        WalkToPersonalInfo(s);
        Back(s);
        Back(s);
        ASSERT_EQ(Page(s), "Probleemomschrijving");
        s.memoProblemDescription.SetText("");
        Paste(s.memoProblemDescription, log);
        Paste(s.txtProblemErrorMessage, log);
        EXPECT_TRUE(boxes.Messages().empty());
        Next(s);
        Next(s);
        Next(s);
        ASSERT_EQ(Page(s), "Opslaan van gegevens");
        const THelpdeskReport stored("Reports\\Kasboek\\Report01", nullptr);
        EXPECT_TRUE(stored.ProblemLines == std::vector<std::string>{log});
        EXPECT_TRUE(stored.ErrorMessage == log) << stored.ErrorMessage.size();
        EXPECT_NE(ReadFileBytes(stored.CaseRtfPath()).find(log.substr(log.size() - 200)), std::string::npos);

        // The most a field takes: the rest of a paste is refused with a word.
        Back(s);
        Back(s);
        Back(s);
        s.txtProblemGoal.SetText(std::string(TfrmProblemSolver::ProblemTextLimit - 3, 'x'));
        Paste(s.txtProblemGoal, "0123456789");
        const std::string goal = s.txtProblemGoal.Text();
        EXPECT_EQ(goal.size(), static_cast<size_t>(TfrmProblemSolver::ProblemTextLimit));
        EXPECT_EQ(goal.substr(goal.size() - 5), "xx012");
        s.WizardCancelButton()->Click();
    });
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{"Dit veld kan niet meer dan 1000000 tekens bevatten. De tekst "
                                                      "is tot daar overgenomen."});
}
