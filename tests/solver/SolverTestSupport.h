#pragma once
// A machine with one of the maker's applications (help file, readme, helpdesk page, one recommended
// category) and a stored user record, the program folder in a scratch folder, and the problem solver
// driven page by page through the modal hook.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "ModelFixture.h"
#include "SampleApplication.h"
#include "Source/Common/Catalogue/UnknownApp.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ProblemSolver.h"
#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"

class SolverTest : public testing::Test {
protected:
    SolverTest() {
        SetProgramFolder(Folder.Path());
        HelpFile = Folder.WriteFile("Kasboek\\KASBOEK.HLP", "help");
        ReadmeFile = Folder.WriteFile("Kasboek\\LEESMIJ.TXT", "leesmij");
        RegisterApplication({.Values = {{"", "Kasboek"},
                                        {"ReleaseVersion", "2.1"},
                                        {"HelpFile", HelpFile},
                                        {"ReadMeFile", ReadmeFile},
                                        {"URLHelpdesk", "http://127.0.0.1/helpdesk/kasboek"}},
                             .TechInfos = {"WindowsMemory"}});
        StoreUser({{"Initials", "J."}, {"LastName", "Jansen"}, {"Street", "Dorpsstraat"}, {"HouseNumber", "12"},
                   {"ZipCode", "1234 AB"}, {"City", "Utrecht"}, {"Country", "Nederland"},
                   {"E-mail", "j.jansen@voorbeeld.nl"}, {"Internet", "True"}});
    }
    ~SolverTest() override {
        SetCurrentDir(GetTempFolder());
        SetProgramFolder("");
    }

    static void StoreUser(std::initializer_list<std::pair<const char*, const char*>> values) {
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true));
        for (auto [name, value] : values) key.WriteString(name, value);
    }

    // Shows the wizard modally; the script runs on it once it is visible, and `nested` answers any
    // other modal window (the name dialog, the attachments dialog).
    int Run(TfrmProblemSolver& solver, const std::function<void(TfrmProblemSolver&)>& script,
            const std::function<void(TForm&)>& nested = {}) {
        TModalScript hook([&](TForm& form) {
            if (&form == &solver)
                script(solver);
            else if (nested)
                nested(form);
            else
                ADD_FAILURE() << "unexpected window " << form.Caption();
        });
        return solver.ShowModal();
    }
    int Run(const std::function<void(TfrmProblemSolver&)>& script, const std::function<void(TForm&)>& nested = {}) {
        auto solver = CreateForm<TfrmProblemSolver>();
        return Run(*solver, script, nested);
    }

    using TStep = std::function<void(TfrmProblemSolver&)>;
    // Shows the wizard in its real modal loop, no hook: each step runs from a timer of the test
    // thread once the window is up and the messages of the step before are handled, as the user's
    // actions come. Answers the modal result; a window still open a while after the last step is
    // closed with a failure.
    static int RunModal(TfrmProblemSolver& solver, std::vector<TStep> steps);

    static std::string Page(const TfrmProblemSolver& s) { return s.pageProblemSolver.ActivePage()->Caption(); }
    static void Next(TfrmProblemSolver& s) { s.NextButton()->Click(); }
    static void Back(TfrmProblemSolver& s) { s.BackButton()->Click(); }
    // From the intro to the personal-data page, with a problem description.
    static void WalkToPersonalInfo(TfrmProblemSolver& s) {
        Next(s);  // documentation
        Next(s);  // online update
        Next(s);  // contact
        Next(s);  // problem
        s.memoProblemDescription.SetText("Het kasboek sluit niet af.\r\nDe saldi kloppen niet.");
        s.txtProblemGoal.SetText("Maandafsluiting");
        Next(s);  // technical information
        Next(s);  // personal data
    }
    std::string ReportFolder(int n = 1) const {
        return Folder.Path() + "Reports\\Kasboek\\Report" + (n < 10 ? "0" : "") + std::to_string(n);
    }

    TAppModel& Model = BranModel();
    TRegistrySandbox Registry;
    TScratchFolder Folder;
    std::string HelpFile, ReadmeFile;
};
