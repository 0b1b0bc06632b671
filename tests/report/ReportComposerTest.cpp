#include <gtest/gtest.h>

#include "ReportTestSupport.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportComposer.h"
#include "Source/Common/TechInfo/MemoryInfo.h"
#include "Source/Common/TechInfo/RegionalInfo.h"
#include "core/DateTime.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
const char* kFolder = "Reports\\Kasboek\\Report01";

class ReportComposer : public ReportTest {
protected:
    ReportComposer() {
        ForceDirectories(Folder / kFolder);
        FillUser(User);
        Report = std::make_unique<THelpdeskReport>(kFolder, AppRef);
        Report->ProblemLines = {"Afdrukken naar C:\\{Kasboek}\\uit.txt lukt niet."};
        Report->Goal = "Een factuur afdrukken";
        Report->ActionLines = {"Bestand, Afdrukken"};
        Report->ErrorMessage = "Fout 42";
    }
    std::vector<std::string> Text() const { return Report->ReportText().Lines(); }
    long Find(const std::string& line) const {
        auto t = Text();
        auto it = std::find(t.begin(), t.end(), line);
        return it == t.end() ? -1 : static_cast<long>(it - t.begin());
    }

    TUser User;
    std::unique_ptr<THelpdeskReport> Report;
};
}  // namespace

TEST_F(ReportComposer, HeaderIsTwentySevenLinesForTheHelpdesk) {
    App.HelpDeskDescription().SetAsString("Helpdesk Kasboek");
    ComposeReport(*Report, User);
    std::vector<std::string> t = Text();
    ASSERT_GT(t.size(), 27u);
    EXPECT_EQ(t[2], "\\deflang1033\\pard\\plain\\f3\\fs32\\cf0\\b Helpdeskrapport\\plain\\f3\\fs20\\cf0 ");
    EXPECT_EQ(t[6], "\\par \\plain\\f3\\fs24\\cf0\\b Helpdesk Kasboek ");
    EXPECT_EQ(t[8], "\\par 3800 BG  Amersfoort ");  // no zip code of its own: the maker's
    EXPECT_EQ(t[11].rfind("\\par \\plain\\f3\\fs24\\cf0\\b Fax: 033-", 0), 0u) << t[11];
    EXPECT_EQ(t[22],
              "\\par \\tab \\tab \\tab \\plain\\lang1033\\f4\\fs24\\cf0 o\\plain\\lang1033\\f3\\fs24\\cf0  Training");
    EXPECT_EQ(t[24], "\\par \\pard\\li6958\\fi-2130\\tx4828\\tx6816\\tx6930\\plain\\f3\\fs24 Product\\tab :\\tab\\b "
                     "Kasboek (3.1)\\plain\\lang1033\\f3\\fs24\\cf0 ");
    EXPECT_EQ(t[25], "\\par \\pard\\tx4828\\tx6816\\tx6930\\plain\\lang1033\\f3\\fs24\\cf0 Aantal technische onderdelen "
                     "verzameld: 0\\tab Aangemaakt dd\\tab :\\tab " + DateToStr(Today()));
    EXPECT_EQ(t[26], "\\par \\pard\\tx2556\\plain\\lang1033\\f3\\fs24\\cf0 " + std::string(116, '-'));
    EXPECT_EQ(t[27].substr(0, 50), "\\par \\pard\\tx2272\\plain\\f3\\fs32\\cf0\\b Klantnummer:");
    EXPECT_EQ(t.back(), "\\par }");
    EXPECT_EQ(Report->CreationDate, DateToStr(Today()));
    EXPECT_TRUE(Report->IsFresh);
}

// The whole document up to the chapter heading, line by line, against lines checked in beside the
// tests: inserting or dropping one line shows as exactly that, not as unrelated lines moving.
TEST_F(ReportComposer, EveryLineAsCheckedIn) {
    App.HelpDeskDescription().SetAsString("Helpdesk Kasboek");
    ComposeReport(*Report, User);
    std::vector<std::string> expected = ReadTextLines(FixturePath("report\\ComposedReport.rtf"));
    for (std::string& line : expected)
        if (size_t at = line.find("<datum>"); at != std::string::npos) line.replace(at, 7, DateToStr(Today()));
    const std::vector<std::string> text = Text();
    ASSERT_EQ(expected.size(), 66u);
    for (size_t i = 0; i < std::max(text.size(), expected.size()); ++i)
        EXPECT_EQ(i < text.size() ? text[i] : "(geen regel)", i < expected.size() ? expected[i] : "(geen regel)")
            << "line " << i + 1;
}

TEST_F(ReportComposer, NoCollectorStillGivesTheChapterHeading) {
    ComposeReport(*Report, User);
    long heading = Find("Technische Informatie");
    ASSERT_GT(heading, 27);
    EXPECT_EQ(Text()[static_cast<size_t>(heading - 1)], "\\par \\plain\\f3\\fs16\\b");
    EXPECT_EQ(Text()[static_cast<size_t>(heading - 2)], "\\par \\page");
    EXPECT_EQ(static_cast<size_t>(heading + 3), Text().size());  // then "\par \plain\f3\fs16" and "\par }"
}

TEST_F(ReportComposer, CustomerBlockTelephoneRules) {
    struct {
        const char* tel;
        const char* from;  // nullptr: Null
        const char* expected;  // nullptr: no telephone line at all
    } cases[] = {
        {"030-1234567", "09:00", "\\par   Telefoon\\tab 030-1234567\\tab Bereikbaar van 09:00 tot en met 17:00 uur"},
        {"", "09:00", "\\par   \\tab \\tab "},
        {"030-1234567", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        TUser u;
        FillUser(u);
        u.Tel().SetAsString(c.tel);
        if (c.from) {
            u.ReachableFrom().SetAsString(c.from);
        } else {
            u.ReachableFrom().Clear();
        }
        std::vector<std::string> lines;
        AppendCustomerBlock(lines, u);
        EXPECT_EQ(lines.size(), c.expected ? 19u : 18u) << c.tel;
        EXPECT_EQ(lines[0], "\\par \\pard\\tx2272\\plain\\f3\\fs32\\cf0\\b Klantnummer:\\tab 1234AB12aJan\\plain\\f3\\fs32\\cf0 ");
        EXPECT_EQ(lines[11], "\\par   PC+Plaats\\tab 1234 AB  Utrecht");
        if (c.expected) {
            EXPECT_EQ(lines[15], c.expected);
        }
        EXPECT_EQ(lines[lines.size() - 3], "\\par   Fax\\tab 030-7654321\\tab Bellen alvorens naar dit nummer te faxen");
    }
}

TEST_F(ReportComposer, TypedTextsReachTheHelpdeskAsTyped) {
    ComposeReport(*Report, User);
    // Backslashes and braces are escaped, so an RTF reader shows the path instead of eating it.
    EXPECT_GE(Find("\\par Afdrukken naar C:\\\\\\{Kasboek\\}\\\\uit.txt lukt niet."), 0);
    EXPECT_GE(Find("\\par Een factuur afdrukken"), 0);
    EXPECT_GE(Find("\\par Fout 42\\plain\\lang1043\\f5\\fs24 "), 0);
}

TEST_F(ReportComposer, TwoCompositionsGiveTheSameText) {
    ComposeReport(*Report, User);
    auto first = Text();
    ComposeReport(*Report, User);
    EXPECT_EQ(Text(), first);
    THelpdeskReport reread(kFolder, AppRef);
    EXPECT_EQ(reread.ReportText().Lines(), first);
}

TEST_F(ReportComposer, ViewTextLeavesOutTheHeader) {
    std::vector<std::string> view;
    ComposeViewText(*Report, view);  // nothing stored yet: an empty document
    ASSERT_EQ(view.size(), 3u);
    EXPECT_EQ(view[2], "\\deflang1033\\pard\\tx2880\\plain\\f3\\fs16\\b");

    ComposeReport(*Report, User);
    ComposeViewText(*Report, view);
    auto t = Text();
    ASSERT_EQ(view.size(), 3 + t.size() - 27);
    EXPECT_EQ(view[3], t[27]);
    EXPECT_EQ(view.back(), "\\par }");
    EXPECT_NE(view[0].find("{\\f3\\fswiss\\fprq2 MS Sans Serif;}}"), std::string::npos);
}

namespace {
// A collector that meets on this PC what it cannot handle: a registry value of another kind while
// gathering, or no memory left while rendering its lines.
class TFailingCollector : public TTechInfo {
public:
    TFailingCollector(std::string_view identifier, bool inGathering) : TTechInfo(identifier), FInGathering(inGathering) {}

protected:
    void GatherInfo() override {
        if (FInGathering) throw ERegistry("Kan de waarde 'PortSubClass' niet lezen");
    }
    const TStringList& BuildInfoText() override { throw std::bad_alloc(); }

private:
    bool FInGathering;
};
}  // namespace

// One collector that fails costs its own section, never the report: the helpdesk gets every other
// section and the text is stored, also when the report is composed again.
TEST_F(ReportComposer, AFailingCollectorCostsOnlyItsOwnSection) {
    TMemoryInfo memory;
    TFailingCollector system("SystemSummary", true), printer("Printer", false);
    TRegionalInfo regional;
    Report->TechInfos = {&memory, &system, &printer, &regional};
    ComposeReport(*Report, User);
    Report->ProblemLines = {"Tweede poging"};
    ComposeReport(*Report, User);
    EXPECT_TRUE(Report->IsFresh);
    const std::vector<std::string> text = Text();
    EXPECT_GE(Find("\\par Tweede poging"), 0);
    const long chapter = Find("Technische Informatie");
    ASSERT_GT(chapter, 0);
    const std::vector<std::string> expectedStarts = {
        "\\par \\plain\\f3\\fs16", "\\par", "\\par \\plain\\f3\\fs16\\b", "1. Windows geheugen", "\\par \\plain\\f3\\fs16",
        "\\par Geheugen in gebruik:\\tab "};
    for (size_t i = 0; i < expectedStarts.size(); ++i)
        EXPECT_EQ(text[static_cast<size_t>(chapter) + 1 + i].rfind(expectedStarts[i], 0), 0u) << text[static_cast<size_t>(chapter) + 1 + i];
    for (const auto& [heading, notice] : {
             std::pair{"2. Systeem", "\\par Deze gegevens konden niet worden verzameld: Kan de waarde 'PortSubClass' niet lezen"},
             std::pair{"3. Printer", "\\par Deze gegevens konden niet worden verzameld: er was niet genoeg geheugen vrij"},
         }) {
        const long at = Find(heading);
        ASSERT_GT(at, chapter) << heading;
        EXPECT_EQ(text[static_cast<size_t>(at) + 2], notice);
        EXPECT_EQ(text[static_cast<size_t>(at) + 3], "\\par");
        EXPECT_EQ(text[static_cast<size_t>(at) + 4], "\\par");  // the next section begins
    }
    const long last = Find("4. Landinstellingen");
    ASSERT_GT(last, Find("3. Printer"));
    EXPECT_EQ(text[static_cast<size_t>(last) + 2].rfind("\\par Decimaalsymbool:\\tab ", 0), 0u);
    EXPECT_EQ(text.back(), "\\par }");
    // What the helpdesk receives is that text.
    EXPECT_EQ(ReadFileBytes(Report->CaseRtfPath()), RtfFileBytes(text));
}

// Leaves a composed report where the independent checks (tests/checks/report_files.sh) read it.
TEST_F(ReportComposer, ArtifactsForIndependentReaders) {
    char target[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("BRAN_ARTIFACT_DIR", target, MAX_PATH)) GTEST_SKIP() << "no artifact folder asked";
    User.Organization().SetAsString("Bakkerij Één & Zonen");
    // Every collector there is: their lines must stand in the document an independent reader sees.
    Report->TechInfos.clear();
    for (const auto& collector : GetGeneralServiceItem().Collectors()) Report->TechInfos.push_back(collector.get());
    ComposeReport(*Report, User);
    Report->WriteCaseIni(User);
    ASSERT_TRUE(FileCopy(Report->CaseRtfPath(), std::string(target) + "\\CASE.RTF", false));
    ASSERT_TRUE(FileCopy(Report->CaseIniPath(), std::string(target) + "\\CASE.INI", false));
}
