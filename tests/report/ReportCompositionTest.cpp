// Gathering the report's sections on worker threads: the same lines as on the window's thread, and a
// collector that hangs given up with a notice. The window answering meanwhile and Cancel are tried in
// the problem solver's real modal loop (tests/solver/ComposingTest.cpp).
#include <gtest/gtest.h>

#include <atomic>

#include "ReportTestSupport.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportComposer.h"
#include "Source/Common/Helpdesk/ReportComposition.h"
#include "platform/Handles.h"

namespace {
// A collector that, while gathering, waits until the test lets it go: a network drive that does not
// answer. Shared with the worker thread that may outlive the composition.
struct TGate {
    TKernelHandle Entered{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    TKernelHandle Released{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> Runs{0};
};

class TGateCollector : public TTechInfo {
public:
    TGateCollector(std::string_view identifier, std::shared_ptr<TGate> gate) : TTechInfo(identifier), FGate(std::move(gate)) {}

protected:
    void GatherInfo() override {
        ++FGate->Runs;
        SetEvent(FGate->Entered.Get());
        WaitForSingleObject(FGate->Released.Get(), INFINITE);
    }
    const TStringList& BuildInfoText() override {
        Lines = {VerbatimLine("Het hek is open.")};
        return Lines;
    }

private:
    std::shared_ptr<TGate> FGate;
};

// Notes the thread it gathered on.
class TThreadNoting : public TTechInfo {
public:
    TThreadNoting(std::string_view identifier, bool windowThread, std::atomic<DWORD>& thread)
        : TTechInfo(identifier), FWindowThread(windowThread), FThread(thread) {}
    bool GathersOnWindowThread() const override { return FWindowThread; }

protected:
    void GatherInfo() override { FThread = GetCurrentThreadId(); }
    const TStringList& BuildInfoText() override {
        Lines = {VerbatimLine(Caption())};
        return Lines;
    }

private:
    bool FWindowThread;
    std::atomic<DWORD>& FThread;
};

// Puts a maker in place for one test.
struct TMakerScope {
    explicit TMakerScope(TCollectorMaker maker) { SetCollectorMaker(std::move(maker)); }
    ~TMakerScope() { SetCollectorMaker({}); }
};

// Each line up to its first tab: what stays when the values of a busy machine (free memory and disk
// space, the clock) move between two gatherings.
std::vector<std::string> Labels(const TStringList& lines) {
    std::vector<std::string> labels;
    for (const std::string& line : lines) labels.push_back(line.substr(0, line.find("\\tab")));
    return labels;
}

}  // namespace

class ReportComposition : public ReportTest {
protected:
    ReportComposition() {
        App.InstallLog().SetAsString(Folder.WriteFile("Kasboek\\install.log", "Installatie gestart\r\nKlaar\r\n"));
        for (const auto& collector : GetGeneralServiceItem().Collectors()) All.push_back(collector.get());
    }
    static TTechInfo& General(const char* identifier) {
        TTechInfoRefs found;
        FindCollector(GetGeneralServiceItem().Collectors(), identifier, found);
        return *found.at(0);
    }

    TTechInfoRefs All;
};

// Every collector gathers on a worker what it gathers on the window's thread, the application's log
// files included; the values that move on a busy machine are compared by their labels.
TEST_F(ReportComposition, WorkersGatherWhatTheWindowThreadGathers) {
    TReportComposition composition(All, &App);
    std::vector<std::pair<int, int>> progress;
    ASSERT_TRUE(composition.Gather([&](int done, int total) { progress.emplace_back(done, total); }));
    ASSERT_EQ(composition.Sections().size(), All.size());
    for (size_t i = 0; i < All.size(); ++i) {
        SCOPED_TRACE(All[i]->Identifier());
        const TStringList here = CollectTechInfoLines(*All[i], &App);
        const TStringList& there = composition.Sections()[i];
        EXPECT_FALSE(there.empty());
        const bool moves = All[i]->Identifier() == "SystemSummary" || All[i]->Identifier() == "WindowsMemory" ||
                           All[i]->Identifier() == "Drives";
        if (moves)
            EXPECT_EQ(Labels(there), Labels(here));
        else
            EXPECT_EQ(there, here);
    }
    EXPECT_NE(std::find(composition.Sections().back().begin(), composition.Sections().back().end(),
                        VerbatimLine("Installatie gestart")),
              composition.Sections().back().end())
        << "the install log, read on a worker";
    std::vector<std::pair<int, int>> expected;
    for (int done = 0; done <= static_cast<int>(All.size()); ++done) expected.emplace_back(done, static_cast<int>(All.size()));
    EXPECT_EQ(progress, expected);

    // The report composed from them is whole.
    THelpdeskReport report("Reports\\Kasboek\\Report01", AppRef);
    report.TechInfos = All;
    TUser user;
    ComposeReportText(report, user, composition.Sections());
    EXPECT_EQ(report.ReportText().Lines().back(), "\\par }");
    EXPECT_TRUE(report.IsFresh);
}

// A collector that does not answer is given up after the time limit with a notice in its section;
// the others are gathered meanwhile, and one that needs the window's thread gathers there.
TEST_F(ReportComposition, AHungCollectorIsGivenUpWithANotice) {
    auto gate = std::make_shared<TGate>();
    std::atomic<DWORD> videoThread{0}, regionalThread{0};
    TMakerScope maker([&](const TTechInfo& chosen) -> std::unique_ptr<TTechInfo> {
        if (chosen.Identifier() == "Drives") return std::make_unique<TGateCollector>("Drives", gate);
        if (chosen.Identifier() == "VideoSystem") return std::make_unique<TThreadNoting>("VideoSystem", true, videoThread);
        return std::make_unique<TThreadNoting>(chosen.Identifier(), false, regionalThread);
    });
    TReportComposition composition({&General("Drives"), &General("VideoSystem"), &General("RegionalSettings")}, &App);
    composition.TimeLimit = std::chrono::milliseconds(300);
    int lastDone = -1;
    ASSERT_TRUE(composition.Gather([&](int done, int) { lastDone = done; }));
    SetEvent(gate->Released.Get());  // the given-up thread ends now, on its own

    EXPECT_EQ(lastDone, 3);
    ASSERT_EQ(composition.Sections().size(), 3u);
    const TStringList& hung = composition.Sections()[0];
    ASSERT_FALSE(hung.empty());
    EXPECT_EQ(hung[0].rfind("\\par Deze gegevens konden niet worden verzameld: er kwam te lang geen antwoord", 0), 0u) << hung[0];
    EXPECT_EQ(composition.Sections()[1], TStringList{VerbatimLine("Beeldscherm")});
    EXPECT_EQ(composition.Sections()[2], TStringList{VerbatimLine("Landinstellingen")});
    EXPECT_EQ(videoThread, GetCurrentThreadId());
    EXPECT_NE(regionalThread, GetCurrentThreadId());
    EXPECT_NE(regionalThread, 0u);
}
