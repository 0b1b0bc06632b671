// The report is composed while the wizard stays with the user: in its real modal loop the window
// answers while a collector works, and Cancel or closing the window then leaves the report as it
// was - a new one is not kept, a stored one keeps its files byte for byte.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SolverTestSupport.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Helpdesk/ReportComposition.h"
#include "platform/FileHelpers.h"
#include "platform/Handles.h"

namespace {
// The recommended category's collector waits, while it gathers, until the test lets it go.
class THeldCollector : public TTechInfo {
public:
    THeldCollector(HANDLE entered, HANDLE released) : TTechInfo("WindowsMemory"), FEntered(entered), FReleased(released) {}

protected:
    void GatherInfo() override {
        SetEvent(FEntered);
        WaitForSingleObject(FReleased, INFINITE);
    }
    const TStringList& BuildInfoText() override {
        Lines = {VerbatimLine("vastgehouden")};
        return Lines;
    }

private:
    HANDLE FEntered, FReleased;
};
}  // namespace

class Composing : public SolverTest {
protected:
    Composing() {
        SetCollectorMaker([this](const TTechInfo&) { return std::make_unique<THeldCollector>(Entered.Get(), Released.Get()); });
    }
    ~Composing() override {
        SetEvent(Entered.Get());
        SetEvent(Released.Get());
        if (User.joinable()) User.join();
        SetCollectorMaker({});
    }

    // What the user does on a second thread once the collector is at work: asks the window something
    // and closes it (answered synchronously, so the close is handled before the collector ends). The
    // answer must come before the composition would give the collector up.
    void UserWhileComposing(HWND window, HWND cancelButton, bool byTitleBar) {
        User = std::thread([=, this] {
            Started = WaitForSingleObject(Entered.Get(), 60000) == WAIT_OBJECT_0;
            DWORD_PTR ignored = 0;
            const UINT beforeGivingUp = static_cast<UINT>(CollectorTimeLimit.count() / 2);
            Answered = SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, beforeGivingUp, &ignored) != 0;
            if (byTitleBar)
                SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, 20000, &ignored);
            else
                SendMessageTimeoutW(cancelButton, BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored);
            SetEvent(Released.Get());
        });
    }

    TKernelHandle Entered{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    TKernelHandle Released{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::thread User;
    std::atomic<bool> Started{false}, Answered{false};
};

TEST_F(Composing, TheWindowAnswersAndCancelLeavesTheReportAsItWas) {
    struct {
        const char* Name;
        bool Stored;
        bool ByTitleBar;
    } rows[] = {{"a new report, Annuleren", false, false}, {"a stored report composed again, title bar", true, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        ResetEvent(Entered.Get());
        ResetEvent(Released.Get());
        Started = Answered = false;
        std::string rtf, ini;
        auto solver = CreateForm<TfrmProblemSolver>();
        std::vector<TStep> steps;
        const auto composeAndClose = [&](TfrmProblemSolver& s) {
            UserWhileComposing(s.Handle(), s.WizardCancelButton()->Handle(), row.ByTitleBar);
            Next(s);  // leaves the personal-data page: the report is composed
        };
        if (row.Stored) {
            Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.RTF", "{\\rtf1\\ansi\r\n\\par Eerder verzameld\r\n\\par }\r\n");
            Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.INI",
                             "[Case]\r\nProbleem=Het kasboek sluit niet af.\r\n[Techinfos]\r\nTI0=WindowsMemory\r\n");
            rtf = ReadFileBytes(ReportFolder() + "\\CASE.RTF");
            ini = ReadFileBytes(ReportFolder() + "\\CASE.INI");
            auto application = std::make_shared<TBranApplication>();
            application->Name().SetAsString("Kasboek");
            solver->OpenReport(std::make_shared<THelpdeskReport>("Reports\\Kasboek\\Report01", application));
            steps = {[](TfrmProblemSolver& s) {
                         Back(s);
                         Back(s);
                         ASSERT_EQ(Page(s), "Persoonlijke gegevens");
                     },
                     composeAndClose};
        } else {
            steps = {[](TfrmProblemSolver& s) { WalkToPersonalInfo(s); }, composeAndClose};
        }
        TMessageRecorder boxes;
        const int result = RunModal(*solver, steps);
        if (User.joinable()) User.join();

        EXPECT_TRUE(Started) << "the collector never started";
        EXPECT_TRUE(Answered) << "the window did not answer while the report was composed";
        EXPECT_EQ(result, mrCancel);
        EXPECT_TRUE(boxes.Messages().empty()) << boxes.Texts()[0];
        if (row.Stored) {
            EXPECT_EQ(ReadFileBytes(ReportFolder() + "\\CASE.RTF"), rtf);
            EXPECT_EQ(ReadFileBytes(ReportFolder() + "\\CASE.INI"), ini);
        } else {
            EXPECT_FALSE(DirectoryExists(ReportFolder())) << "a report cancelled while composed was kept";
        }
        solver.reset();
        RemoveTree(Folder.Path() + "Reports");
    }
}
