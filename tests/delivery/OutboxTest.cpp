#include <gtest/gtest.h>

#include "DeliveryTestSupport.h"
#include "LoopbackPeer.h"
#include "Source/Common/Catalogue/ServiceCollector.h"
#include "Source/Common/Helpdesk/ReportOutbox.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "core/Format.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"

namespace {
const char* const Sent = "Het helpdeskrapport is verzonden.";

// A mail server that is not ready on its first connection (421 and the connection closed, as a
// server does while it starts or is overloaded) and takes the message on the next; `transcripts`
// gets what each connection received.
TLoopbackPeer::TScript ComingBackServer(std::vector<std::string>& transcripts) {
    return [&transcripts](TPeerConnection& c) {
        if (transcripts.empty()) {
            c.Send("421 even geduld\r\n");
        } else {
            c.Send("220 welkom\r\n");
            for (std::string line = c.ReadLine(); !c.Closed(); line = c.ReadLine()) {
                if (line == "DATA") {
                    c.Send("354 ga je gang\r\n");
                    c.ReadUntil("\r\n.\r\n");
                    c.Send("250 2.0.0 Ok: queued as 4711\r\n");
                } else {
                    c.Send(line == "QUIT" ? "221 tot ziens\r\n" : "250 ok\r\n");
                }
            }
        }
        transcripts.push_back(c.Received());
    };
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class Outbox : public DeliveryTest {
protected:
    Outbox() {
        RegisterStoredReportServices();
        AddReportFile("CASE.RTF", "{\\rtf1\\ansi Rapport}\r\n");
        AddReportFile("CASE.INI", "[Relatie]\r\nAchternaam=Jansen\r\nE-mail=p.jansen@example.nl\r\n"
                                  "[Case]\r\nBedoeling=Boeken\r\n");
        User.Email().SetAsString("p.jansen@example.nl");
        User.ZipCode().SetAsString("1234 AB");
    }
    ~Outbox() override { SetStoredReportServices({}); }
    // The setting as the mail server dialog stores it; the resent report reads it from there.
    void SetMailServer(const std::string& server) {
        User.Mailserver().SetAsString(server);
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true));
        ASSERT_TRUE(User.SaveToRegistry());
    }
    // The services the main window lists for the application that wait to be sent again.
    std::vector<std::shared_ptr<TUnsentReportService>> Waiting() {
        TServiceList list;
        TServiceCollector().GetServices(AppRef, list);
        std::vector<std::shared_ptr<TUnsentReportService>> waiting;
        for (const TServiceRef& s : list)
            if (auto unsent = std::dynamic_pointer_cast<TUnsentReportService>(s)) waiting.push_back(unsent);
        return waiting;
    }

    TRegistrySandbox Registry;
    TUser User;
};
}  // namespace

// A report whose e-mail did not go waits, with the reason, among its application's services; each
// new attempt is the user's and updates the reason; once the server takes it, it is marked sent with
// the server's reply, leaves the list, and the server has received it exactly once.
TEST_F(Outbox, AReportThatDidNotGoWaitsUntilItGoesOnce) {
    int closedPort;
    { closedPort = TLoopbackPeer([](TPeerConnection&) {}, 0).Port(); }
    SetMailServer("127.0.0.1:" + std::to_string(closedPort));
    {
        TMessageRecorder boxes;
        EXPECT_FALSE(Delivery.EmailReport(*Report, User));
        EXPECT_EQ(boxes.Texts().back(),
                  "Het verzenden van het helpdeskrapport is niet gelukt.\r\rEr kon geen verbinding worden gemaakt met "
                  "de mail-server 127.0.0.1.\r\r" + std::string(KeptInOutbox));
    }
    TReportDispatch dispatch = Report->Dispatch();
    EXPECT_EQ(dispatch.State, TDispatchState::Unsent);
    EXPECT_EQ(dispatch.Detail, "Er kon geen verbinding worden gemaakt met de mail-server 127.0.0.1.");
    EXPECT_FALSE(dispatch.Time.empty());
    // The helpdesk's own data in the file is as it was.
    EXPECT_EQ(TIniFile(Report->CaseIniPath()).ReadString("Case", "Bedoeling", ""), "Boeken");

    auto waiting = Waiting();
    ASSERT_EQ(waiting.size(), 1u);
    EXPECT_EQ(waiting[0]->GetCaption(), "Helpdeskrapport (niet verzonden)");
    EXPECT_NE(waiting[0]->GetDescription().find(dispatch.Detail), std::string::npos) << waiting[0]->GetDescription();
    EXPECT_EQ(CountUnsentReports({AppRef}), 1);

    std::vector<std::string> transcripts;
    TLoopbackPeer server(ComingBackServer(transcripts), 2);
    SetMailServer("127.0.0.1:" + std::to_string(server.Port()));
    // Asked and declined: nothing goes.
    {
        TMessageRecorder boxes;
        boxes.Answer(IDNO);
        EXPECT_TRUE(waiting[0]->Provide(AppRef));
        EXPECT_EQ(boxes.Messages().size(), 1u);
        EXPECT_EQ(boxes.Messages()[0].Buttons, TMsgButtons::YesNo);
    }
    EXPECT_TRUE(transcripts.empty());
    // The user record's address changed since; the report goes from the one the report holds.
    User.Email().SetAsString("ander@example.nl");
    SetMailServer("127.0.0.1:" + std::to_string(server.Port()));
    {
        TMessageRecorder boxes;
        EXPECT_TRUE(Waiting()[0]->Provide(AppRef));
        ASSERT_EQ(boxes.Texts().size(), 2u);
        // The question names the last attempt.
        EXPECT_NE(boxes.Texts()[0].find("Er kon geen verbinding worden gemaakt met de mail-server 127.0.0.1."),
                  std::string::npos)
            << boxes.Texts()[0];
        EXPECT_NE(boxes.Texts()[1].find("De mail-server 127.0.0.1 heeft het bericht geweigerd: 421 even geduld"),
                  std::string::npos)
            << boxes.Texts()[1];
    }
    EXPECT_EQ(Report->Dispatch().Detail, "De mail-server 127.0.0.1 heeft het bericht geweigerd: 421 even geduld");
    ASSERT_EQ(Waiting().size(), 1u);
    {
        TMessageRecorder boxes;
        EXPECT_TRUE(Waiting()[0]->Provide(AppRef));
        EXPECT_EQ(boxes.Texts().back(), Sent);
    }
    server.Join();
    dispatch = Report->Dispatch();
    EXPECT_EQ(dispatch.State, TDispatchState::Sent);
    EXPECT_EQ(dispatch.Detail, "250 2.0.0 Ok: queued as 4711");
    EXPECT_TRUE(Waiting().empty());
    EXPECT_EQ(CountUnsentReports({AppRef}), 0);

    ASSERT_EQ(transcripts.size(), 2u);
    EXPECT_EQ(Occurrences(transcripts[0], "MAIL FROM"), 0u);
    EXPECT_EQ(Occurrences(transcripts[1], "\r\nDATA\r\n"), 1u);
    EXPECT_NE(transcripts[1].find("MAIL FROM:<p.jansen@example.nl>"), std::string::npos);
    EXPECT_NE(transcripts[1].find("CASE.ZIP"), std::string::npos);
}
