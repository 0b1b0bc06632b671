#include "Source/Common/Catalogue/Service16bit.h"

#include <gtest/gtest.h>

#include "DiscoveryFixture.h"
#include "TestSupport.h"
#include "core/DateTime.h"
#include "platform/IniFile.h"

namespace {
const std::vector<std::string> LegacyCategories = {"SystemSummary", "CPUandBIOS", "VideoSystem",
                                                   "WindowsMemory", "Drives",     "Printer",
                                                   "Windows",       "InstallLog", "SystemFiles"};

class LegacyApplications : public testing::Test {
protected:
    void SetUp() override { BranModel(); }
    const TIniFile& Ini(const std::string& sectionBody) {
        FIni = std::make_unique<TIniFile>(Folder.WriteFile("LEGACY.INI", "[App]\r\n" + sectionBody));
        return *FIni;
    }
    TScratchFolder Folder;

private:
    std::unique_ptr<TIniFile> FIni;
};

std::vector<std::string> DisplayTexts(const TServiceItemList& list) {
    std::vector<std::string> texts;
    for (const auto& item : list) texts.push_back(item->DisplayText());
    return texts;
}
}  // namespace

TEST(ProgInfoLine, SplitsIdentifierAndSection) {
    struct TCase {
        const char* Line;
        const char* Identifier;
        const char* Section;
    };
    const TCase cases[] = {
        {"Prog1=Boekhouden 4.0,BOEKH40", "Boekhouden 4.0", "BOEKH40"},
        {"x=  Kasboek 95 ,  Kas Boek  ", "Kasboek 95", "Kas Boek"},
        {"=a,b", "a", "b"},
        {"k=a,b,c", "a", "b,c"},
        {"a=b=c,d", "b=c", "d"},
        {"k=,", "", ""},
    };
    for (const TCase& c : cases) {
        const TProgInfoLine parts = SplitProgInfoLine(c.Line);
        EXPECT_EQ(parts.Identifier, c.Identifier) << c.Line;
        EXPECT_EQ(parts.Section, c.Section) << c.Line;
    }
    for (const char* bad : {"zonder teken", "k=zonder komma", ""}) {
        try {
            SplitProgInfoLine(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const EBranAssertion& e) {
            EXPECT_EQ(e.AssertMessage(), "Assertion failure");
            EXPECT_EQ(e.SourceUnit(), "Source\\Common\\Service16bit");
        }
    }
}

TEST_F(LegacyApplications, ReadsTheCommonKeys) {
    TBranApplication app;
    ReadLegacyApplication(Ini("InstallLog=C:\\BRANTEL\\KAS.LOG\r\nHelpfile=C:\\KAS\\KAS.HLP\r\nLeesMij=C:\\KAS\\LEESMIJ.TXT\r\n"
                              "ReleaseVersion=2.0.1\r\nReleaseDate=" +
                              DateToStr(EncodeDate(1997, 3, 14)) + "\r\n"),
                          "App", app);
    EXPECT_EQ(app.InstallLog().AsString(), "C:\\BRANTEL\\KAS.LOG");
    EXPECT_EQ(app.Uninstall().AsString(), "C:\\WINDOWS\\BRANTEL\\UNINSTAL.EXE C:\\BRANTEL\\KAS.LOG");
    EXPECT_EQ(app.HelpFile().AsString(), "C:\\KAS\\KAS.HLP");
    EXPECT_EQ(app.ReadmeFile().AsString(), "C:\\KAS\\LEESMIJ.TXT");
    EXPECT_EQ(app.Build().AsString(), "2.0.1");
    ASSERT_FALSE(app.ReleaseDate().IsNull());
    EXPECT_EQ(app.ReleaseDate().AsVariant().Date(), EncodeDate(1997, 3, 14));
    EXPECT_EQ(CategoryIds(app), Available(LegacyCategories));
}

TEST_F(LegacyApplications, EmptySectionStillGivesTheUninstallerAndNoDate) {
    TBranApplication app;
    ReadLegacyApplication(Ini("ReleaseDate=31-13-1997\r\n"), "App", app);
    EXPECT_EQ(app.Uninstall().AsString(), "C:\\WINDOWS\\BRANTEL\\UNINSTAL.EXE ");
    EXPECT_EQ(app.HelpFile().AsString(), "");
    EXPECT_EQ(app.Build().AsString(), "");
    EXPECT_TRUE(app.ReleaseDate().IsNull());
}

TEST_F(LegacyApplications, HelpFileSearchInTheSystemFolders) {
    const std::string withHelp = Folder.Path() + "met";
    const std::string withoutHelp = Folder.Path() + "zonder";
    Folder.WriteFile("met\\KASBOEK.HLP", "");
    Folder.WriteFile("zonder\\LEESMIJ.TXT", "");
    struct TCase {
        std::string Keys;
        std::string HelpFile;
    };
    const TCase cases[] = {
        {"Systeem directory=" + withHelp + "\r\n", withHelp + "\\KASBOEK.HLP"},
        {"Systeem directory=\r\nSystem directory=" + withHelp + "\r\n", withHelp + "\\KASBOEK.HLP"},
        {"Systeem directory=" + withoutHelp + "\r\nSystem directory=" + withHelp + "\r\n", ""},
        {"Systeem directory=" + withHelp + "\\\r\n", withHelp + "\\KASBOEK.HLP"},
        {"Helpfile=D:\\EIGEN.HLP\r\nSysteem directory=" + withHelp + "\r\n", "D:\\EIGEN.HLP"},
        {"", ""},
    };
    for (const TCase& c : cases) {
        TBranApplication app;
        ReadLegacyApplication(Ini(c.Keys), "App", app);
        EXPECT_EQ(app.HelpFile().AsString(), c.HelpFile) << c.Keys;
    }
}

TEST_F(LegacyApplications, FindLegacyHelpFileReplacesOnlyWhenFound) {
    const std::string dir = Folder.Path() + "help";
    Folder.WriteFile("help\\WinKas.hlp", "");
    Folder.WriteFile("help\\Kas.txt", "");
    struct TCase {
        const char* Key;
        const char* Prefix;
        std::string HelpFile;
    };
    const TCase cases[] = {
        {"Map", "Win", dir + "\\WinKas.hlp"},
        {"Map", "", dir + "\\WinKas.hlp"},
        {"Map", "adr", "VOORAF.HLP"},
        {"Ontbreekt", "Win", "VOORAF.HLP"},
        {"Leeg", "Win", "VOORAF.HLP"},
    };
    const TIniFile& ini = Ini("Map=" + dir + "\r\nLeeg=\r\n");
    for (const TCase& c : cases) {
        TBranApplication app;
        app.HelpFile().SetAsString("VOORAF.HLP");
        FindLegacyHelpFile(ini, "App", c.Key, c.Prefix, app);
        EXPECT_EQ(app.HelpFile().AsString(), c.HelpFile) << c.Key << " " << c.Prefix;
    }
}

TEST_F(LegacyApplications, DiscoversRecognisedLinesInFileOrder) {
    const TLegacyIni legacy(
        "[ProgInfo]\r\n"
        "Prog=Kasboek 2.0,KAS\r\n"
        "Prog=  adresboek 3.0 ,  ADRES  \r\n"        // same key again, blanks, other case
        "Onbekend=Tekstverwerker 1.0,TEKST\r\n"      // not in the table
        "Kapot=zonder komma\r\n"                     // malformed: skipped
        "alleen tekst\r\n"                           // malformed: skipped
        "Nog een=Rekenen 98,REKENEN\r\n"
        "Tweede=Kasboek 2.0,KAS2\r\n"
        "[KAS]\r\nReleaseVersion=2.0.3\r\n"
        "[ADRES]\r\n"
        "[REKENEN]\r\nReleaseVersion=98.1.0\r\n"
        "[KAS2]\r\nReleaseVersion=2.1.0\r\n");
    TServiceItemList list;
    DiscoverLegacyApplications(list);
    EXPECT_EQ(DisplayTexts(list),
              (std::vector<std::string>{"Brantel Kasboek 2 (2.0.3)", "Brantel Adresboek 3 (3.0.0)",
                                        "Brantel Rekenen 98 (8.1.0)", "Brantel Kasboek 2 (2.1.0)"}));
}

TEST_F(LegacyApplications, NoFileOrNoSectionGivesNothing) {
    for (std::optional<std::string> text : {std::optional<std::string>(), std::optional<std::string>("[Ander]\r\nA=Kasboek 2.0,KAS\r\n"),
                                            std::optional<std::string>("[ProgInfo]\r\n")}) {
        const TLegacyIni legacy(text);
        TServiceItemList list;
        DiscoverLegacyApplications(list);
        EXPECT_TRUE(list.empty());
    }
}
