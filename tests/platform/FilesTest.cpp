#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "TestSupport.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Shell.h"
#include "platform/SysInfo.h"

namespace {
std::vector<std::string> Names(const std::vector<TSearchRec>& found) {
    std::vector<std::string> names;
    for (const auto& r : found) names.push_back(r.Name);
    std::sort(names.begin(), names.end());
    return names;
}

void SetAttr(const std::string& path, DWORD attr) { SetFileAttributesW(Widen(path).c_str(), attr); }
}  // namespace

TEST(Files, AttributeFiltersOfADirectorySearch) {
    TScratchFolder f;
    f.WriteFile("gewoon.exe", "MZ");
    SetAttr(f.WriteFile("verborgen.exe", "MZ"), FILE_ATTRIBUTE_HIDDEN);
    SetAttr(f.WriteFile("systeem.exe", "MZ"), FILE_ATTRIBUTE_SYSTEM);
    SetAttr(f.WriteFile("alleen.exe", "MZ"), FILE_ATTRIBUTE_READONLY);
    ForceDirectories(f / "map.exe");

    // Ordinary and read-only files are always found; the rest only when asked for.
    EXPECT_EQ(Names(FindFiles(f / "*.exe", faArchive)), (std::vector<std::string>{"alleen.exe", "gewoon.exe"}));
    EXPECT_EQ(Names(FindFiles(f / "*.exe", faReadOnly | faHidden | faArchive)),
              (std::vector<std::string>{"alleen.exe", "gewoon.exe", "verborgen.exe"}));
    EXPECT_EQ(Names(FindFiles(f / "*.exe", faAnyFile)),
              (std::vector<std::string>{"alleen.exe", "gewoon.exe", "map.exe", "systeem.exe", "verborgen.exe"}));
    EXPECT_TRUE(FindFiles(f / "ontbreekt\\*.*", faAnyFile).empty());
    auto first = FindFirstMatch(f / "*.exe", faDirectory);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->Size, first->Attr & faDirectory ? 0u : 2u);
    SetAttr(f / "alleen.exe", FILE_ATTRIBUTE_NORMAL);
}

TEST(Files, FoldersCopiesSizesAndAtomicReplace) {
    TScratchFolder f;
    std::string deep = f / "Reports\\Kasboek\\Report01";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(FileExists(deep));

    std::string a = f.WriteFile("a.txt", std::string(3000, 'a'));
    EXPECT_EQ(FileSize(a), 3000u);
    EXPECT_FALSE(FileSize(f / "geen.txt"));
    EXPECT_TRUE(FileCopy(a, deep + "\\a.txt", true));
    EXPECT_FALSE(FileCopy(a, deep + "\\a.txt", true));
    EXPECT_NEAR(*FileAge(a), Now(), 1.0 / 24);

    std::string target = f.WriteFile("CASE.RTF", "oud");
    std::string temp = f.WriteFile("CASE.RTF.tmp", "nieuw");
    EXPECT_TRUE(ReplaceFileAtomically(temp, target));
    EXPECT_EQ(ReadFileBytes(target), "nieuw");
    EXPECT_FALSE(FileExists(temp));

    EXPECT_TRUE(FileDelete(a));
    EXPECT_FALSE(FileExists(a));
    EXPECT_THROW(ReadFileBytes(a), EBrantel);

    auto free = DiskFree(f.Path());
    ASSERT_TRUE(free);
    EXPECT_GT(*free, 0u);
}

TEST(Files, PathHelpersAndWellKnownFolders) {
    EXPECT_EQ(ExtractFilePath("C:\\Brantel\\Kasboek.exe"), "C:\\Brantel\\");
    EXPECT_EQ(ExtractFileName("C:\\Brantel\\Kasboek.exe"), "Kasboek.exe");
    EXPECT_EQ(ExtractFileExt("C:\\a.b\\setup"), "");
    EXPECT_EQ(ChangeFileExt("Case.rtf", ".zip"), "Case.zip");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\x"), "C:\\x\\");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\x\\"), "C:\\x");
    EXPECT_EQ(ExcludeTrailingBackslash("C:\\"), "C:\\");
    EXPECT_TRUE(DirectoryExists(GetWindowsFolder()));
    EXPECT_TRUE(DirectoryExists(GetSystemFolder()));
    std::string temp = GetTempFolder();
    EXPECT_EQ(temp.back(), '\\');
    EXPECT_TRUE(DirectoryExists(temp));

    std::string exeFolder = GetProgramFolder();
    EXPECT_EQ(exeFolder, ExtractFilePath(GetExeName()));
    SetProgramFolder("C:\\Proef");
    EXPECT_EQ(GetProgramFolder(), "C:\\Proef\\");
    SetProgramFolder("");
    EXPECT_EQ(GetProgramFolder(), exeFolder);
}

TEST(Files, TemporaryFolderIsEmptyWhenItDoesNotExist) {
    wchar_t old[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"TMP", old, MAX_PATH);
    wchar_t oldTemp[MAX_PATH];
    DWORD m = GetEnvironmentVariableW(L"TEMP", oldTemp, MAX_PATH);
    SetEnvironmentVariableW(L"TMP", L"C:\\bestaat\\niet");
    SetEnvironmentVariableW(L"TEMP", L"C:\\bestaat\\niet");
    std::string temp = GetTempFolder();
    SetEnvironmentVariableW(L"TMP", n ? old : nullptr);
    SetEnvironmentVariableW(L"TEMP", m ? oldTemp : nullptr);
    EXPECT_EQ(temp, "");
}

TEST(Shell, StartsAreRecordedByTheHookAndPlatformFamilyIsOverridable) {
    std::vector<TShellStart> started;
    SetShellHook([&](const TShellStart& s) {
        started.push_back(s);
        return intptr_t{2};  // "file not found"
    });
    intptr_t rc = ShellStart({"open", "WinHelp.Exe", "-k Kasboek", "", SW_SHOWNORMAL});
    SetShellHook(nullptr);
    EXPECT_FALSE(ShellStartSucceeded(rc));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].File, "WinHelp.Exe");
    EXPECT_EQ(started[0].Parameters, "-k Kasboek");
    EXPECT_TRUE(ShellStartSucceeded(33));

    EXPECT_TRUE(IsWindowsNT());  // Wine reports the NT family
    SetPlatformOverride(false);
    EXPECT_FALSE(IsWindowsNT());
    SetPlatformOverride(std::nullopt);
    EXPECT_TRUE(IsWindowsNT());
}

TEST(Files, AReadThatFailsIsNoEndOfFile) {
    // Opening works; reading fails (the kernel refuses the first page of this process's memory).
    EXPECT_THROW(ReadFileBytes("Z:\\proc\\self\\mem"), EBrantel);
    TScratchFolder f;
    std::string big(300000, 'b');
    for (size_t i = 0; i < big.size(); i += 7) big[i] = static_cast<char>(i % 251);
    EXPECT_EQ(ReadFileBytes(f.WriteFile("groot.bin", big)), big);
    EXPECT_EQ(ReadFileBytes(f.WriteFile("leeg.bin", "")), "");
}

TEST(Files, AtomicWritesLeaveTheOldFileOrTheNewOne) {
    TScratchFolder f;
    const std::string target = f.WriteFile("CASE.RTF", "oud");
    WriteFileAtomically(target, "nieuw");
    EXPECT_EQ(ReadFileBytes(target), "nieuw");
    EXPECT_FALSE(FileExists(TemporaryFileName(target)));
    EXPECT_TRUE(IsTemporaryFileName(ExtractFileName(TemporaryFileName(target))));
    EXPECT_FALSE(IsTemporaryFileName("CASE.RTF"));

    // The new text cannot be put in place (the old file is open without sharing): the old one stays.
    HANDLE h = CreateFileW(Widen(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_THROW(WriteFileAtomically(target, "nog nieuwer"), EBrantel);
    CloseHandle(h);
    EXPECT_EQ(ReadFileBytes(target), "nieuw");
    EXPECT_FALSE(FileExists(TemporaryFileName(target)));
    EXPECT_THROW(WriteFileAtomically(f / "ontbreekt\\x.txt", "x"), EBrantel);
}
