#include "Source/Common/Catalogue/ProductTable.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "DiscoveryFixture.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/IniFile.h"

namespace {
const std::vector<std::string> LegacyCategories = {"SystemSummary", "CPUandBIOS", "VideoSystem",
                                                   "WindowsMemory", "Drives",     "Printer",
                                                   "Windows",       "InstallLog", "SystemFiles"};

std::vector<std::string> Plus(std::vector<std::string> ids, const std::vector<std::string>& more) {
    ids.insert(ids.end(), more.begin(), more.end());
    return ids;
}

class ProductTable : public testing::Test {
protected:
    void SetUp() override {
        BranModel();
        RegisterProductLines();
    }
    // BRANTEL.INI stand-in in a scratch folder with one section [App].
    std::string WriteIni(const std::string& sectionBody) {
        return Folder.WriteFile("BRANTEL.INI", "[ProgInfo]\r\n[App]\r\n" + sectionBody);
    }
    TScratchFolder Folder;
};
}  // namespace

TEST_F(ProductTable, HasTheShapeOfTheFiveProductLines) {
    RegisterProductLines();  // a second start-up must not register anything twice
    const auto& table = LegacyProducts();
    ASSERT_EQ(table.size(), 64u);

    // Consecutive runs of one line layer are the product lines, in registration order.
    std::vector<size_t> entries, procedures;
    std::set<const TProductVersion*> versions;
    for (size_t i = 0; i < table.size(); ++i) {
        if (i == 0 || table[i].Fill.Line != table[i - 1].Fill.Line) {
            entries.push_back(0);
            procedures.push_back(0);
            versions.clear();
        }
        ++entries.back();
        if (versions.insert(table[i].Fill.Version).second) ++procedures.back();
    }
    EXPECT_EQ(entries, (std::vector<size_t>{18, 12, 15, 7, 12}));
    EXPECT_EQ(procedures, (std::vector<size_t>{13, 11, 8, 7, 10}));
}

TEST_F(ProductTable, RowsAreWellFormed) {
    const std::regex version(R"(\d+\.\d+\.\d+( [A-Z]{2})?)");
    int always = 0, withoutDefault = 0;
    std::set<std::string> seen;
    bool sharedIdentifier = false;
    for (const TLegacyProduct& product : LegacyProducts()) {
        const TProductVersion& v = *product.Fill.Version;
        SCOPED_TRACE(product.Identifier);
        EXPECT_EQ(std::string(v.DisplayName).rfind("Brantel ", 0), 0u);
        if (v.VersionRule == TVersionRule::None) {
            EXPECT_STREQ(v.DefaultVersion, "");
        } else {
            EXPECT_TRUE(std::regex_match(v.DefaultVersion, version)) << v.DefaultVersion;
        }
        always += v.VersionRule == TVersionRule::Always;
        withoutDefault += v.VersionRule == TVersionRule::None;
        if (!seen.insert(UpperCase(product.Identifier)).second) sharedIdentifier = true;
    }
    EXPECT_GT(always, 0);
    EXPECT_GT(withoutDefault, 0);
    EXPECT_TRUE(sharedIdentifier);
    // Line A names its help files with a three-letter prefix.
    for (size_t i = 0; i < 18; ++i)
        EXPECT_EQ(std::string(LegacyProducts()[i].Fill.Version->HelpPrefixes).size(), 3u);
}

TEST_F(ProductTable, HelpdeskAddressFollowsTheThreeRules) {
    const std::string host = "http://" + MakerWebHost();
    EXPECT_EQ(HelpdeskAddress(Set("boekh")), host + "/cgi-brantel/frames/produkt_inlog.cgi?set=boekh&item=hlpdsk");
    EXPECT_EQ(HelpdeskAddress(SetOnly("tippkurs")), host + "/cgi-brantel/frames/produkt_inlog.cgi?set=tippkurs");
    EXPECT_EQ(HelpdeskAddress(Page("/uk/bookkeeping.htm")), host + "/uk/bookkeeping.htm");
}

TEST_F(ProductTable, EachLineFillsItsApplications) {
    const std::string dir = Folder.Path() + "help";
    Folder.WriteFile("help\\Bkh40.hlp", "");
    Folder.WriteFile("help\\Fac30.hlp", "");
    Folder.WriteFile("help\\adres.hlp", "");
    Folder.WriteFile("help\\Winadres.hlp", "");
    const std::string site = "http://" + MakerWebHost();
    const std::string host = site + "/cgi-brantel/frames/produkt_inlog.cgi?set=";
    struct TCase {
        const char* Identifier;
        std::string Section;
        std::string Name, Build, HelpFile, HelpdeskURL;
        std::vector<std::string> Categories;
    };
    const std::vector<std::string> officeCategories = Plus(LegacyCategories, {"Printer", "RegionalSettings"});
    const std::vector<std::string> musicCategories = Plus(LegacyCategories, {"Printer", "Soundcard", "MCIdevices"});
    const std::vector<std::string> multimediaCategories =
        Plus(LegacyCategories, {"Printer", "Soundcard", "RegionalSettings", "MCIdevices"});
    const TCase cases[] = {
        // Line A: the help file with the version's prefix in "Systeem directory" wins.
        {"BOEKHOUDEN 4.0 update", "Systeem directory=" + dir + "\r\n", "Brantel Boekhouden 4", "4.0.0",
         dir + "\\Bkh40.hlp", host + "boekh&item=hlpdsk", officeCategories},
        {"Factureren 3.0", "ReleaseVersion=3.0.2\r\nHelpfile=C:\\F\\eigen.hlp\r\nSysteem directory=" + dir + "\r\n",
         "Brantel Factureren 3", "3.0.2", dir + "\\Fac30.hlp", host + "fact&item=hlpdsk", officeCategories},
        {"Kasboek 95", "Helpfile=C:\\K\\kas.hlp\r\n",
         "Brantel Kasboek voor Windows 95", "2.5.0", "C:\\K\\kas.hlp", host + "kasb&item=hlpdsk", officeCategories},
        {"Bookkeeping 4.0 UK", "", "Brantel Bookkeeping 4", "4.0.0 UK", "", site + "/uk/bookkeeping.htm",
         officeCategories},
        {"Salarisadministratie 1.1", "", "Brantel Salarisadministratie 1", "", "", host + "salaris&item=hlpdsk",
         officeCategories},
        // Line B: "adr" help files in the product's folder, one version then prefers a "Win" file.
        {"Adresboek 3.0", "Adresboek directory=" + dir + "\r\n", "Brantel Adresboek 3", "3.0.0",
         dir + "\\adres.hlp", host + "adres&item=hlpdsk", officeCategories},
        {"Adresboek 95", "Adresboek directory=" + dir + "\r\n", "Brantel Adresboek 95", "3.5.0",
         dir + "\\Winadres.hlp", host + "adres&item=hlpdsk", officeCategories},
        {"Adresboek 1.0", "Adresboek directory=" + dir + "\r\n", "Brantel Adresboek 1", "1.0.0", "",
         host + "adres&item=hlpdsk", officeCategories},
        // Line C: any help file in the course's folder, unless the section named one.
        {"Cursus Frans 1.1", "Cursus Frans directory=" + dir + "\\\r\nReleaseVersion=1.1.0\r\n",
         "Brantel Cursus Frans 1", "1.1.0", "*", host + "frans&item=hlpdsk", officeCategories},
        {"Cursus Frans 1.0", "Helpfile=C:\\C\\frans.hlp\r\nCursus Frans directory=" + dir + "\r\n",
         "Brantel Cursus Frans 1", "1.0.0", "C:\\C\\frans.hlp", host + "frans&item=hlpdsk", officeCategories},
        {"Tippkurs 3.0", "", "Brantel Tippkurs 3", "3.0.0 DE", "", host + "tippkurs", officeCategories},
        // Line D: the help file lies in "RunPath"; Componeren always carries its own version.
        {"Componeren 1.2", "ReleaseVersion=9.9.9\r\nRunPath=" + dir + "\r\n", "Brantel Componeren", "1.2.0", "*",
         host + "compo&item=hlpdsk", musicCategories},
        {"Keyboardles 1.0", "", "Brantel Keyboardles", "", "", host + "keyboard&item=hlpdsk", musicCategories},
        // Line E: the 98 series counts from 8.
        {"Rekenen 98", "ReleaseVersion=98.2.1\r\n", "Brantel Rekenen 98", "8.2.1", "", host + "rekenen&item=hlpdsk",
         multimediaCategories},
        {"Topografie 97", "ReleaseVersion=97.1.0\r\n", "Brantel Topografie 97", "97.1.0", "", host + "topo&item=hlpdsk",
         multimediaCategories},
        {"Erdkunde 98 DE", "", "Brantel Erdkunde 98", "8.0.0 DE", "", site + "/de/erdkunde.htm",
         multimediaCategories},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Identifier);
        const TIniFile ini(WriteIni(c.Section));
        auto app = FillLegacyApplication(c.Identifier, ini, "App");
        ASSERT_TRUE(app);
        EXPECT_EQ(app->Name().AsString(), c.Name);
        EXPECT_EQ(app->Build().AsString(), c.Build);
        if (c.HelpFile == "*")  // any of the folder's help files
            EXPECT_EQ(app->HelpFile().AsString().rfind(dir + "\\", 0), 0u) << app->HelpFile().AsString();
        else
            EXPECT_EQ(app->HelpFile().AsString(), c.HelpFile);
        EXPECT_EQ(app->HelpdeskURL().AsString(), c.HelpdeskURL);
        EXPECT_EQ(CategoryIds(*app), Available(c.Categories));
    }
}

TEST_F(ProductTable, SecondEntryOfAnIdentifierOnlyWhenTheFirstFails) {
    struct TCase {
        const char* Section;
        const char* Name;  // empty: no application
    };
    const TCase cases[] = {
        {"", "Brantel Typcursus 2"},
        {"Taal=nl\r\n", "Brantel Typcursus 2"},
        {"Taal=DE\r\n", "Brantel Tippkurs 2"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Section);
        const TIniFile ini(WriteIni(c.Section));
        auto app = FillLegacyApplication("Typcursus 2.0", ini, "App");
        ASSERT_TRUE(app);
        EXPECT_EQ(app->Name().AsString(), c.Name);
    }
    // Applications of procedures that failed do not linger in the general item's list.
    const size_t before = GetGeneralServiceItem().Applications().size();
    {
        const TIniFile ini(WriteIni("Taal=DE\r\n"));
        auto app = FillLegacyApplication("Typcursus 2.0", ini, "App");
        EXPECT_EQ(GetGeneralServiceItem().Applications().size(), before + 1);
    }
    EXPECT_EQ(GetGeneralServiceItem().Applications().size(), before);
}

TEST_F(ProductTable, UnknownIdentifierGivesNothing) {
    const TIniFile ini(WriteIni(""));
    EXPECT_FALSE(FillLegacyApplication("Boekhouden 9.0", ini, "App"));
    EXPECT_FALSE(FillLegacyApplication("", ini, "App"));
}
