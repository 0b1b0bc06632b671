#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "ModalWatcher.h"
#include "ModelFixture.h"
#include "RealMessageBoxes.h"
#include "SampleApplication.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Internet/MailserverForm.h"
#include "Source/Common/Shell/MainForm.h"
#include "TestSupport.h"
#include "TrustedRoot.h"
#include "platform/Files.h"

// Run by tests/checks/secure_mail.py, which serves SMTP with STARTTLS and AUTH on 127.0.0.1 under a
// certificate authority made for the run and reads back what arrived. The program's main window
// starts with a report that could not be sent; the user sets the mail server in the real dialog from
// the File menu (STARTTLS, the server's port, an account) and sends the report again from its entry,
// answering the real boxes.
TEST(SecureOutbox, TheUserSetsTheServerAndSendsTheWaitingReport) {
    const std::string port = SecureServerPorts()["outbox"], artifacts = EnvironmentValue("BRAN_ARTIFACT_DIR");
    if (port.empty() || artifacts.empty()) GTEST_SKIP() << "no server to talk to";
    TRegistrySandbox registry;
    // Trusted before anything in the process checks a certificate.
    TTrustedRoot authority(EnvironmentValue("BRAN_TEST_AUTHORITY"));
    TAppModel& model = BranModel();
    (void)model;
    const std::string program = IncludeTrailingBackslash(artifacts) + "program\\";
    ForceDirectories(program + "Reports\\Kasboek\\Report01");
    SetProgramFolder(program);
    RegisterApplication({.Values = {{"", "Kasboek"}, {"ReleaseVersion", "2.1"}}});
    const std::string folder = program + "Reports\\Kasboek\\Report01\\";
    WriteFileBytes(folder + "CASE.RTF", "{\\rtf1\\ansi Het kasboek sluit de maand niet af.}\r\n");
    WriteFileBytes(folder + "CASE.INI", "[Relatie]\r\nAchternaam=Jansen\r\nE-mail=jan@example.nl\r\n"
                                        "[Verzending]\r\nStatus=Niet verzonden\r\nTijd=9-12-2026 10:00:00\r\n"
                                        "Reden=De mail-server heeft het bericht geweigerd: 530 Must issue a STARTTLS command first\r\n");
    WriteFileBytes(folder + "scherm.txt", "Fout 42\r\n");
    // A report sent earlier is not counted.
    ForceDirectories(program + "Reports\\Kasboek\\Report02");
    WriteFileBytes(program + "Reports\\Kasboek\\Report02\\CASE.INI", "[Verzending]\r\nStatus=Verzonden\r\n");

    auto form = CreateForm<TfrmMain>(std::vector<std::string>{"-rKasboek"});
    form->Show();
    Application().ProcessMessages();
    EXPECT_EQ(form->barStatus.SimpleText(), "Er is 1 helpdeskrapport nog niet verzonden.");
    {
        TModalScript dialog([&](TForm& f) {
            auto* d = dynamic_cast<TfrmMailserver*>(&f);
            ASSERT_NE(d, nullptr);
            d->txtMailserver.SetText("localhost");
            d->SetSecurity(TMailSecurity::StartTls);
            d->txtPort.SetText(port);
            d->txtUserName.SetText("jan@example.nl");
            d->txtPassword.SetText("geheim wachtwoord");
            d->btnOK.Click();
        });
        form->mnuBestandMailserverinstellingClick(nullptr);
    }
    int entry = -1;
    for (int i = 0; i < form->lstServices.Count(); ++i)
        if (form->lstServices.ItemCaption(i) == "Helpdeskrapport (niet verzonden)") entry = i;
    ASSERT_GE(entry, 0);
    form->lstServices.SetSelected(entry);
    {
        TRealMessageBoxes boxes;  // Yes to sending, then OK
        form->mnuBestandOpenenClick(nullptr);
        ASSERT_EQ(boxes.Texts().size(), 2u);
        EXPECT_EQ(boxes.Texts()[1], "Het helpdeskrapport is verzonden.");
    }
    const TReportDispatch dispatch = ReadReportDispatch(ExcludeTrailingBackslash(folder));
    EXPECT_EQ(dispatch.State, TDispatchState::Sent);
    EXPECT_EQ(dispatch.Detail.rfind("250 ", 0), 0u) << dispatch.Detail;
    for (int i = 0; i < form->lstServices.Count(); ++i)
        EXPECT_NE(form->lstServices.ItemCaption(i), "Helpdeskrapport (niet verzonden)");
    form.reset();
    SetProgramFolder("");
}
