#include <gtest/gtest.h>

#include "core/Exceptions.h"

TEST(EBrantel, TextNamesClassOperationAndContextChain) {
    EBrantel e("THelpdeskReport", "WriteCaseIni", "Schijf vol", "Het rapport kon niet worden opgeslagen.");
    EXPECT_STREQ(e.what(), "THelpdeskReport.WriteCaseIni: Schijf vol");
    EXPECT_EQ(e.UserMessage(), "Het rapport kon niet worden opgeslagen.");
    EXPECT_EQ(e.TechnicalMessage(), "Schijf vol");

    // Each routine that passes the failure on adds where it came through.
    try {
        try {
            throw e;
        } catch (EBrantel& inner) {
            inner.AddContext("TfrmProblemSolver", "SaveAll", "Report03");
            throw;
        }
    } catch (EBrantel& outer) {
        outer.AddContext("TfrmProblemSolver", "FormClose");
        EXPECT_EQ(outer.Message(),
                  "THelpdeskReport.WriteCaseIni: Schijf vol <TfrmProblemSolver.SaveAll Report03>"
                  " <TfrmProblemSolver.FormClose>");
    }
}

TEST(EBrantel, UserMessageFallsBackToTechnicalAndAssertionsNameTheirSource) {
    EXPECT_EQ(EBrantel("T", "Op", "technisch").UserMessage(), "technisch");
    try {
        BranAssert(false, "CollectInfo is nog niet aangeroepen.", "Source\\Common\\TechInfo");
        FAIL() << "assertion did not throw";
    } catch (const EBranAssertion& a) {
        EXPECT_EQ(a.AssertMessage(), "CollectInfo is nog niet aangeroepen.");
        EXPECT_EQ(a.SourceUnit(), "Source\\Common\\TechInfo");
        EXPECT_STREQ(a.what(), "CollectInfo is nog niet aangeroepen. (Source\\Common\\TechInfo)");
    }
    EXPECT_NO_THROW(BranAssert(true, "x", "y"));
}
