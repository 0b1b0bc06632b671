// How the item list scales with the number of installed applications: a benchmark, not a timed
// test. The ctest run uses the small sizes; the full run is
//     BRAN_BENCH_FULL=1 wine test_discoverybench.exe
// and prints the time per CollectServiceItems call for 10, 100 and 1,000 registered applications
// next to 50 legacy lines.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "Source/Common/BranModel.h"
#include "Source/Common/Discovery.h"
#include "Source/Common/ServiceItems.h"
#include "TestSupport.h"
#include "core/Format.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
constexpr int LegacyLines = 50;

void WriteApplications(int count) {
    for (int i = 0; i < count; ++i) {
        const std::string app = Format("Software\\Brantel\\App%.4d", {i});
        TRegKey key;
        key.Open(HKEY_LOCAL_MACHINE, app, true);
        key.WriteString("CurrentVersion", "1.0");
        key.Open(HKEY_LOCAL_MACHINE, app + "\\1.0", true);
        key.WriteString("CurrentLanguage", "NL");
        key.Open(HKEY_LOCAL_MACHINE, app + "\\1.0\\TechInfo", true);
        key.WriteString("Printer", "True");
        key.WriteString("Drives", "True");
        key.Open(HKEY_LOCAL_MACHINE, app + "\\1.0\\NL", true);
        key.WriteString("", Format("Brantel Applicatie %d", {i}));
        key.WriteString("ReleaseVersion", "1.0.0");
        key.WriteString("ReleaseDate", "19990131");
        key.WriteString("HelpFile", "C:\\Brantel\\app.hlp");
        key.WriteString("UninstallKey", "Ontbreekt");
        key.WriteString("HelpdeskEmailAddress", "helpdesk@brantel.nl");
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
    std::printf("%12s %14s %18s\n", "applications", "ms per call", "us per application");
    for (int size : sizes) {
        TRegistrySandbox sandbox;
        WriteApplications(size);
        const int calls = size >= 1000 ? 3 : 10;
        double totalMs = 0;
        for (int call = 0; call < calls; ++call) {
            TServiceItemList list;
            const auto start = std::chrono::steady_clock::now();
            CollectServiceItems(list);
            totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            ASSERT_EQ(list.size(), static_cast<size_t>(size + LegacyLines + 1));
        }
        const double perCall = totalMs / calls;
        std::printf("%12d %14.2f %18.1f\n", size, perCall, 1000.0 * perCall / (size + LegacyLines));
    }

    FileDelete(iniPath);
    if (hadIni) WriteFileBytes(iniPath, savedIni);
}
