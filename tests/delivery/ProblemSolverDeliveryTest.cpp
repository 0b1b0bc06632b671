#include <gtest/gtest.h>

#include "../solver/SolverTestSupport.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/ReportDelivery.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "platform/gui/Dialogs.h"

namespace {
class ProblemSolverDelivery : public SolverTest {
protected:
    ProblemSolverDelivery() { RegisterReportDelivery(); }
    ~ProblemSolverDelivery() override {
        SetFileDialogHook({});
        SetProblemSolverDelivery({});
        SetReportPrinter({});
    }
};
}  // namespace

// The report page's buttons reach the delivery module: the saved archive holds the report as the
// window saved it just before, and a user who doubts the e-mail address, or has none, is back at the
// field.
TEST_F(ProblemSolverDelivery, ReportPageButtons) {
    const std::string archive = Folder / "uit\\Case.zip";
    ForceDirectories(Folder / "uit");
    SetFileDialogHook([&](const TFileDialogRequest&) -> std::optional<std::string> { return archive; });
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        WalkToPersonalInfo(s);
        const std::string nextCaption = s.NextButton()->Caption();
        Next(s);  // saving the data
        Next(s);  // the report page, with the composed report
        ASSERT_EQ(Page(s), "Helpdeskrapport");
        s.btnMail.Click();
        EXPECT_TRUE(s.SavedDone);
        boxes.Answer(IDNO);
        s.btnEMail.Click();
        EXPECT_FALSE(s.MailedDone);
        EXPECT_EQ(Page(s), "Persoonlijke gegevens");
        EXPECT_EQ(s.NextButton()->Caption(), nextCaption);
        EXPECT_TRUE(s.txtUserEmail.Focused());
        // Without an address (the report goes by letter), e-mail brings the user back to the field.
        s.optContactMail.SetChecked(true);
        s.txtUserEmail.SetText("");
        Next(s);
        Next(s);
        ASSERT_EQ(Page(s), "Helpdeskrapport");
        s.btnEMail.Click();
        EXPECT_FALSE(s.MailedDone);
        EXPECT_EQ(Page(s), "Persoonlijke gegevens");
        EXPECT_TRUE(s.txtUserEmail.Focused());
        s.WizardCancelButton()->Click();
    });
    ASSERT_GE(boxes.Texts().size(), 3u);
    EXPECT_EQ(boxes.Texts()[0], "Het Helpdeskrapport is opgeslagen voor verzending.");
    EXPECT_EQ(boxes.Messages()[1].Kind, TMsgKind::Question);
    EXPECT_EQ(boxes.Texts()[2], "U heeft geen e-mailadres opgegeven. De Brantel Helpdesk heeft uw e-mailadres nodig om "
                                "met u te communiceren.");
    const std::string bytes = ReadFileBytes(archive);
    EXPECT_NE(bytes.find("CASE.RTF"), std::string::npos);
    EXPECT_NE(bytes.find("CASE.INI"), std::string::npos);
}
