#include <gtest/gtest.h>

#include <algorithm>

#include "CollectorTestSupport.h"
#include "Source/Common/TechInfo/WindowsInfo.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/SysInfo.h"

namespace {
// A PC as the report should describe it: start-up shortcuts and commands, temporary files, a
// scandisk log, all in scratch folders and a sandboxed registry.
class WindowsInfoOnAPreparedPC : public testing::Test {
protected:
    void SetUp() override {
        Startup.WriteFile("Kasboek.lnk", "L");
        Startup.WriteFile("Agenda.lnk", "L");
        Startup.WriteFile("leesmij.txt", "geen snelkoppeling");
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", true));
        key.WriteString("StartUp", ExcludeTrailingBackslash(Startup.Path()));
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", true));
        key.WriteString("Virusscanner", "C:\\Scan\\scan.exe /auto");
        key.WriteInteger("Geen opdracht", 1);

        Temp.WriteFile("~a.tmp", "abc");
        Temp.WriteFile("~b.tmp", "vijf!");
        Temp.WriteFile("c.txt", "geen tijdelijk bestand");
        Tools.WriteFile("SCANDISK.LOG", "Schijf C: gecontroleerd\r\nGeen fouten {ok}\r\n");
    }

    TRegistrySandbox Registry;
    TScratchFolder Startup, Temp, Tools;
    TCurrentDirRestore CurrentDir;
};
}  // namespace

TEST(WindowsInfo, FileSearchTakesTheFirstFolderThatHasTheFile) {
    TScratchFolder first, second;
    first.WriteFile("a.log", "1");
    second.WriteFile("a.log", "2");
    second.WriteFile("b.log", "2");
    const std::string both = first.Path() + ";" + ExcludeTrailingBackslash(second.Path());
    struct {
        std::string name, list, expected;
    } cases[] = {
        {"a.log", both, first / "a.log"},
        {"b.log", both, second / "b.log"},
        {"b.log", ";;" + second.Path() + ";", second / "b.log"},
        {"c.log", both, ""},
        {"a.log", "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FileSearch(c.name, c.list), c.expected) << c.name << " in " << c.list;
}

TEST(WindowsInfo, LinesFromGivenFindings) {
    TWindowsInfo windows;
    windows.CollectInfo(nullptr);
    windows.VersionText = "Windows 98 4.10.2222 A";
    windows.WindowsFolder = "C:\\WINDOWS";
    windows.SystemFolder = "C:\\WINDOWS\\SYSTEM";
    windows.TempFolder = "C:\\WINDOWS\\TEMP\\";
    windows.SearchPath = "C:\\WINDOWS;C:\\{tools}";
    windows.Country = "Netherlands";
    windows.AnsiCodePage = 1252;
    windows.OemCodePage = 850;
    windows.DebugVersion = false;
    windows.SecurityPresent = true;
    windows.DbcsEnabled = false;
    windows.MidEastEnabled = false;
    windows.BootType = "Fail-safe boot";
    windows.StartupPrograms = {"Kasboek.lnk", "C:\\Scan\\scan.exe /auto"};
    windows.TempFiles = {"~a.tmp  Size: 3 bytes"};
    windows.TempFileCount = 1;
    windows.TempFileSize = 5000000000;  // past 32 bits
    windows.ScandiskLog = {"Geen fouten {ok}"};
    EXPECT_EQ(windows.GetInfoText(), (TStringList{
                                         "\\par Windows versie:\\tab Windows 98 4.10.2222 A",
                                         "\\par Debug versie:\\tab Nee",
                                         "\\par Security aanwezig:\\tab Ja",
                                         "\\par Double-Byte compatibiliteit:\\tab Nee",
                                         "\\par Midden-Oosten compatibiliteit:\\tab Nee",
                                         "\\par Boot Type:\\tab Fail-safe boot",
                                         "\\par Windows map:\\tab C:\\\\WINDOWS",
                                         "\\par Systeem map:\\tab C:\\\\WINDOWS\\\\SYSTEM",
                                         "\\par Temp map:\\tab C:\\\\WINDOWS\\\\TEMP\\\\",
                                         "\\par Programma pad:\\tab C:\\\\WINDOWS;C:\\\\\\{tools\\}",
                                         "\\par Land:\\tab Netherlands",
                                         "\\par Ansi codepagina:\\tab 1252",
                                         "\\par OEM codepagina:\\tab 850",
                                         "\\par",
                                         "\\par",
                                         "\\par Opstart programma's:",
                                         "\\par",
                                         "\\par",
                                         "Kasboek.lnk",
                                         "\\par",
                                         "C:\\\\Scan\\\\scan.exe /auto",
                                         "\\par",
                                         "\\par",
                                         "\\par Temp bestanden in C:\\\\WINDOWS\\\\TEMP\\\\:",
                                         "\\par",
                                         "\\par 1 tijdelijke bestanden met totale grootte: 5000000000 bytes.",
                                         "\\par",
                                         "\\par \\plain\\f3\\fs16\\b",
                                         "\\par Scandisk.log",
                                         "\\par \\plain\\f3\\fs16",
                                         "\\par Geen fouten \\{ok\\}",
                                         "\\par",
                                     }));
}

TEST_F(WindowsInfoOnAPreparedPC, GathersTheRealInstallation) {
    TEnvironment tmp(L"TMP", Temp.Path()), path(L"PATH", ExcludeTrailingBackslash(Tools.Path()) + ";C:\\windows");
    TWindowsInfo windows;
    windows.CollectInfo(nullptr);

    EXPECT_EQ(windows.VersionText.rfind("Windows NT ", 0), 0u) << windows.VersionText;
    EXPECT_TRUE(DirectoryExists(windows.WindowsFolder)) << windows.WindowsFolder;
    EXPECT_TRUE(DirectoryExists(windows.SystemFolder)) << windows.SystemFolder;
    EXPECT_TRUE(SameText(windows.TempFolder, Temp.Path())) << windows.TempFolder;
    EXPECT_EQ(windows.SearchPath, ExcludeTrailingBackslash(Tools.Path()) + ";C:\\windows");
    EXPECT_EQ(windows.Country, "Netherlands");
    EXPECT_EQ(windows.AnsiCodePage, 1252u);
    EXPECT_EQ(windows.OemCodePage, 850u);
    EXPECT_EQ(windows.BootType, "NT");
    EXPECT_FALSE(windows.SecurityPresent || windows.DbcsEnabled || windows.MidEastEnabled);

    ASSERT_EQ(windows.StartupPrograms.size(), 3u);
    TStringList shortcuts(windows.StartupPrograms.begin(), windows.StartupPrograms.begin() + 2);
    std::sort(shortcuts.begin(), shortcuts.end());
    EXPECT_EQ(shortcuts, (TStringList{"Agenda.lnk", "Kasboek.lnk"}));
    EXPECT_EQ(windows.StartupPrograms[2], "C:\\Scan\\scan.exe /auto");

    EXPECT_EQ(windows.TempFileCount, 2);
    EXPECT_EQ(windows.TempFileSize, 8);
    EXPECT_FALSE(SameText(IncludeTrailingBackslash(GetCurrentDir()), Temp.Path()));  // not left in use
    EXPECT_EQ(windows.ScandiskLog, (TStringList{"Schijf C: gecontroleerd", "Geen fouten {ok}"}));

    const TStringList& lines = windows.GetInfoText();
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("\\par Boot Type:\\tab NT"));
    EXPECT_TRUE(has("\\par Security aanwezig:\\tab Nee"));
    EXPECT_TRUE(has("\\par Double-Byte compatibiliteit:\\tab Nee"));
    EXPECT_TRUE(has("\\par Midden-Oosten compatibiliteit:\\tab Nee"));
    EXPECT_TRUE(has("\\par Temp map:\\tab " + RtfEscape(windows.TempFolder)));
    EXPECT_TRUE(has("\\par 2 tijdelijke bestanden met totale grootte: 8 bytes."));
    EXPECT_TRUE(has("C:\\\\Scan\\\\scan.exe /auto"));
    EXPECT_EQ(lines[lines.size() - 2], "\\par Geen fouten \\{ok\\}");
}

TEST_F(WindowsInfoOnAPreparedPC, MissingPiecesLeaveTheirPartsEmpty) {
    TRegKey::DeleteKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    TRegKey::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    TEnvironment tmp(L"TMP", Temp / "bestaat niet"), temp(L"TEMP", Temp / "bestaat ook niet");
    TEnvironment path(L"PATH", Temp.Path());
    TWindowsInfo windows;
    windows.CollectInfo(nullptr);
    EXPECT_TRUE(windows.StartupPrograms.empty());
    EXPECT_EQ(windows.TempFolder, "");
    EXPECT_EQ(windows.TempFileCount, 0);
    EXPECT_EQ(windows.TempFileSize, 0);
    EXPECT_TRUE(windows.ScandiskLog.empty());
    const TStringList& lines = windows.GetInfoText();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "\\par Temp map:\\tab "), 1);
    EXPECT_EQ(TStringList(lines.end() - 4, lines.end()),
              (TStringList{"\\par \\plain\\f3\\fs16\\b", "\\par Scandisk.log", "\\par \\plain\\f3\\fs16", "\\par"}));
}

TEST_F(WindowsInfoOnAPreparedPC, Windows9xFlagsComeFromTheSystemMetrics) {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", true));
    key.WriteString("productname", "Windows 98");
    TPlatformOverride win9x(false);
    TWindowsInfo windows;
    windows.CollectInfo(nullptr);
    EXPECT_EQ(windows.BootType, "Normal boot");  // no clean-boot mode here
    EXPECT_EQ(windows.VersionText, "Windows 98 " + GetWindowsVersionNumber());
    EXPECT_EQ(windows.GetInfoText()[5], "\\par Boot Type:\\tab Normal boot");
}
