#include <gtest/gtest.h>

#include <algorithm>

#include "CollectorTestSupport.h"
#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/TechInfo/LogFilesInfo.h"
#include "Source/Common/TechInfo/SystemFilesInfo.h"
#include "TestSupport.h"
#include "platform/Files.h"

namespace {
const char* Notice = "Bestand is groter dan 200 Kb en zal niet worden opgenomen in het rapport.";

// An application whose installation log lies in `folder`, with a program log elsewhere.
class LogFiles : public testing::Test {
protected:
    LogFiles() {
        Folder.WriteFile("install.log", "Installatie {gestart}\r\nC:\\Brantel\\Kasboek\r\n");
        Folder.WriteFile("fouten.log", "Fout \xe9\xe9n\r\n");  // Windows-1252: "één"
        Folder.WriteFile("leesmij.txt", "geen log");
        Folder.WriteFile("net.log", std::string(204287, 'x'));   // 199.499 Kb: copied
        Folder.WriteFile("groot.log", std::string(204288, 'y'));  // 199.5 Kb, rounds to 200: left out
        Elsewhere.WriteFile("Kasboek.txt", "Programma gestart\r\n");
        App.InstallLog().SetAsString(Folder / "install.log");
        App.ProgramLog().SetAsString(Elsewhere / "Kasboek.txt");
    }
    TAppModel& Model = BranModel();  // before any item is made
    TCurrentDirRestore CurrentDir;
    TScratchFolder Folder, Elsewhere;
    TBranApplication App;
};

TStringList Verbatim(const TStringList& entries) {
    TStringList lines;
    for (const std::string& entry : entries) lines.push_back(VerbatimLine(entry));
    lines.push_back("\\par");
    return lines;
}
}  // namespace

TEST_F(LogFiles, EveryLogOfTheFolderThenTheProgramLog) {
    TLogFilesInfo logs;
    logs.CollectInfo(&App);
    // The block of a file: an empty line, its name, then the notice or its lines between empty ones.
    auto block = [&](const std::string& name, size_t size) {
        auto at = std::find(logs.LogContent.begin(), logs.LogContent.end(), name);
        if (at == logs.LogContent.end() || at == logs.LogContent.begin() || logs.LogContent.end() - at < static_cast<long>(size) - 1)
            return TStringList{"not found: " + name};
        return TStringList(at - 1, at - 1 + static_cast<long>(size));
    };
    EXPECT_EQ(block("groot.log", 4), (TStringList{"", "groot.log", Notice, ""}));
    EXPECT_EQ(block("install.log", 6),
              (TStringList{"", "install.log", "", "Installatie {gestart}", "C:\\Brantel\\Kasboek", ""}));
    EXPECT_EQ(block("fouten.log", 5), (TStringList{"", "fouten.log", "", "Fout één", ""}));
    EXPECT_EQ(block("net.log", 5), (TStringList{"", "net.log", "", std::string(204287, 'x'), ""}));
    // The program log lies elsewhere: it comes last, under its full path. The installation log is
    // in the folder listing already and is not copied a second time.
    EXPECT_EQ(TStringList(logs.LogContent.end() - 5, logs.LogContent.end()),
              (TStringList{"", Elsewhere / "Kasboek.txt", "", "Programma gestart", ""}));
    EXPECT_EQ(logs.LogContent.size(), 4u + 6 + 5 + 5 + 5);

    // Copied literally: braces and backslashes are escaped in the report.
    const TStringList& lines = logs.GetInfoText();
    EXPECT_EQ(lines, Verbatim(logs.LogContent));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\\par Installatie \\{gestart\\}"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\\par C:\\\\Brantel\\\\Kasboek"), lines.end());

    // A second collection gives the same section.
    const TStringList first = lines;
    logs.CollectInfo(&App);
    EXPECT_EQ(logs.GetInfoText(), first);
}

TEST_F(LogFiles, InstallationLogNotNamedLogAndMissingFolders) {
    Folder.WriteFile("setup.txt", "Setup\r\n");
    App.InstallLog().SetAsString(Folder / "setup.txt");
    App.ProgramLog().SetAsString(Elsewhere / "ontbreekt.log");
    TLogFilesInfo logs;
    logs.CollectInfo(&App);
    // The installation log is not "*.log": it comes after the folder's logs under its full path;
    // the missing program log is left out.
    EXPECT_EQ(TStringList(logs.LogContent.end() - 4, logs.LogContent.end()),
              (TStringList{Folder / "setup.txt", "", "Setup", ""}));
    EXPECT_EQ(std::count(logs.LogContent.begin(), logs.LogContent.end(), Elsewhere / "ontbreekt.log"), 0);

    App.InstallLog().SetAsString(Folder / "weg\\install.log");
    logs.CollectInfo(&App);
    EXPECT_TRUE(logs.LogContent.empty());
    EXPECT_TRUE(logs.GetInfoText().empty());
    logs.CollectInfo(nullptr);
    EXPECT_TRUE(logs.GetInfoText().empty());
}

TEST(SystemFiles, FoundAlongTheSearchPathInTheirOrder) {
    TScratchFolder first, second;
    TCurrentDirRestore currentDir;
    first.WriteFile("CONFIG.SYS", "DEVICE=C:\\DOS\\HIMEM.SYS\r\nFILES={40}\r\n");
    second.WriteFile("config.sys", "FILES=10\r\n");
    second.WriteFile("autoexec.bat", "@ECHO OFF\r\n");
    first.WriteFile("win.ini", "[windows]\r\n");
    second.WriteFile("system.ini", "");  // found, but empty: no heading
    TEnvironment path(L"PATH", ExcludeTrailingBackslash(first.Path()) + ";" + second.Path());
    TSystemFilesInfo files;
    files.CollectInfo(nullptr);
    // c:\ comes first; a PC under test may have its own there.
    if (FileExists("c:\\autoexec.bat") || FileExists("c:\\config.sys") || FileExists("c:\\win.ini"))
        GTEST_SKIP() << "c:\\ has start-up files of its own";
    EXPECT_EQ(files.ConfigSys, (TStringList{"DEVICE=C:\\DOS\\HIMEM.SYS", "FILES={40}"}));
    EXPECT_EQ(files.AutoexecBat, TStringList{"@ECHO OFF"});
    EXPECT_TRUE(files.SystemIni.empty());
    EXPECT_EQ(files.WinIni, TStringList{"[windows]"});
    EXPECT_EQ(files.GetInfoText(), (TStringList{
                                       "\\par \\plain\\f3\\fs16\\b",
                                       "\\par autoexec.bat",
                                       "\\par \\plain\\f3\\fs16",
                                       "\\par @ECHO OFF",
                                       "\\par",
                                       "\\par \\plain\\f3\\fs16\\b",
                                       "\\par config.sys",
                                       "\\par \\plain\\f3\\fs16",
                                       "\\par DEVICE=C:\\\\DOS\\\\HIMEM.SYS",
                                       "\\par FILES=\\{40\\}",
                                       "\\par",
                                       "\\par \\plain\\f3\\fs16\\b",
                                       "\\par win.ini",
                                       "\\par \\plain\\f3\\fs16",
                                       "\\par [windows]",
                                       "\\par",
                                   }));
}

TEST(SystemFiles, TheWindowsFoldersOwnFiles) {
    TSystemFilesInfo files;
    files.CollectInfo(nullptr);
    // Wine keeps system.ini and win.ini in its Windows folder, which is on the search path.
    const std::string systemIni = IncludeTrailingBackslash(GetWindowsFolder()) + "system.ini";
    ASSERT_TRUE(FileExists(systemIni));
    EXPECT_EQ(files.SystemIni, ReadFileLines(systemIni));
    const std::string brantel = IncludeTrailingBackslash(GetWindowsFolder()) + "brantel.ini";
    EXPECT_EQ(files.BrantelIni.empty(), !FileExists(brantel));
    const TStringList& lines = files.GetInfoText();
    const bool hasSystemIni = std::find(lines.begin(), lines.end(), "\\par system.ini") != lines.end();
    EXPECT_EQ(hasSystemIni, !files.SystemIni.empty());
}
