#include <gtest/gtest.h>

#include "Source/Common/TechInfo/FileVersionInfo.h"
#include "TestSupport.h"
#include "platform/Files.h"

namespace {
std::string NextToTests(const std::string& name) { return ExtractFilePath(GetExeName()) + name; }

std::vector<std::string> Texts(const TFileVersionInfo& info) {
    return {info.CompanyName,      info.FileDescription, info.FileVersion, info.InternalName,
            info.LegalCopyright, info.OriginalFilename, info.ProductName, info.ProductVersion};
}
}  // namespace

TEST(FileVersionInfo, ReadsTheProgramsOwnVersionResource) {
    const std::string program = NextToTests("..\\BranService.exe");
    ASSERT_TRUE(FileExists(program));
    TFileVersionInfo info;
    ASSERT_TRUE(info.LoadFromFile(program));
    EXPECT_EQ(Texts(info), (std::vector<std::string>{
                               "Brantel Software B.V.",
                               "Bran-Service: ondersteuning en helpdesk voor Brantel-programma's",
                               "3.0.0.1",
                               "BranService",
                               "Copyright © 1999-2026 Brantel Software B.V.",
                               "BranService.exe",
                               "Bran-Service",
                               "3.0",
                           }));
    EXPECT_EQ(info.FileSize, static_cast<int64_t>(*FileSize(program)));
    EXPECT_EQ(info.FileDate, DateTimeToStr(*FileAge(program)));
}

TEST(FileVersionInfo, WithoutTranslationTableTheUsEnglishStringsAreRead) {
    TFileVersionInfo info;
    ASSERT_TRUE(info.LoadFromFile(NextToTests("NoTranslation.dll")));
    EXPECT_EQ(Texts(info), (std::vector<std::string>{"Fixture Makers", "Version resource without translation",
                                                     "1.2.3.4", "NoTranslation", "Nobody", "NoTranslation.dll",
                                                     "Fixture", "1.2"}));
}

TEST(FileVersionInfo, BareNamesAreLookedForInTheSystemFolder) {
    const std::string inSystem = GetSystemFolder() + "\\kernel32.dll";
    TFileVersionInfo info;
    info.LoadFromFile("kernel32.dll");
    EXPECT_GT(info.FileSize, 0);
    EXPECT_EQ(info.FileSize, static_cast<int64_t>(*FileSize(inSystem)));
    EXPECT_EQ(info.FileDate, DateTimeToStr(*FileAge(inSystem)));
}

TEST(FileVersionInfo, FilesWithoutVersionResource) {
    TScratchFolder folder;
    const std::string text = folder.WriteFile("leesmij.txt", "Hallo");
    TFileVersionInfo info;
    ASSERT_TRUE(info.LoadFromFile(NextToTests("NoTranslation.dll")));

    EXPECT_FALSE(info.LoadFromFile(text));
    EXPECT_EQ(info.FileSize, 5);
    EXPECT_EQ(info.FileDate, DateTimeToStr(*FileAge(text)));
    for (const std::string& t : Texts(info)) EXPECT_EQ(t, "");  // nothing left from the DLL

    EXPECT_FALSE(info.LoadFromFile(folder / "bestaat-niet.dll"));
    EXPECT_EQ(info.FileSize, 0);
    EXPECT_EQ(info.FileDate, DateTimeToStr(*FileAge(text)));  // as it was
}
