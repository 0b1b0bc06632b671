// The problem solver on each of its pages for a sample application of the maker with a help file, a
// readme and a helpdesk page, and a user who filled in the personal data before; the attachments
// dialog with two files.
#include <memory>

#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskFiles.h"
#include "Source/Common/Helpdesk/ProblemSolver.h"
#include "Source/Common/Shell/BranModel.h"
#include "gallery/Gallery.h"
#include "lib/App.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "tests/support/SampleApplication.h"

namespace {
// The gallery's prefix is a throwaway one: the sample application and user may live in its registry.
void PrepareMachine() {
    static std::unique_ptr<TAppModel> model = GlobalApp().FindObjDesc("TUser") ? nullptr : BuildBranServiceModel();
    const std::string folder = GetTempFolder() + "BranGallery\\";
    ForceDirectories(folder + "Kasboek");
    SetProgramFolder(folder);
    WriteFileBytes(folder + "Kasboek\\KASBOEK.HLP", "help");
    WriteFileBytes(folder + "Kasboek\\LEESMIJ.TXT", "leesmij");
    RegisterApplication({.Values = {{"", "Brantel Kasboek"},
                                    {"ReleaseVersion", "2.1"},
                                    {"HelpFile", folder + "Kasboek\\KASBOEK.HLP"},
                                    {"ReadMeFile", folder + "Kasboek\\LEESMIJ.TXT"},
                                    {"URLHelpdesk", "http://www.brantel.nl/helpdesk/kasboek"}},
                         .TechInfos = {"SystemSummary", "Printer"}});
    TRegKey key;
    key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true);
    for (auto [name, value] : {std::pair{"Initials", "J.P."}, {"LastName", "Jansen"}, {"Street", "Dorpsstraat"},
                               {"HouseNumber", "12 a"}, {"ZipCode", "1234 AB"}, {"City", "Utrecht"},
                               {"Country", "Nederland"}, {"E-mail", "j.jansen@voorbeeld.nl"}, {"Tel", "030-1234567"},
                               {"ReachableFrom", "08:30"}, {"ReachableUntil", "17:00"}, {"Internet", "True"}})
        key.WriteString(name, value);
}

// The wizard after `steps` clicks on Next, with a problem described on the way.
TGalleryFactory OnPage(int steps) {
    return [steps] {
        PrepareMachine();
        SetGalleryPrepare([steps](TForm& form) {
            auto& s = static_cast<TfrmProblemSolver&>(form);
            for (int i = 0; i < steps; ++i) {
                if (s.pageProblemSolver.ActivePage() == &s.TabProblemDescription) {
                    s.txtProblemGoal.SetText("De maand maart afsluiten");
                    s.memoProblemActions.SetText("Menu Boekingen, Maand afsluiten gekozen.\r\nMaand 3 ingevuld.");
                    s.memoProblemDescription.SetText("Het kasboek sluit de maand niet af.\r\nDe saldi kloppen niet meer.");
                    s.txtProblemErrorMessage.SetText("Fout 42: ongeldige boekingsperiode");
                }
                if (s.pageProblemSolver.ActivePage() == &s.TabTechInfo && !s.lstTechInfos.Checked(0))
                    s.lstTechInfos.SetChecked(0, true);
                s.NextButton()->Click();
            }
        });
        return std::unique_ptr<TForm>(CreateForm<TfrmProblemSolver>().release());
    };
}

const TGalleryRegistration Intro("TfrmProblemSolver", OnPage(0));
const TGalleryRegistration Documentation("TfrmProblemSolver.2.Documentation", OnPage(1));
const TGalleryRegistration Update("TfrmProblemSolver.3.Onlineupdate", OnPage(2));
const TGalleryRegistration Contact("TfrmProblemSolver.4.ContactHelpdesk", OnPage(3));
const TGalleryRegistration Problem("TfrmProblemSolver.5.ProblemDescription", OnPage(4));
const TGalleryRegistration TechInfo("TfrmProblemSolver.6.TechInfo", OnPage(5));
const TGalleryRegistration Personal("TfrmProblemSolver.7.PersonalInfo", OnPage(6));
const TGalleryRegistration Notification("TfrmProblemSolver.8.Notification", OnPage(7));
const TGalleryRegistration Report("TfrmProblemSolver.9.HelpdeskReport", OnPage(8));

const TGalleryRegistration Files("TfrmHelpdeskFiles", [] {
    PrepareMachine();
    const std::string folder = GetTempFolder() + "BranGallery\\";
    WriteFileBytes(folder + "Afschrift maart.pdf", std::string(48 * 1024, 'x'));
    WriteFileBytes(folder + "kasboek.log", std::string(3 * 1024, 'x'));
    auto dialog = CreateForm<TfrmHelpdeskFiles>();
    dialog->AddFile(folder + "Afschrift maart.pdf");
    dialog->AddFile(folder + "kasboek.log");
    dialog->lstFiles.SetSelected(1);
    return std::unique_ptr<TForm>(dialog.release());
});
}  // namespace
