// How long a helpdesk report takes to compose with every category ticked: each collector's own
// collection and rendering, then one whole composition of CASE.RTF. A benchmark, not a test: it
// asserts nothing and is not run by ctest. Run it under Wine from the build folder:
//     wine bench_compose.exe
// The processor identification measures the clock for one second of its own (inside the system
// summary); everything beyond that second is the composition's cost.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportComposer.h"
#include "TestSupport.h"
#include "platform/Files.h"  // SetProgramFolder

namespace {
using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
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
    ComposeReport(report, user);
    const double whole = MillisecondsSince(start);
    std::printf("%-20s %10.1f %8u collectors\n", "ComposeReport", whole, static_cast<unsigned>(collectors.size()));
    std::printf("%-20s %10.1f\n", "beyond 1 s clock", whole - 1000.0);
    SetProgramFolder("");
    return 0;
}
