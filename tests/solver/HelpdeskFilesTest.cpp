#include <gtest/gtest.h>

#include <deque>

#include "SolverTestSupport.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Helpdesk/HelpdeskFiles.h"
#include "platform/gui/Dialogs.h"

namespace {
// Answers the open dialogs with the given paths, one per dialog, for the lifetime of the object.
class TChosenFiles {
public:
    explicit TChosenFiles(std::deque<std::string> paths) : FPaths(std::move(paths)) {
        SetFileDialogHook([this](const TFileDialogRequest& request) -> std::optional<std::string> {
            EXPECT_EQ(request.Filter, "Alle bestanden (*.*)|*.*");
            if (FPaths.empty()) return std::nullopt;
            std::string path = FPaths.front();
            FPaths.pop_front();
            return path;
        });
    }
    ~TChosenFiles() { SetFileDialogHook({}); }

private:
    std::deque<std::string> FPaths;
};

std::vector<std::string> Names(const TfrmHelpdeskFiles& dialog) {
    std::vector<std::string> names;
    for (int i = 0; i < dialog.lstFiles.Count(); ++i) names.push_back(dialog.lstFiles.ItemCaption(i));
    return names;
}
}  // namespace

class HelpdeskFiles : public SolverTest {
protected:
    // A stored report of Kasboek with one attachment, opened on its report page.
    HelpdeskFiles() {
        Folder.WriteFile("Reports\\Kasboek\\Report01\\CASE.RTF", "{\\rtf1 }\r\n");
        Attachment = Folder.WriteFile("Reports\\Kasboek\\Report01\\scherm.bmp", std::string(3000, 'b'));
        Application->Name().SetAsString("Kasboek");
        Application->Build().SetAsString("2.1");
    }
    int OpenAttachments(const std::function<void(TfrmHelpdeskFiles&)>& script, std::string* caption = nullptr) {
        auto report = std::make_shared<THelpdeskReport>("Reports\\Kasboek\\Report01", Application);
        auto solver = CreateForm<TfrmProblemSolver>();
        solver->OpenReport(report);
        int result = mrNone;
        Run(
            *solver,
            [&](TfrmProblemSolver& s) {
                EXPECT_EQ(s.btnOpenAppendix.Caption(), "1 &Bijlage (3 kB)...");
                WORD key = 'B';
                s.FormKeyDown(&s, key, ssCtrl);  // Ctrl+B
                if (caption) *caption = s.btnOpenAppendix.Caption();
                s.WizardCancelButton()->Click();
            },
            [&](TForm& form) {
                auto* dialog = dynamic_cast<TfrmHelpdeskFiles*>(&form);
                ASSERT_NE(dialog, nullptr);
                EXPECT_EQ(dialog->Caption(), "Bijlagen");
                EXPECT_EQ(dialog->HelpContext, 1019);
                EXPECT_FALSE(dialog->btnListDelete.Enabled());
                script(*dialog);
                result = dialog->ModalResult();
            });
        return result;
    }

    std::shared_ptr<TBranApplication> Application = std::make_shared<TBranApplication>();
    std::string Attachment;
};

TEST_F(HelpdeskFiles, SameNamesInAnyCaseAndTheReportsOwnFilesAreAddedOnce) {
    const std::string a = Folder.WriteFile("Eerste\\Notitie.txt", "eerste");
    const std::string b = Folder.WriteFile("Tweede\\Notitie.txt", "tweede");
    const std::string c = Folder.WriteFile("Derde\\NOTITIE.TXT", "derde");
    const std::string ini = Folder.WriteFile("Vierde\\case.ini", "[Case]");
    const std::string zip = Folder.WriteFile("Vierde\\Case.Zip", "PK");
    const std::string rtf = Folder.WriteFile("Vierde\\CASE.rtf", "{}");
    const std::string big = Folder.WriteFile("Vierde\\groot.dat", std::string(5 * 1024 + 600, 'g'));
    TChosenFiles chosen({a, b, c, ini, zip, rtf, big});
    std::string caption;
    TMessageRecorder boxes;
    EXPECT_EQ(OpenAttachments(
                  [&](TfrmHelpdeskFiles& d) {
                      for (int i = 0; i < 7; ++i) d.btnListAdd.Click();
                      EXPECT_EQ(Names(d), (std::vector<std::string>{"scherm.bmp", "Notitie.txt", "groot.dat"}));
                      EXPECT_EQ(d.lstFiles.SubItem(2, 0), "6 kB");
                      d.btnOK.Click();
                  },
                  &caption),
              mrOk);
    EXPECT_TRUE(boxes.Messages().empty());
    EXPECT_EQ(caption, "3 &Bijlagen (9 kB)...");
    // Copied into the report folder: the first of the same name, none of the refused ones.
    EXPECT_EQ(ReadFileBytes(ReportFolder() + "\\Notitie.txt"), "eerste");
    EXPECT_TRUE(FileExists(ReportFolder() + "\\groot.dat"));
    EXPECT_FALSE(FileExists(ReportFolder() + "\\Case.Zip"));
}

TEST_F(HelpdeskFiles, RemovingKeepsTheFileUntilOk) {
    for (int button : {mrCancel, mrOk}) {
        SCOPED_TRACE(button == mrOk ? "OK" : "Annuleren");
        std::string caption;
        OpenAttachments(
            [&](TfrmHelpdeskFiles& d) {
                d.lstFiles.SetSelected(0);
                d.lstFilesClick(&d.lstFiles);
                EXPECT_TRUE(d.btnListDelete.Enabled());
                d.btnListDelete.Click();
                EXPECT_EQ(d.lstFiles.Count(), 0);
                EXPECT_FALSE(d.btnListDelete.Enabled());
                EXPECT_TRUE(FileExists(Attachment));  // nothing on disk changes while the dialog is open
                (button == mrOk ? d.btnOK : d.btnCancel).Click();
            },
            &caption);
        EXPECT_EQ(FileExists(Attachment), button == mrCancel);
        EXPECT_EQ(caption, button == mrOk ? "0 &Bijlagen (0 kB)..." : "1 &Bijlage (3 kB)...");
    }
}

TEST(AttachmentsCaption, CountsEveryEntryButOnlyTheSizeOfFilesThatExist) {
    TScratchFolder folder;
    const std::string kept = folder.WriteFile("a.txt", std::string(2048, 'a'));
    EXPECT_EQ(AttachmentsCaption({}), "0 &Bijlagen (0 kB)...");
    EXPECT_EQ(AttachmentsCaption({kept}), "1 &Bijlage (2 kB)...");
    EXPECT_EQ(AttachmentsCaption({kept, folder / "verdwenen.txt"}), "2 &Bijlagen (2 kB)...");
}
