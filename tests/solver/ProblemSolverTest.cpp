#include <gtest/gtest.h>

#include "RealMessageBoxes.h"
#include "SolverTestSupport.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "core/StrConv.h"
#include "lib/BranProgressBar.h"
#include "platform/Shell.h"
#include "platform/gui/Dialogs.h"

TEST_F(SolverTest, TheWholeRouteCreatesTheReportAndCancelOnTheReportPageKeepsIt) {
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        EXPECT_EQ(s.Caption(), "Probleemoplosser");
        EXPECT_EQ(Page(s), "Inleiding");
        EXPECT_EQ(s.cboServiceItems.Text(), "Kasboek (2.1)");
        EXPECT_EQ(s.cboServiceItems.Item(s.cboServiceItems.Count() - 1), "Anders...");
        EXPECT_TRUE(s.chkIntroInternet.Checked());
        EXPECT_EQ(s.ProgressBar()->Max(), 9);
        Next(s);
        EXPECT_EQ(Page(s), "Raadpleeg de Documentatie");
        EXPECT_EQ(s.HelpContext, 1);
        EXPECT_TRUE(s.pnlDocHelp.Visible());
        EXPECT_TRUE(s.pnlDocReadme.Visible());
        EXPECT_TRUE(s.pnlDocInternet.Visible());
        EXPECT_NE(s.lblDocTry.Caption().find("Probeer daarna in Kasboek of"), std::string::npos);
        EXPECT_TRUE(s.ButtonService(s.btnDocHelp));
        EXPECT_TRUE(s.ButtonService(s.btnDocReadme));
        EXPECT_TRUE(s.ButtonService(s.btnUpdateOnline));
        Next(s);
        EXPECT_EQ(Page(s), "Online Update");
        EXPECT_EQ(s.lblUpdate3.Caption(),
                  "Online Update maakt verbinding met het Internet om te controleren of er een nieuwere versie is van "
                  "Kasboek.");
        Next(s);
        EXPECT_EQ(Page(s), "Contact opnemen met de Brantel Helpdesk");
        EXPECT_TRUE(s.optContactEmail.Visible());
        EXPECT_TRUE(s.optContactEmail.Checked());
        Next(s);
        EXPECT_EQ(Page(s), "Probleemomschrijving");
        EXPECT_EQ(s.lblProblemGoal.Caption(), "Beschrijf wat u wilde &doen in Kasboek.");
        s.txtProblemGoal.SetText("Maandafsluiting");
        s.memoProblemActions.SetText("Menu Afsluiten\r\nMaand = 3");
        s.memoProblemDescription.SetText("Het kasboek sluit niet af.");
        s.txtProblemErrorMessage.SetText("Fout 42");
        Next(s);
        EXPECT_EQ(Page(s), "Technische informatie");
        // The application's recommended category is checked on the first visit.
        for (int i = 0; i < s.lstTechInfos.Count(); ++i)
            EXPECT_EQ(s.lstTechInfos.Checked(i), s.TechInfoIdentifier(i) == "WindowsMemory")
                << s.lstTechInfos.ItemCaption(i);
        Next(s);
        EXPECT_EQ(Page(s), "Persoonlijke gegevens");
        EXPECT_EQ(s.txtUserLastName.Text(), "Jansen");
        EXPECT_EQ(s.lblUserLastName.Caption(), "Achter&naam");
        EXPECT_FALSE(DirectoryExists(ReportFolder()));
        Next(s);
        EXPECT_EQ(Page(s), "Opslaan van gegevens");
        EXPECT_TRUE(FileExists(ReportFolder() + "\\CASE.RTF"));
        Next(s);
        EXPECT_EQ(Page(s), "Helpdeskrapport");
        EXPECT_EQ(s.NextButton()->Caption(), "Voltooien");
        EXPECT_EQ(s.WizardCancelButton()->Kind(), TBitBtnKind::bkClose);
        EXPECT_TRUE(s.btnEMail.Visible());
        EXPECT_EQ(s.lblReport1.Caption(), "Klik op 'Voltooien' om het helpdeskrapport per e-mail te verzenden.");
        const std::string view = s.memoReportView.PlainText();
        EXPECT_NE(view.find("Het kasboek sluit niet af."), std::string::npos) << view;
        EXPECT_NE(view.find("Windows geheugen"), std::string::npos);
        EXPECT_EQ(view.find("Stuur of fax dit formulier naar:"), std::string::npos);  // no fax header
        EXPECT_EQ(s.cboSearch.Text(), "Windows geheugen");
        EXPECT_EQ(s.btnOpenAppendix.Caption(), "0 &Bijlagen (0 kB)...");
        s.WizardCancelButton()->Click();
    });
    EXPECT_TRUE(boxes.Messages().empty());
    // Kept and saved, with the form's data.
    TIniFile ini(ReportFolder() + "\\CASE.INI");
    EXPECT_EQ(ini.ReadString("Relatie", "Achternaam", ""), "Jansen");
    EXPECT_EQ(ini.ReadString("Case", "Produktversie", ""), "Kasboek (2.1)");
    EXPECT_EQ(ini.ReadString("Case", "Bedoeling", ""), "Maandafsluiting");
    EXPECT_EQ(ini.ReadString("Handelingen", "Line1", ""), "Maand = 3");
    EXPECT_EQ(ini.ReadString("Probleem", "Line0", ""), "Het kasboek sluit niet af.");
    EXPECT_EQ(ini.ReadString("Case", "Foutmelding", ""), "Fout 42");
    EXPECT_EQ(ini.ReadString("Techinfos", "TI0", ""), "WindowsMemory");
}

TEST_F(SolverTest, WithoutInternetTheUpdatePageAndEveryEmailChoiceAreLeftOut) {
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        SendMessageW(s.chkIntroInternet.Handle(), BM_CLICK, 0, 0);  // as the user clicks it
        EXPECT_FALSE(s.chkIntroInternet.Checked());
        Next(s);
        EXPECT_FALSE(s.pnlDocInternet.Visible());  // the web row needs the Internet
        Next(s);
        EXPECT_EQ(Page(s), "Contact opnemen met de Brantel Helpdesk");
        EXPECT_FALSE(s.optContactEmail.Visible());
        EXPECT_TRUE(s.optContactMail.Checked());
        Back(s);
        EXPECT_EQ(Page(s), "Raadpleeg de Documentatie");
        Next(s);
        Next(s);
        s.memoProblemDescription.SetText("Het kasboek sluit niet af.");
        Next(s);
        Next(s);
        Next(s);
        Next(s);
        EXPECT_EQ(Page(s), "Helpdeskrapport");
        EXPECT_FALSE(s.btnEMail.Visible());
        EXPECT_EQ(s.lblReport1.Caption(), "Plaats een lege diskette in station A:");
        EXPECT_FALSE(s.TabOnlineupdate.Enabled());
        s.WizardCancelButton()->Click();
    });
    EXPECT_TRUE(boxes.Messages().empty());
    // The choice is stored with the user.
    EXPECT_EQ(TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, UserRegistrationKey).ReadString("Internet"), "False");
}

TEST_F(SolverTest, AndersCancelledStaysOnTheIntroAndAndersNamedSkipsDocumentationAndUpdate) {
    TMessageRecorder boxes;
    bool named = false;
    Run(
        [&](TfrmProblemSolver& s) {
            s.cboServiceItems.SetItemIndex(s.cboServiceItems.IndexOf("Anders..."));
            s.cboServiceItemsChange(&s.cboServiceItems);
            Next(s);  // the name dialog is cancelled
            EXPECT_EQ(Page(s), "Inleiding");
            Next(s);  // now a name is given
            EXPECT_EQ(Page(s), "Contact opnemen met de Brantel Helpdesk");
            EXPECT_EQ(s.cboServiceItems.Text(), "Boekhouden Pro (?\?\?)");
            EXPECT_EQ(s.ServiceItem()->Name().AsString(), "Boekhouden Pro");
            Back(s);
            EXPECT_EQ(Page(s), "Inleiding");
            Next(s);  // an added application: no second question, the pages stay skipped
            EXPECT_EQ(Page(s), "Contact opnemen met de Brantel Helpdesk");
            // Also back from the report page, which enables the pages before it.
            Next(s);
            s.memoProblemDescription.SetText("Het programma start niet.");
            for (int i = 0; i < 4; ++i) Next(s);
            ASSERT_EQ(Page(s), "Helpdeskrapport");
            std::vector<std::string> back;
            for (int i = 0; i < 8 && Page(s) != "Inleiding"; ++i) {
                Back(s);
                back.push_back(Page(s));
            }
            EXPECT_EQ(back, (std::vector<std::string>{"Opslaan van gegevens", "Persoonlijke gegevens",
                                                      "Technische informatie", "Probleemomschrijving",
                                                      "Contact opnemen met de Brantel Helpdesk", "Inleiding"}));
            Next(s);
            EXPECT_EQ(Page(s), "Contact opnemen met de Brantel Helpdesk");
            boxes.Answer(IDNO);  // the report the user saw is not kept
            s.WizardCancelButton()->Click();
        },
        [&](TForm& form) {
            auto* dialog = dynamic_cast<TfrmUnknownApp*>(&form);
            ASSERT_NE(dialog, nullptr);
            if (!named) {
                named = true;
                dialog->btnCancel.Click();
            } else {
                dialog->txtAppName.SetText("Boekhouden Pro");
                dialog->btnOK.Click();
            }
        });
    EXPECT_EQ(boxes.Messages().size(), 1u);
    EXPECT_FALSE(DirectoryExists(Folder / "Reports\\Boekhouden Pro\\Report01"));
}

// Each row: how to spoil the input on the way, and the one warning that keeps the page.
struct TRefusal {
    const char* Name;
    std::function<void(TfrmProblemSolver&)> Spoil;
    const char* Page;
    const char* Message;
};

TEST_F(SolverTest, EveryCheckKeepsItsPageWithItsWarning) {
    const TRefusal rows[] = {
        {"empty description", [](TfrmProblemSolver& s) { s.memoProblemDescription.SetText(""); },
         "Probleemomschrijving", "De omschrijving van het probleem is nog niet ingevuld.\rVul deze alsnog in."},
        {"nothing checked",
         [](TfrmProblemSolver& s) {
             for (int i = 0; i < s.lstTechInfos.Count(); ++i) s.lstTechInfos.SetChecked(i, false);
         },
         "Technische informatie", "Er moet minstens één onderdeel geselecteerd zijn.\rSelecteer deze alsnog."},
        {"telephone without number", [](TfrmProblemSolver& s) { s.optContactTelephone.SetChecked(true); },
         "Persoonlijke gegevens", "Het veld Telefoon moet ingevuld worden."},
        {"e-mail without address",
         [](TfrmProblemSolver& s) {
             if (s.pageProblemSolver.ActivePage() == &s.TabPersonalInfo) s.txtUserEmail.SetText("");
         },
         "Persoonlijke gegevens", "Het veld E-mail moet ingevuld worden."},
        {"invalid address, diskette chosen",
         [](TfrmProblemSolver& s) {
             s.optContactMail.SetChecked(true);
             if (s.pageProblemSolver.ActivePage() == &s.TabPersonalInfo) s.txtUserEmail.SetText("jansen@");
         },
         "Persoonlijke gegevens", "Geen correct e-mailadres."},
    };
    for (const TRefusal& row : rows) {
        SCOPED_TRACE(row.Name);
        TMessageRecorder boxes;
        Run([&](TfrmProblemSolver& s) {
            for (int step = 0; step < 6 && Page(s) != row.Page; ++step) {
                if (Page(s) == "Probleemomschrijving") s.memoProblemDescription.SetText("Het sluit niet af.");
                Next(s);
            }
            ASSERT_EQ(Page(s), row.Page);
            row.Spoil(s);
            Next(s);
            EXPECT_EQ(Page(s), row.Page);
            s.WizardCancelButton()->Click();
        });
        ASSERT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].Text, row.Message);
        EXPECT_EQ(boxes.Messages()[0].Kind, TMsgKind::Warning);
        EXPECT_FALSE(DirectoryExists(ReportFolder()));
    }
}

TEST_F(SolverTest, OneEmptyLineIsADescription) {
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        for (int i = 0; i < 4; ++i) Next(s);
        s.memoProblemDescription.SetText("\r\n");
        Next(s);
        EXPECT_EQ(Page(s), "Technische informatie");
        s.WizardCancelButton()->Click();
    });
    EXPECT_TRUE(boxes.Messages().empty());
}

TEST_F(SolverTest, BackAndForwardRecomposesTheSameReport) {
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        WalkToPersonalInfo(s);
        Next(s);
        Next(s);
        ASSERT_EQ(Page(s), "Helpdeskrapport");
        Back(s);
        Back(s);
        Back(s);
        ASSERT_EQ(Page(s), "Technische informatie");
        for (int i = 0; i < s.lstTechInfos.Count(); ++i) s.lstTechInfos.SetChecked(i, s.TechInfoIdentifier(i) == "Windows");
        Next(s);
        Next(s);
        Next(s);
        ASSERT_EQ(Page(s), "Helpdeskrapport");
        EXPECT_NE(s.memoReportView.PlainText().find("Windows systeem"), std::string::npos);
        EXPECT_EQ(s.memoReportView.PlainText().find("Windows geheugen"), std::string::npos);
        s.WizardCancelButton()->Click();
    });
    EXPECT_TRUE(DirectoryExists(ReportFolder(1)));
    EXPECT_FALSE(DirectoryExists(ReportFolder(2)));
    EXPECT_EQ(TIniFile(ReportFolder() + "\\CASE.INI").ReadString("Techinfos", "TI0", ""), "Windows");
}

TEST_F(SolverTest, SearchWrapsOnceAndThenSaysNotFound) {
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        WalkToPersonalInfo(s);
        Next(s);
        Next(s);
        const std::string text = s.memoReportView.PlainText();
        s.cboSearch.SetText("saldi");
        s.cboSearchChange(&s.cboSearch);
        WORD key = 'F';
        s.FormKeyDown(&s, key, ssCtrl);  // Ctrl+F
        const int first = s.memoReportView.SelStart();
        EXPECT_EQ(s.memoReportView.SelText(), "saldi");
        // Only above the selection now: found after wrapping to the top.
        s.btnSearchClick(&s.btnSearch);
        EXPECT_EQ(s.memoReportView.SelStart(), first);
        EXPECT_TRUE(boxes.Messages().empty());
        s.cboSearch.SetText("Zebra");
        s.cboSearchChange(&s.cboSearch);
        s.btnSearchClick(&s.btnSearch);
        s.WizardCancelButton()->Click();
    });
    ASSERT_EQ(boxes.Messages().size(), 1u);
    EXPECT_EQ(boxes.Messages()[0].Text, "Zoektekst 'Zebra' is niet gevonden.");
    EXPECT_EQ(boxes.Messages()[0].Kind, TMsgKind::Information);
}

TEST_F(SolverTest, AStoredReportOpensOnItsLastPageAndFinishClosesWithoutDelivery) {
    {
        TMessageRecorder boxes;
        Run([&](TfrmProblemSolver& s) {
            WalkToPersonalInfo(s);
            Next(s);
            Next(s);
            s.WizardCancelButton()->Click();
        });
    }
    // The report service hands in the report; the list behind the wizard may be rebuilt meanwhile.
    std::shared_ptr<THelpdeskReport> report;
    {
        auto application = std::make_shared<TBranApplication>();
        application->Name().SetAsString("Kasboek");
        application->Build().SetAsString("2.1");
        report = std::make_shared<THelpdeskReport>("Reports\\Kasboek\\Report01", application);
        auto solver = CreateForm<TfrmProblemSolver>();
        solver->OpenReport(report);
        // The service and the list let go (a refresh): the window's report keeps its application.
        std::weak_ptr<TServiceItem> held = application;
        report.reset();
        application.reset();
        ASSERT_FALSE(held.expired());
        TMessageRecorder boxes;
        const int result = Run(*solver, [&](TfrmProblemSolver& s) {
            EXPECT_EQ(Page(s), "Helpdeskrapport");
            EXPECT_FALSE(s.cboServiceItems.Enabled());
            EXPECT_EQ(s.txtProblemGoal.Text(), "Maandafsluiting");
            EXPECT_EQ(s.memoProblemDescription.Lines(),
                      (std::vector<std::string>{"Het kasboek sluit niet af.", "De saldi kloppen niet."}));
            EXPECT_NE(s.memoReportView.PlainText().find("De saldi kloppen niet."), std::string::npos);
            EXPECT_EQ(s.lblReport1.Caption(), "");
            EXPECT_TRUE(s.optContactMail.Checked());
            EXPECT_TRUE(s.TabIntro.Enabled());  // entering the report page opens the way back
            Next(s);  // Finish
        });
        EXPECT_EQ(result, mrOk);
        EXPECT_TRUE(boxes.Messages().empty());
        solver.reset();
        EXPECT_TRUE(held.expired());  // and lets go of it with the window
    }
    EXPECT_TRUE(FileExists(ReportFolder() + "\\CASE.RTF"));
}

TEST_F(SolverTest, ARealWarningBoxIsClosedByTheUserAndThePageStays) {
    Run([&](TfrmProblemSolver& s) {
        for (int i = 0; i < 4; ++i) Next(s);
        ASSERT_EQ(Page(s), "Probleemomschrijving");
        TRealMessageBoxes user;
        Next(s);  // the real box runs its own loop until the second thread closes it
        ASSERT_EQ(user.Texts().size(), 1u);
        EXPECT_NE(user.Texts()[0].find("De omschrijving van het probleem is nog niet ingevuld."), std::string::npos)
            << user.Texts()[0];
        EXPECT_EQ(Page(s), "Probleemomschrijving");
        s.WizardCancelButton()->Click();
    });
}

TEST_F(SolverTest, AnotherModalResultIsAProgrammingError) {
    TMessageRecorder boxes;
    auto solver = CreateForm<TfrmProblemSolver>();
    EXPECT_THROW(Run(*solver, [](TfrmProblemSolver& s) { s.SetModalResult(mrAbort); }), EBrantel);
}

TEST_F(SolverTest, DocumentationAndUpdateButtonsOpenTheApplicationsServices) {
    std::vector<TShellStart> started;
    SetShellHook([&](const TShellStart& start) -> intptr_t {
        started.push_back(start);
        return 42;
    });
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        Next(s);
        s.btnDocHelp.Click();
        s.btnDocReadme.Click();
        Next(s);
        s.btnUpdateOnline.Click();  // a window of its own, opened through the registered windows
        s.WizardCancelButton()->Click();
    }, [](TForm& update) {
        EXPECT_EQ(update.Caption(), "Online Update");
        update.SetModalResult(mrCancel);
    });
    SetShellHook({});
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].File, HelpFile);
    EXPECT_EQ(started[1].File, ReadmeFile);
    const bool updateKnown = ServiceFormRegistered("TfrmOnlineUpdate");
    EXPECT_EQ(boxes.Messages().size(), updateKnown ? 0u : 1u);
    if (!updateKnown && !boxes.Messages().empty()) {
        EXPECT_EQ(boxes.Messages()[0].Text, "De service 'Online Update Kasboek' kon niet gestart worden.");
    }
}

// Alt with Next's letter moves on from every page before the report; a button of a page that shared
// the letter only took the focus, so a keyboard user was stuck on the documentation page.
TEST_F(SolverTest, AltOMovesOnFromEveryPageLikeNext) {
    SetShellHook([](const TShellStart&) -> intptr_t { return 42; });
    TMessageRecorder boxes;
    Run([&](TfrmProblemSolver& s) {
        s.memoProblemDescription.SetText("Het kasboek sluit niet af.");
        const char* const route[] = {"Raadpleeg de Documentatie", "Online Update",
                                     "Contact opnemen met de Brantel Helpdesk", "Probleemomschrijving",
                                     "Technische informatie", "Persoonlijke gegevens"};
        for (const char* page : route) {
            PostMessageW(s.Handle(), WM_SYSCHAR, L'o', 0x20000001);  // as Alt+O arrives
            Application().ProcessMessages();
            EXPECT_EQ(Page(s), page);
        }
        s.WizardCancelButton()->Click();
    }, [](TForm& nested) { nested.SetModalResult(mrCancel); });
    SetShellHook({});
}
