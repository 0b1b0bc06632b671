// How the item list scales with the number of installed applications: a benchmark, not a timed
// test. The ctest run uses the small sizes; the full run (`make bench` runs it) is
//     BRAN_BENCH_FULL=1 wine test_discoverybench.exe
// and prints the time per CollectServiceItems call for 10, 100 and 1,000 registered applications
// next to 50 legacy lines: the fastest, middle and slowest of several calls, since a shared machine
// slows some of them. Then what one registry request costs: an application with a language key of six
// values and two technical-information values takes 23 of them (open, read and close of four keys,
// the uninstall entry, its name in the enumeration), which is all its time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "SampleApplication.h"
#include "Source/Common/Catalogue/Discovery.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Shell/BranModel.h"
#include "TestSupport.h"
#include "core/Format.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
constexpr int LegacyLines = 50;

void WriteApplications(int count) {
    for (int i = 0; i < count; ++i) {
        RegisterApplication({.Key = Format("App%.4d", {i}),
                             .Version = "1.0",
                             .Values = {{"", Format("Brantel Applicatie %d", {i})},
                                        {"ReleaseVersion", "1.0.0"},
                                        {"ReleaseDate", "19990131"},
                                        {"HelpFile", "C:\\Brantel\\app.hlp"},
                                        {"UninstallKey", "Ontbreekt"},
                                        {"HelpdeskEmailAddress", "helpdesk@brantel.nl"}},
                             .TechInfos = {"Printer", "Drives"}});
    }
}

std::string LegacyIni() {
    const char* identifiers[] = {"Boekhouden 4.0", "Adresboek 95", "Typcursus 2.0", "Pianoles 1.0", "Rekenen 98"};
    std::string text = "[ProgInfo]\r\n";
    for (int i = 0; i < LegacyLines; ++i) text += Format("Prog%d=%s,S%d\r\n", {i, identifiers[i % 5], i});
    for (int i = 0; i < LegacyLines; ++i) text += Format("[S%d]\r\nReleaseVersion=1.%d\r\nInstallLog=C:\\S%d.LOG\r\n", {i, i, i});
    return text;
}
}  // namespace

TEST(DiscoveryBenchmark, CollectServiceItemsGrowsLinearly) {
    static auto model = BuildBranServiceModel();
    const std::string iniPath = GetWindowsFolder() + "\\BRANTEL.INI";
    const bool hadIni = FileExists(iniPath);
    const std::string savedIni = hadIni ? ReadFileBytes(iniPath) : std::string();
    WriteFileBytes(iniPath, LegacyIni());

    std::vector<int> sizes = {10, 100};
    if (std::getenv("BRAN_BENCH_FULL")) sizes.push_back(1000);
    std::printf("discovery with %d legacy lines, ms per call   min median    max   us per item (median)\n",
                LegacyLines);
    for (int size : sizes) {
        TRegistrySandbox sandbox;
        WriteApplications(size);
        std::vector<double> ms;
        for (int call = 0; call < (size >= 1000 ? 5 : 10); ++call) {
            TServiceItemList list;
            const auto start = std::chrono::steady_clock::now();
            CollectServiceItems(list);
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            ASSERT_EQ(list.size(), static_cast<size_t>(size + LegacyLines + 1));
        }
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        std::printf("  %5d applications %25.1f %6.1f %6.1f %11.0f\n", size, ms.front(), median, ms.back(),
                    1000.0 * median / (size + LegacyLines));
    }

    // Discovery is a chain of registry requests; what one costs here says how far code can go.
    const TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "Software");
    const auto start = std::chrono::steady_clock::now();
    constexpr int Requests = 5000;
    for (int i = 0; i < Requests; ++i) key.ValueExists("Ontbreekt");
    std::printf("  one registry request (a value that is not there): %.1f us\n",
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() / Requests);

    FileDelete(iniPath);
    if (hadIni) WriteFileBytes(iniPath, savedIni);
}
