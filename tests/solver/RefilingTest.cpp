// A report is filed under the application it is about, also when the user chooses another one after
// the report was made. Driven in the real modal loop, as the user does it.
#include <gtest/gtest.h>

#include "SolverTestSupport.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "platform/Files.h"

namespace {
void Choose(TfrmProblemSolver& s, const char* application) {
    s.cboServiceItems.SetItemIndex(s.cboServiceItems.IndexOf(application));
    s.cboServiceItemsChange(&s.cboServiceItems);
}

void BackToTheIntro(TfrmProblemSolver& s) {
    for (int i = 0; i < 8 && s.pageProblemSolver.ActivePage() != &s.TabIntro; ++i) s.BackButton()->Click();
}
}  // namespace

TEST_F(SolverTest, AReportFollowsTheApplicationChosenAfterItWasMade) {
    RegisterApplication({.Key = "Factureren",
                         .Values = {{"", "Factureren"}, {"ReleaseVersion", "3.0"}},
                         .TechInfos = {"Printer"}});
    const std::string picture = Folder.WriteFile("Mijn documenten\\scherm.bmp", "plaatje");
    const std::string moved = Folder.Path() + "Reports\\Factureren\\Report01";
    TMessageRecorder boxes;
    auto solver = CreateForm<TfrmProblemSolver>();
    const int result = RunModal(
        *solver, {[&](TfrmProblemSolver& s) {
                      Choose(s, "Kasboek (2.1)");
                      WalkToPersonalInfo(s);
                      Next(s);
                      Next(s);
                      ASSERT_EQ(Page(s), "Helpdeskrapport");
                      s.Report()->Attachments = {picture};
                      s.Report()->UpdateAttachments({});
                      BackToTheIntro(s);
                      Choose(s, "Factureren (3.0)");
                  },
                  [&](TfrmProblemSolver& s) {
                      for (int i = 0; i < 8 && Page(s) != "Helpdeskrapport"; ++i) Next(s);
                      ASSERT_EQ(Page(s), "Helpdeskrapport");
                      EXPECT_EQ(s.Report()->Folder(), moved);
                      EXPECT_EQ(s.Report()->ServiceItem->Name().AsString(), "Factureren");
                      EXPECT_EQ(s.btnOpenAppendix.Caption(), "1 &Bijlage (0 kB)...");
                      // Chosen again as it was: the report stays where it is.
                      BackToTheIntro(s);
                      Choose(s, "Kasboek (2.1)");
                      Choose(s, "Factureren (3.0)");
                      for (int i = 0; i < 8 && Page(s) != "Helpdeskrapport"; ++i) Next(s);
                      EXPECT_EQ(s.Report()->Folder(), moved);
                  },
                  [](TfrmProblemSolver& s) { s.WizardCancelButton()->Click(); }});  // Sluiten keeps it
    EXPECT_EQ(result, mrCancel);
    EXPECT_TRUE(boxes.Messages().empty()) << boxes.Texts()[0];

    EXPECT_FALSE(DirectoryExists(ReportFolder()));
    EXPECT_FALSE(DirectoryExists(moved + "\\..\\Report02"));
    TIniFile ini(moved + "\\CASE.INI");
    EXPECT_EQ(ini.ReadString("Case", "Produktversie", ""), "Factureren (3.0)");
    // The categories the first application recommended give way to the new one's.
    EXPECT_EQ(ini.ReadSection("Techinfos"), std::vector<std::string>{"TI0"});
    EXPECT_EQ(ini.ReadString("Techinfos", "TI0", ""), "Printer");
    EXPECT_EQ(ini.ReadString("Probleem", "Line1", ""), "De saldi kloppen niet.");
    const std::string rtf = ReadFileBytes(moved + "\\CASE.RTF");
    EXPECT_NE(rtf.find("Factureren (3.0)"), std::string::npos);
    EXPECT_EQ(rtf.find("Kasboek (2.1)"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(moved + "\\scherm.bmp"), "plaatje");
    EXPECT_EQ(ReadFileBytes(picture), "plaatje");
}
