#include <gtest/gtest.h>

#include "ReportTestSupport.h"
#include "Source/Common/Helpdesk/ReportFolders.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"

namespace {
void SetWriteTime(const std::string& path, int daysAgo) {
    HANDLE h = CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= static_cast<ULONGLONG>(daysAgo) * 864000000000ULL;
    FILETIME ft{t.LowPart, t.HighPart};
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

using ReportFolders = ReportTest;
}  // namespace

TEST_F(ReportFolders, NextFolderFillsTheFirstGap) {
    for (const char* n : {"Report01", "Report02", "Report03"}) ForceDirectories(Folder / ("Reports\\Kasboek\\" + std::string(n)));
    RemoveDir(Folder / "Reports\\Kasboek\\Report02");
    EXPECT_EQ(NextReportFolder("Reports\\Kasboek"), "\\Report02");
    EXPECT_EQ(NextReportFolder("Reports\\Nieuw"), "\\Report01");
    EXPECT_TRUE(DirectoryExists(Folder / "Reports\\Nieuw"));
}

TEST_F(ReportFolders, AllNinetyNineTakenReusesTheLeastRecentlyWritten) {
    const std::string base = Folder / "Reports\\Kasboek\\";
    for (int n = 1; n <= 99; ++n) {
        std::string dir = base + "Report" + PadLeft(n, 2, '0');
        ForceDirectories(dir);
        SetWriteTime(dir, n == 42 ? 400 : 1);
    }
    Folder.WriteFile("Reports\\Kasboek\\Report42\\CASE.RTF", "oud");
    SetWriteTime(base + "Report42", 400);
    EXPECT_EQ(NextReportFolder("Reports\\Kasboek"), "\\Report42");
    EXPECT_FALSE(DirectoryExists(base + "Report42"));
    EXPECT_TRUE(DirectoryExists(base + "Report41"));
}

TEST_F(ReportFolders, HostileApplicationNamesStayInsideTheReportStore) {
    struct {
        const char* name;
        const char* folder;
    } cases[] = {
        {"Kasboek 2000", "Kasboek 2000"}, {"..", "_"},       {".", "_"},        {"..\\..\\Windows", ".._.._Windows"},
        {"a/b", "a_b"},                   {"con:", "con_"}, {"Adres...  ", "Adres"}, {"", "_"},
        {"\"x\"<y>|*?", "_x__y____"},
        // Windows keeps these names for its devices, also with an extension or blanks after them.
        {"Aux", "Aux_"},                  {"con", "con_"},  {"Nul ", "Nul_"},       {"PRN.", "PRN_"},
        {"Com1", "Com1_"},                {"LPT9.boek", "LPT9_.boek"},             {"aux .x", "aux _.x"},
        {"COM10", "COM10"},               {"LPT0", "LPT0"}, {"Auxiliair", "Auxiliair"},
    };
    for (const auto& c : cases) EXPECT_EQ(SafeFolderName(c.name), c.folder) << c.name;
    EXPECT_EQ(ReportBaseFolder(""), "Reports\\Unknown");

    // A report created for a hostile name lands below Reports and nowhere else.
    std::string base = ReportBaseFolder("..\\..\\Windows");
    std::string name = NextReportFolder(base);
    const std::string store = ExpandFileName(Folder.Path() + "Reports\\");
    EXPECT_EQ(ExpandFileName(Folder.Path() + base + name).rfind(store, 0), 0u);
    EXPECT_TRUE(DirectoryExists(Folder / "Reports\\.._.._Windows"));
}

// Every name the user can type gets a report of its own: device names and names too long for a path.
TEST_F(ReportFolders, ReservedAndLongNamesGetAFolderOfTheirOwn) {
    const std::string longA = std::string(100, 'a'), longB = std::string(99, 'a') + "b";
    std::string accented;
    for (int i = 0; i < 70; ++i) accented += "\xc3\xa9";  // é
    std::vector<std::string> bases;
    for (const std::string& name : {std::string("Aux"), std::string("COM1"), std::string("Lpt9.boek"), longA, longB, accented}) {
        SCOPED_TRACE(name);
        const std::string folder = SafeFolderName(name);
        const std::wstring wide = Widen(folder);  // whole characters only
        EXPECT_LE(wide.size(), 64u);
        EXPECT_EQ(Narrow(wide), folder);
        const std::string base = ReportBaseFolder(name);
        const std::string report = Folder.Path() + base + NextReportFolder(base);
        ASSERT_TRUE(ForceDirectories(report));
        WriteFileBytes(report + "\\CASE.RTF", name);
        EXPECT_EQ(ReadFileBytes(report + "\\CASE.RTF"), name);
        bases.push_back(base);
    }
    EXPECT_EQ(SafeFolderName(longA).substr(0, 55), std::string(55, 'a'));
    std::sort(bases.begin(), bases.end());
    EXPECT_EQ(std::unique(bases.begin(), bases.end()), bases.end()) << "two names share a folder";
}

TEST_F(ReportFolders, FileRoutines) {
    EXPECT_EQ(PadLeft(3, 2, '0'), "03");
    EXPECT_EQ(PadLeft(123, 2, '0'), "123");
    struct {
        size_t bytes;
        long long kb;
    } sizes[] = {{0, 0}, {511, 0}, {512, 0}, {1536, 2}, {2560, 2}, {3584, 4}, {1025, 1}};
    for (const auto& s : sizes) EXPECT_EQ(FileSizeKB(Folder.WriteFile("f.bin", std::string(s.bytes, 'x'))), s.kb) << s.bytes;
    EXPECT_EQ(FileSizeKB(Folder / "ontbreekt.bin"), -1);
    // More than 2 GB free is the normal case today; a small file must fit.
    EXPECT_TRUE(HasSpaceFor(Folder / "f.bin"));

    std::string a = Folder.WriteFile("a.txt", "inhoud");
    CopyFileTo(a, Folder / "b.txt");
    EXPECT_EQ(ReadFileBytes(Folder / "b.txt"), "inhoud");
    EXPECT_NO_THROW(CopyFileTo(a, UpperCase(a)));
    EXPECT_EQ(ReadFileBytes(a), "inhoud");
    EXPECT_THROW(CopyFileTo(Folder / "ontbreekt.txt", Folder / "c.txt"), EBrantel);
}

TEST_F(ReportFolders, DeleteFolderTreeTakesReadOnlyAndHiddenFilesAndSubfolders) {
    std::string dir = Folder / "Reports\\Kasboek\\Report01";
    Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.RTF", "x");
    SetFileAttributesW(Widen(Folder.WriteFile("Reports\\Kasboek\\Report01\\cd.txt", "x")).c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesW(Widen(Folder.WriteFile("Reports\\Kasboek\\Report01\\Thumbs.db", "x")).c_str(),
                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    Folder.WriteFile("Reports\\Kasboek\\Report01\\sub\\diep.txt", "x");
    SetCurrentDir(dir);
    EXPECT_TRUE(DeleteFolderTree(dir));
    EXPECT_FALSE(DirectoryExists(dir));
    EXPECT_TRUE(DirectoryExists(Folder / "Reports\\Kasboek"));
    EXPECT_FALSE(DeleteFolderTree(dir));
}

TEST_F(ReportFolders, NamesTakenByFilesAreNotFree) {
    Folder.WriteFile("Reports\\Kasboek\\Report01", "een bestand, geen map");
    ForceDirectories(Folder / "Reports\\Kasboek\\Report02");
    EXPECT_EQ(NextReportFolder("Reports\\Kasboek"), "\\Report03");
}

TEST_F(ReportFolders, RotationTakesTheOldestReportThatCanBeEmptiedAndNothingElse) {
    const std::string base = Folder / "Reports\\Kasboek\\";
    for (int n = 1; n <= 99; ++n) ForceDirectories(base + "Report" + PadLeft(n, 2, '0'));
    Folder.WriteFile("Reports\\Kasboek\\Eigen map\\brief.doc", "van de gebruiker");
    std::string locked = Folder.WriteFile("Reports\\Kasboek\\Report42\\open.log", "in gebruik");
    // The rest of that report, before and after the open file in any order, and in a subfolder.
    const std::vector<std::string> others = {Folder.WriteFile("Reports\\Kasboek\\Report42\\CASE.INI", "a"),
                                             Folder.WriteFile("Reports\\Kasboek\\Report42\\zz.txt", "z"),
                                             Folder.WriteFile("Reports\\Kasboek\\Report42\\bijlagen\\b.doc", "b")};
    HANDLE h = CreateFileW(Widen(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    for (int n = 1; n <= 99; ++n) SetWriteTime(base + "Report" + PadLeft(n, 2, '0'), n == 42 ? 400 : n == 7 ? 300 : 1);
    SetWriteTime(base + "Eigen map", 500);

    std::string name = NextReportFolder("Reports\\Kasboek");
    EXPECT_EQ(name, "\\Report07");
    EXPECT_FALSE(DirectoryExists(base + "Report07"));
    EXPECT_TRUE(FileExists(locked)) << "a report that cannot be emptied is passed over";
    for (const std::string& file : others) EXPECT_TRUE(FileExists(file)) << file << ": passed over whole";
    EXPECT_EQ(ReadFileBytes(base + "Eigen map\\brief.doc"), "van de gebruiker");
    CloseHandle(h);
}

TEST_F(ReportFolders, NoRoomWhenNoReportCanBeRemoved) {
    // All names taken by files, and the one report folder holds a file in use.
    for (int n = 1; n <= 99; ++n)
        if (n != 5) Folder.WriteFile("Reports\\Kasboek\\Report" + PadLeft(n, 2, '0'), "x");
    std::string locked = Folder.WriteFile("Reports\\Kasboek\\Report05\\open.log", "in gebruik");
    Folder.WriteFile("Reports\\Kasboek\\Oud\\brief.doc", "van de gebruiker");
    HANDLE h = CreateFileW(Widen(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    try {
        NextReportFolder("Reports\\Kasboek");
        ADD_FAILURE() << "no exception";
    } catch (const EBrantel& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Er kan geen nieuw helpdeskrapport worden gemaakt: alle 99 rapportmappen in '", 0), 0u)
            << e.what();
    }
    CloseHandle(h);
    EXPECT_TRUE(FileExists(locked));
    EXPECT_TRUE(FileExists(Folder / "Reports\\Kasboek\\Oud\\brief.doc"));
}
