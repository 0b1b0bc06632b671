// How long a helpdesk report takes to compose with every category ticked: each collector's own
// collection and rendering one after the other, then one whole composition as the problem solver
// does it (the collectors on worker threads, this thread handling its messages meanwhile) and the
// longest this thread went without looking at its messages. A benchmark, not a test: it asserts
// nothing and is not run by ctest. Run it under Wine from the build folder:
//     wine bench_compose.exe
// The processor identification measures the clock for one second of its own (inside the system
// summary); everything beyond that second is the composition's cost.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportComposer.h"
#include "Source/Common/Helpdesk/ReportComposition.h"
#include "TestSupport.h"
#include "platform/Files.h"  // SetProgramFolder

namespace {
using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

TClock::time_point LastTick;
double LongestGap = 0;
void CALLBACK NoteTick(HWND, UINT, UINT_PTR, DWORD) {
    LongestGap = std::max(LongestGap, MillisecondsSince(LastTick));
    LastTick = TClock::now();
}
}  // namespace

int wmain() {
    TAppModel& model = BranModel();
    (void)model;
    TScratchFolder folder;
    SetProgramFolder(folder.Path());
    auto appRef = std::make_shared<TBranApplication>();  // reports hold their application
    TBranApplication& app = *appRef;
    app.Name().SetAsString("Kasboek");
    app.Build().SetAsString("3.1");
    const std::string reportFolder = "Reports\\Kasboek\\Report01";
    ForceDirectories(folder / reportFolder);
    const std::string log = folder.WriteFile("Kasboek\\install.log", "Installatie gestart\r\nKlaar\r\n");
    app.InstallLog().SetAsString(log);

    const TTechInfoList& collectors = GetGeneralServiceItem().Collectors();
    std::printf("%-20s %10s %8s\n", "collector", "ms", "lines");
    double sum = 0;
    for (const auto& collector : collectors) {
        const auto start = TClock::now();
        collector->CollectInfo(&app);
        const size_t lines = collector->GetInfoText().size();
        const double ms = MillisecondsSince(start);
        sum += ms;
        std::printf("%-20s %10.1f %8u\n", collector->ClassName().c_str(), ms, static_cast<unsigned>(lines));
    }
    std::printf("%-20s %10.1f\n", "sum", sum);

    THelpdeskReport report(reportFolder, appRef);
    TUser user;
    for (const auto& collector : collectors) report.TechInfos.push_back(collector.get());
    const auto start = TClock::now();
    TReportComposition composition(report.TechInfos, &app);
    // A timer of this thread: the gaps between its ticks are how long a window would have waited.
    LastTick = TClock::now();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, NoteTick);
    composition.Gather();
    KillTimer(nullptr, timer);
    ComposeReportText(report, user, composition.Sections());
    report.SaveReportText();
    const double whole = MillisecondsSince(start);
    std::printf("%-20s %10.1f %8u collectors\n", "ComposeReport", whole, static_cast<unsigned>(collectors.size()));
    std::printf("%-20s %10.1f\n", "beyond-1s-clock", whole - 1000.0);
    std::printf("%-20s %10.1f\n", "longest-unanswered", std::max(LongestGap, MillisecondsSince(LastTick)));
    SetProgramFolder("");
    return 0;
}
