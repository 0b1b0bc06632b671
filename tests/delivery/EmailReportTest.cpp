#include <gtest/gtest.h>

#include "DeliveryTestSupport.h"
#include "LoopbackPeer.h"
#include "Source/Common/Helpdesk/ReportOutbox.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Registry.h"

namespace {
const char* const Sent = "Het helpdeskrapport is verzonden.";
const char* const NotSent = "Het verzenden van het helpdeskrapport is niet gelukt.";

std::string Question(const std::string& email) {
    return Format("LET OP : u staat op het punt een helpdeskrapport via e-mail te versturen. De Brantel Helpdesk zal "
                  "het door u opgegeven e-mailadres gebruiken om met u te communiceren.Weet u zeker dat het door u "
                  "opgegeven e-mailadres '%s' correct is?",
                  {email});
}

// An SMTP server that takes every command, except that it answers RCPT TO with `rcptReply`.
TLoopbackPeer::TScript Server(std::string rcptReply, std::string& received) {
    return [rcptReply, &received](TPeerConnection& c) {
        c.Send("220 welkom\r\n");
        while (!c.Closed()) {
            std::string line = c.ReadLine();
            if (c.Closed()) break;
            if (line.rfind("RCPT", 0) == 0) {
                c.Send(rcptReply);
            } else if (line == "DATA") {
                c.Send("354 ga je gang\r\n");
                c.ReadUntil("\r\n.\r\n");
                c.Send("250 ontvangen\r\n");
            } else if (line == "QUIT") {
                c.Send("221 tot ziens\r\n");
            } else {
                c.Send("250 ok\r\n");
            }
        }
        received = c.Received();
    };
}

class EmailReport : public DeliveryTest {
protected:
    EmailReport() {
        AddReportFile("CASE.RTF", "{\\rtf1\\ansi Rapport}\r\n");
        AddReportFile("CASE.INI", "[Case]\r\nBedoeling=Boeken\r\n");
        AddReportFile("bijlage.txt", std::string(30000, 'b'));
        Delivery.OnSaveAll = [this] { ++SaveAllCalls; };
        Delivery.OnEmailAddressDoubted = [this] { ++DoubtCalls; };
    }
    // The user record as the personal-data page and the mail server dialog stored it.
    void StoreUser(const std::string& mailServer) {
        TUser stored;
        stored.LastName().SetAsString("Jansen");
        stored.HouseNumber().SetAsString("12 a");
        stored.ZipCode().SetAsString("1234 AB");
        stored.Email().SetAsString("p.jansen@example.nl");
        stored.Mailserver().SetAsString(mailServer);
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true));
        ASSERT_TRUE(stored.SaveToRegistry());
        // As long as the dialog never stored a value, there is none.
        if (mailServer.empty()) key.DeleteValue("Mailserver");
        User.LoadFromRegistry();
    }
    static std::string TempArchive() { return GetTempFolder() + "CASE.ZIP"; }

    TRegistrySandbox Registry;
    TUser User;
    int SaveAllCalls = 0, DoubtCalls = 0;
};

std::string HeaderValue(const std::string& transcript, const std::string& name) {
    size_t at = transcript.find("\r\n" + name + ":");
    if (at == std::string::npos) return {};
    at += name.size() + 3;
    return Trim(transcript.substr(at, transcript.find("\r\n", at) - at));
}

bool Has(const std::string& transcript, const std::string& line) {
    return ("\r\n" + transcript).find("\r\n" + line + "\r\n") != std::string::npos;
}
}  // namespace

// Who receives the report and what the user is told: the application's helpdesk address when it is
// valid, the maker's helpdesk otherwise; a refusal is reported as not sent. The archive is removed
// after every attempt to send.
TEST_F(EmailReport, SendsToTheHelpdeskOfTheApplication) {
    struct TCase {
        const char* Name;
        const char* AppAddress;
        const char* RcptReply;
        const char* Recipient;
        bool Sent;
    } cases[] = {
        {"valid application address", "helpdesk@kasboek.nl", "250 ok\r\n", "helpdesk@kasboek.nl", true},
        {"invalid application address", "helpdesk.kasboek.nl", "250 ok\r\n", "helpdesk@brantel.nl", true},
        {"no application address", "", "250 ok\r\n", "helpdesk@brantel.nl", true},
        {"recipient refused", "helpdesk@kasboek.nl", "550 onbekend\r\n", "helpdesk@kasboek.nl", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        App.HelpDeskEmailAddress().SetAsString(c.AppAddress);
        std::string received;
        {
            TLoopbackPeer peer(Server(c.RcptReply, received));
            StoreUser("127.0.0.1:" + std::to_string(peer.Port()));
            TMessageRecorder boxes;
            EXPECT_EQ(Delivery.EmailReport(*Report, User), c.Sent);
            // A failure says why, on a line of its own.
            const std::string outcome =
                c.Sent ? Sent
                       : NotSent + std::string("\r\rDe mail-server 127.0.0.1 heeft het bericht geweigerd: 550 onbekend\r\r") +
                             KeptInOutbox;
            EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{Question("p.jansen@example.nl"), outcome}));
            EXPECT_EQ(boxes.Messages()[0].Kind, TMsgKind::Question);
            EXPECT_EQ(boxes.Messages()[0].Buttons, TMsgButtons::YesNo);
        }
        EXPECT_TRUE(Has(received, "MAIL FROM:<p.jansen@example.nl>")) << received.substr(0, 300);
        EXPECT_TRUE(Has(received, std::string("RCPT TO:<") + c.Recipient + ">")) << received.substr(0, 300);
        if (c.Sent) {
            EXPECT_EQ(HeaderValue(received, "Subject"), "1234AB12aJan");
            EXPECT_NE(received.find("CASE.ZIP"), std::string::npos);
        }
        EXPECT_FALSE(FileExists(TempArchive()));
    }
    EXPECT_EQ(SaveAllCalls, 4);
}

// Without a mail server nothing is zipped or sent, nor is a report too large for the helpdesk sent;
// a user without a valid address, or who doubts it, goes back to the personal data before anything is
// saved or zipped. No archive with the user's data is left behind.
TEST_F(EmailReport, StopsBeforeSending) {
    const std::string needed = "De Brantel Helpdesk heeft uw e-mailadres nodig om met u te communiceren.";
    const std::pair<const char*, std::string> addresses[] = {
        {"", "U heeft geen e-mailadres opgegeven. " + needed},
        {"p.jansen.example.nl", "Het e-mailadres 'p.jansen.example.nl' is ongeldig. " + needed},
    };
    for (const auto& [address, warning] : addresses) {
        SCOPED_TRACE(warning);
        StoreUser("127.0.0.1:1");
        User.Email().SetAsString(address);
        TMessageRecorder boxes;
        EXPECT_FALSE(Delivery.EmailReport(*Report, User));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{warning});
        EXPECT_EQ(boxes.Messages()[0].Kind, TMsgKind::Warning);
    }
    EXPECT_EQ(DoubtCalls, 2);
    EXPECT_EQ(SaveAllCalls, 0);
    {
        SCOPED_TRACE("no mail server");
        StoreUser("");
        FileDelete(TempArchive());
        TMessageRecorder boxes;
        EXPECT_FALSE(Delivery.EmailReport(*Report, User));
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{Question("p.jansen@example.nl"), "Er is geen mail-server ingesteld."}));
        EXPECT_EQ(boxes.Messages()[1].Kind, TMsgKind::Warning);
        EXPECT_EQ(boxes.Messages()[1].Buttons, TMsgButtons::OK);
        EXPECT_FALSE(FileExists(TempArchive()));
        EXPECT_EQ(SaveAllCalls, 1);
        // Stopped before sending, it still waits to be sent, with why.
        EXPECT_EQ(Report->Dispatch().State, TDispatchState::Unsent);
        EXPECT_EQ(Report->Dispatch().Detail, "Er is geen mail-server ingesteld.");
    }
    {
        SCOPED_TRACE("archive larger than the helpdesk takes");
        StoreUser("127.0.0.1:1");
        const std::string big = AddReportFile("schermopname.bmp", NoiseBytes(8000000, 4));
        TMessageRecorder boxes;
        EXPECT_FALSE(Delivery.EmailReport(*Report, User));
        EXPECT_EQ(boxes.Texts(),
                  (std::vector<std::string>{
                      Question("p.jansen@example.nl"),
                      Format("Het Helpdeskrapport is te groot om per e-mail te versturen: het ZIP-bestand is %.1f MB, "
                             "de helpdesk neemt per e-mail ten hoogste %.1f MB aan.\rVerwijder grote bijlagen of sla "
                             "het rapport op als ZIP-bestand.",
                             {7.6, 7.0})}));
        EXPECT_EQ(boxes.Messages()[1].Kind, TMsgKind::Warning);
        EXPECT_FALSE(FileExists(TempArchive()));
        FileDelete(big);
    }
    {
        SCOPED_TRACE("address doubted");
        FileDelete(TempArchive());
        TMessageRecorder boxes;
        boxes.Answer(IDNO);
        EXPECT_FALSE(Delivery.EmailReport(*Report, User));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{Question("p.jansen@example.nl")});
        EXPECT_EQ(DoubtCalls, 3);
        EXPECT_EQ(SaveAllCalls, 2);
        EXPECT_FALSE(FileExists(TempArchive()));
    }
}

// Against Python's own SMTP server (tests/checks): the report files go along for comparison.
TEST_F(EmailReport, ToAnIndependentServer) {
    char server[100] = {};
    std::string artifacts = ArtifactFolder();
    if (!GetEnvironmentVariableA("BRAN_SMTP_SERVER", server, sizeof server) || artifacts.empty())
        GTEST_SKIP() << "no server to talk to";
    AddReportFile("Één café.txt", NoiseBytes(100000, 9));
    App.HelpDeskEmailAddress().SetAsString("helpdesk@kasboek.nl");
    StoreUser(server);
    TMessageRecorder boxes;
    EXPECT_TRUE(Delivery.EmailReport(*Report, User));
    EXPECT_EQ(boxes.Texts().back(), Sent);
    ForceDirectories(artifacts + "mail-src");
    for (const TSearchRec& r : FindFiles(ReportFolder() + "*.*", faAnyFile))
        ASSERT_TRUE(FileCopy(ReportFolder() + r.Name, artifacts + "mail-src\\" + r.Name, false));
}
