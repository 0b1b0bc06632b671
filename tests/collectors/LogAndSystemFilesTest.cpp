#include <gtest/gtest.h>

#include <algorithm>

#include "CollectorTestSupport.h"
#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/TechInfo/LogFilesInfo.h"
#include "Source/Common/TechInfo/SystemFilesInfo.h"
#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/Handles.h"

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
    // The block of a file in LogContent: an empty line, its name, then the notice or its lines
    // between empty ones.
    TStringList Block(const TLogFilesInfo& logs, const std::string& name, size_t size) const {
        const TStringList& content = logs.LogContent;
        auto at = std::find(content.begin(), content.end(), name);
        if (at == content.end() || at == content.begin() || content.end() - at < static_cast<long>(size) - 1)
            return TStringList{"not found: " + name};
        return TStringList(at - 1, at - 1 + static_cast<long>(size));
    }

    TAppModel& Model = BranModel();  // before any item is made
    TCurrentDirRestore CurrentDir;
    TScratchFolder Folder, Elsewhere;
    TBranApplication App;
};

// Sets a file's last-write time to `minutesAgo` before now.
void Age(const std::string& path, int minutesAgo) {
    TKernelHandle file(CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                   nullptr));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
    time.QuadPart -= static_cast<ULONGLONG>(minutesAgo) * 60 * 10000000;
    const FILETIME then{time.LowPart, time.HighPart};
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &then)) << path;
}

TStringList Verbatim(const TStringList& entries) {
    TStringList lines;
    for (const std::string& entry : entries) lines.push_back(VerbatimLine(entry));
    lines.push_back("\\par");
    return lines;
}
}  // namespace

TEST_F(LogFiles, EveryLogOfTheFolderThenTheProgramLog) {
    TLogFilesInfo logs;
    const std::string before = GetCurrentDir();
    logs.CollectInfo(&App);
    // The log folder is not left in use: an uninstaller could not remove it.
    EXPECT_EQ(GetCurrentDir(), before);
    auto block = [&](const std::string& name, size_t size) { return Block(logs, name, size); };
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

// What other programs leave in a log folder: other encodings, files held open, files that are no
// text. Each file is shown as text or replaced by a notice; none ends the collection.
TEST_F(LogFiles, EachFileDecodedOrReplacedByANotice) {
    const std::string utf16le = std::string("\xFF\xFE") + std::string("F\0o\0u\0t\0 \0\xE9\0\xE9\0n\0\r\0\n\0{\0\\\0}\0", 26);
    const std::string utf16be = std::string("\xFE\xFF") + std::string("\0F\0o\0u\0t\0 \0\xE9\0\xE9\0n", 16);
    std::string binary;
    for (int i = 0; i < 3000; ++i) binary += static_cast<char>((i * 7919) % 256);
    struct {
        const char* name;
        std::string bytes;
        TStringList shown;  // the block after the name: the lines between empty ones, or the notice
    } cases[] = {
        {"utf8.log", "Fout \xC3\xA9\xC3\xA9n\n\xE2\x82\xAC 5", {"", "Fout één", "€ 5", ""}},
        {"utf8bom.log", "\xEF\xBB\xBF" "\xC3\xA9\xC3\xA9n\r\n", {"", "één", ""}},
        {"utf16le.log", utf16le, {"", "Fout één", "{\\}", ""}},
        {"utf16be.log", utf16be, {"", "Fout één", ""}},
        {"ansi.log", "Fout \xE9\xE9n\r\n", {"", "Fout één", ""}},
        // A stray control character does not make a log binary; the report shows "?" for it.
        {"bel.log", std::string("Piep\x07 klaar: de taak is zonder fouten afgerond\0", 47),
         {"", std::string("Piep\x07 klaar: de taak is zonder fouten afgerond\0", 47), ""}},
        {"binair.log", binary, {"Bestand bevat geen tekst en zal niet worden opgenomen in het rapport.", ""}},
        {"zonderbom.log", std::string("l\0o\0g\0\r\0\n\0", 10),
         {"Bestand bevat geen tekst en zal niet worden opgenomen in het rapport.", ""}},
        {"bezet.log", "wordt nu geschreven", {"Bestand kan niet worden gelezen en zal niet worden opgenomen in het rapport.", ""}},
    };
    for (const auto& c : cases) Folder.WriteFile(c.name, c.bytes);
    // Held open by its program without sharing.
    TKernelHandle locked(CreateFileW(Widen(Folder / "bezet.log").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked.IsValid());
    TLogFilesInfo logs;
    logs.CollectInfo(&App);
    for (const auto& c : cases) {
        TStringList expected{"", c.name};
        expected.insert(expected.end(), c.shown.begin(), c.shown.end());
        EXPECT_EQ(Block(logs, c.name, expected.size()), expected) << c.name;
    }
    // The other files are there as before; the RTF holds no control character but the line breaks.
    EXPECT_EQ(Block(logs, "install.log", 6),
              (TStringList{"", "install.log", "", "Installatie {gestart}", "C:\\Brantel\\Kasboek", ""}));
    const std::string rtf = RtfFileBytes(logs.GetInfoText());
    EXPECT_EQ(std::count_if(rtf.begin(), rtf.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x20 && ch != '\r' && ch != '\n'; }), 0);
    EXPECT_NE(rtf.find("\\par Piep? klaar: de taak is zonder fouten afgerond?\r\n"), std::string::npos);
}

// 300 logs just under the limit of one file would make a report that no mail server or floppy
// takes: past 1 Mb in all, the application's own logs and then the newest go first.
TEST_F(LogFiles, AllLogsTogetherStayWithinOneMegabyte) {
    FileDelete(Folder / "net.log");
    const std::string block(190000, 'r');
    for (int i = 0; i < 8; ++i) {
        const std::string name = "run" + std::to_string(i) + ".log";
        Folder.WriteFile(name, block);
        Age(Folder / name, 10 + i);  // run0.log is the newest
    }
    Folder.WriteFile("klein.log", std::string(50000, 'k'));  // the oldest, but it still fits
    Age(Folder / "klein.log", 100);
    Age(Folder / "install.log", 1000);
    Age(Folder / "fouten.log", 1000);
    TLogFilesInfo logs;
    logs.CollectInfo(&App);
    const char* leftOut = "De log bestanden samen zijn groter dan 1 Mb: dit bestand zal niet worden opgenomen in het rapport.";
    // The application's own logs are small; five runs of 190,000 bytes fit after them, and klein.log
    // in what is left.
    for (int i = 0; i < 8; ++i) {
        const std::string name = "run" + std::to_string(i) + ".log";
        EXPECT_EQ(Block(logs, name, 4), (i < 5 ? TStringList{"", name, "", block} : TStringList{"", name, leftOut, ""}))
            << name;
    }
    EXPECT_EQ(Block(logs, "klein.log", 4), (TStringList{"", "klein.log", "", std::string(50000, 'k')}));
    EXPECT_EQ(Block(logs, "groot.log", 3), (TStringList{"", "groot.log", Notice}));
    EXPECT_EQ(Block(logs, "install.log", 4), (TStringList{"", "install.log", "", "Installatie {gestart}"}));
    size_t bytes = 0;
    for (const std::string& line : logs.LogContent) bytes += line.size();
    EXPECT_LE(bytes, 1048576u);
}

// A program log that shares its name with a file of the log folder is another file all the same.
TEST_F(LogFiles, AProgramLogOfTheSameNameElsewhere) {
    Folder.WriteFile("Kasboek.log", "in de log map\r\n");
    Elsewhere.WriteFile("Kasboek.log", "naast het programma\r\n");
    App.ProgramLog().SetAsString(Elsewhere / "Kasboek.log");
    TLogFilesInfo logs;
    logs.CollectInfo(&App);
    EXPECT_EQ(Block(logs, "Kasboek.log", 5), (TStringList{"", "Kasboek.log", "", "in de log map", ""}));
    EXPECT_EQ(Block(logs, Elsewhere / "Kasboek.log", 5),
              (TStringList{"", Elsewhere / "Kasboek.log", "", "naast het programma", ""}));
    // The installation log named with another spelling of its path is still listed once.
    App.InstallLog().SetAsString(Folder / "..\\" + ExtractFileName(ExcludeTrailingBackslash(Folder.Path())) + "\\INSTALL.LOG");
    logs.CollectInfo(&App);
    EXPECT_EQ(std::count(logs.LogContent.begin(), logs.LogContent.end(), "Installatie {gestart}"), 1);
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
    EXPECT_EQ(files.SystemIni, ReadTextLines(systemIni));  // Wine writes it in ASCII
    const std::string brantel = IncludeTrailingBackslash(GetWindowsFolder()) + "brantel.ini";
    EXPECT_EQ(files.BrantelIni.empty(), !FileExists(brantel));
    const TStringList& lines = files.GetInfoText();
    const bool hasSystemIni = std::find(lines.begin(), lines.end(), "\\par system.ini") != lines.end();
    EXPECT_EQ(hasSystemIni, !files.SystemIni.empty());
}
