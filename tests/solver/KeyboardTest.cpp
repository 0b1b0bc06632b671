// The problem solver by keyboard alone, in its real modal loop, with keys typed as the user types
// them.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <typeinfo>

#include "RealKeys.h"
#include "SolverTestSupport.h"
#include "platform/Shell.h"

namespace {
std::string Describe(const TControl* control) {
    return control ? StripAccelerator(control->Caption()) + " (" + typeid(*control).name() + ")" : "nothing";
}

// The control of the tab order that has the focus (a combo box holds it in its edit), or nullptr.
TControl* FocusedOf(const std::vector<TControl*>& order) {
    for (TControl* control : order)
        if (control->Focused()) return control;
    return nullptr;
}
}  // namespace

// On every page Tab goes round every control and the wizard's buttons back to where the page
// started (the multi-line boxes and the report view kept the focus for good); the page starts at its
// first field or, without one, at Next, so that Enter goes on; in a multi-line box Enter is a new line.
TEST_F(SolverTest, EveryPageIsUsableFromTheKeyboardAlone) {
    std::vector<TShellStart> started;
    SetShellHook([&](const TShellStart& start) { return started.push_back(start), intptr_t(42); });
    TMessageRecorder boxes;
    auto solver = CreateForm<TfrmProblemSolver>();
    TfrmProblemSolver& s = *solver;
    // Where each page starts (nullptr: at Next, which the wizard makes when it shows).
    const std::map<std::string, TControl*> firstFocus = {
        {"Inleiding", &s.cboServiceItems},
        {"Raadpleeg de Documentatie", nullptr},
        {"Online Update", nullptr},
        {"Contact opnemen met de Brantel Helpdesk", &s.optContactEmail},
        {"Probleemomschrijving", &s.txtProblemGoal},
        {"Technische informatie", &s.lstTechInfos},
        {"Persoonlijke gegevens", &s.txtUserInitials},
        {"Opslaan van gegevens", nullptr},
        {"Helpdeskrapport", &s.memoReportView},
    };
    TKeyScript keys;
    std::vector<std::string> pages;
    // Tab once per control of the tab order: every one is reached and the focus is back at the start.
    auto tabRound = [&] {
        const std::vector<TControl*> order = TForm::TabOrder(&s);
        auto reached = std::make_shared<std::set<TControl*>>();
        TControl* start = FocusedOf(order);
        for (size_t i = 0; i < order.size(); ++i)
            keys.Add([&, reached, order, i] {
                if (i > 0) reached->insert(FocusedOf(order));
                TypeKey(VK_TAB);
            });
        keys.Add([&, reached, order, start] {
            reached->insert(FocusedOf(order));
            EXPECT_EQ(FocusedOf(order), start) << Page(s) << ": round again at " << Describe(FocusedOf(order));
            EXPECT_EQ(*reached, std::set<TControl*>(order.begin(), order.end())) << Page(s);
        });
    };
    // The problem in the boxes of its page, the focus back at the first field.
    auto describeProblem = [&] {
        TypeText("Maandafsluiting");
        TypeKey(VK_TAB);
        keys.Add([&] {
            EXPECT_TRUE(s.memoProblemActions.Focused());
            TypeText("Menu Afsluiten");
            TypeKey(VK_RETURN);
            TypeText("Maand 3");
            TypeKey(VK_TAB);
        });
        keys.Add([&] {
            EXPECT_TRUE(s.memoProblemDescription.Focused());
            TypeText("Het kasboek sluit niet af.");
            TypeKey(VK_TAB, ssShift);
            TypeKey(VK_TAB, ssShift);
        });
    };
    std::function<void()> visit = [&] {
        const std::string page = Page(s);
        // Leaving the personal data composes the report while the window stays with the user: the
        // next page comes once that is done.
        if (!pages.empty() && page == pages.back()) return keys.Add(visit);
        pages.push_back(page);
        TControl* first = firstFocus.at(page) ? firstFocus.at(page) : s.NextButton();
        EXPECT_TRUE(first->Focused()) << page << " starts at " << Describe(first);
        if (page == "Probleemomschrijving") describeProblem();
        tabRound();
        if (page == "Helpdeskrapport") return;
        keys.Add([] { TypeKey(VK_RETURN); });
        keys.Add(visit);
    };
    keys.Add(visit);
    const size_t ran = keys.Run(s, 120000);
    EXPECT_EQ(ran, keys.Count());
    SetShellHook({});
    EXPECT_EQ(pages, (std::vector<std::string>{"Inleiding", "Raadpleeg de Documentatie", "Online Update",
                                               "Contact opnemen met de Brantel Helpdesk", "Probleemomschrijving",
                                               "Technische informatie", "Persoonlijke gegevens",
                                               "Opslaan van gegevens", "Helpdeskrapport"}));
    EXPECT_TRUE(started.empty()) << "Enter opened " << started.front().File;
    EXPECT_TRUE(boxes.Messages().empty()) << boxes.Messages().front().Text;
    EXPECT_EQ(s.txtProblemGoal.Text(), "Maandafsluiting");
    EXPECT_EQ(s.memoProblemActions.Lines(), (std::vector<std::string>{"Menu Afsluiten", "Maand 3"}));
    EXPECT_TRUE(s.optContactEmail.Checked()) << "going past the options chose none";
    EXPECT_NE(s.memoReportView.PlainText().find("Het kasboek sluit niet af."), std::string::npos);
}
