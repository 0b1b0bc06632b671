#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "LoopbackPeer.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "mail/MailErrors.h"
#include "mail/SMTP.h"
#include "mail/SendMail.h"

namespace {
// An SMTP server that answers each command with the next reply of its script (the first is the
// greeting; the message data counts as one command after a 354). Once the script is used up it only
// answers QUIT, so a client that says goodbye is never left waiting.
TLoopbackPeer::TScript Dialogue(std::vector<std::string> replies, std::string& received) {
    return [replies, &received](TPeerConnection& c) {
        bool inData = false;
        for (size_t i = 0; i < replies.size() && !c.Closed(); ++i) {
            if (i > 0) {
                if (inData) c.ReadUntil("\r\n.\r\n");
                else c.ReadLine();
            }
            if (c.Closed()) break;
            inData = replies[i].rfind("354", 0) == 0;
            c.Send(replies[i]);
        }
        while (!c.Closed())
            if (c.ReadLine() == "QUIT") c.Send("221 tot ziens\r\n");
        received = c.Received();
    };
}

std::string Server(const TLoopbackPeer& peer) { return "127.0.0.1:" + std::to_string(peer.Port()); }

const std::vector<std::string> kAllGood = {"220 welkom\r\n", "250 hallo\r\n", "250 afzender\r\n",
                                           "250 ontvanger\r\n", "354 ga je gang\r\n", "250 verzonden\r\n"};

bool Has(const std::string& transcript, const std::string& line) {
    return ("\r\n" + transcript).find("\r\n" + line + "\r\n") != std::string::npos;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

TEST(SMTP, DeliversAMessageWithDotTransparency) {
    std::string received;
    TLoopbackPeer peer(Dialogue({"220 welkom\r\n", "250 hallo\r\n", "250 afzender\r\n", "250 een\r\n", "250 twee\r\n",
                                 "250 drie\r\n", "354 ga je gang\r\n", "250 verzonden\r\n"},
                                received));
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("a@b.nl");
    m.CC.Add("c@d.nl");
    m.BCC.Add("e@f.nl");
    m.SetSubject("Onderwerp");
    m.Body = {"Eerste regel", ".", ".punt", std::string(5000, 'x')};
    std::string attachment(300000, 'a');
    m.Attachments.Add(std::make_unique<TmsAttItem>("C:\\bijlage.bin", attachment, "application/octet-stream"));
    TmsSMTP smtp;
    smtp.Server = Server(peer);
    smtp.MailMessage = &m;
    std::vector<int> progress;
    smtp.OnProgress = [&](int percent) { progress.push_back(percent); };
    smtp.SetWinsockLoaded(true);
    smtp.Send();
    peer.Join();

    EXPECT_TRUE(smtp.MessageAccepted());
    EXPECT_FALSE(smtp.Connected());
    EXPECT_EQ(smtp.State(), TSocketState::NotConnected);
    EXPECT_EQ(received.rfind("HELO ", 0), 0u) << received;
    for (const char* line : {"MAIL FROM:<jan@example.nl>", "RCPT TO:<a@b.nl>", "RCPT TO:<c@d.nl>", "RCPT TO:<e@f.nl>",
                             "DATA", "..", "..punt", "QUIT"})
        EXPECT_TRUE(Has(received, line)) << line << "\n" << received;
    EXPECT_EQ(received.find("e@f.nl>\r\nDATA") != std::string::npos, true);
    EXPECT_EQ(received.find("\r\nBCC"), std::string::npos) << "BCC is never written";
    EXPECT_TRUE(Has(received, "Date: " + m.Date)) << received.substr(0, 600);
    EXPECT_TRUE(Has(received, "Message-ID: " + m.MessageId)) << received.substr(0, 600);
    EXPECT_NE(received.find("\r\n\r\n.\r\nQUIT\r\n"), std::string::npos);
    // About 400 KB on the wire, in blocks of 64 KB: seven of them, the progress after each.
    size_t data = received.find("\r\n.\r\nQUIT") - received.find("DATA\r\n");
    EXPECT_EQ(progress.size(), (data + TmsSMTP::BlockSize - 1) / TmsSMTP::BlockSize + 1) << data;
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end() - 1));
    EXPECT_EQ(progress[progress.size() - 2], 100);
    EXPECT_EQ(progress.back(), 0);
}

// The attachment goes from its file to the socket a block at a time: sending a large one takes no
// more memory than a small one (the message used to be built whole, four to six times its size).
TEST(SMTP, LargeAttachmentStreamsInBlocks) {
    TScratchFolder folder;
    const std::string file = folder / "CASE.ZIP";
    const size_t size = 32 * 1024 * 1024;
    std::string piece(1024 * 1024, '\0');
    for (size_t i = 0; i < piece.size(); ++i) piece[i] = static_cast<char>((i * 7 + i / 509) & 0xff);
    WriteRepeated(file, piece, size / piece.size());
    uint64_t received = 0;
    TLoopbackPeer peer(SwallowingSmtpServer(&received));
    const uint64_t before = PeakMemory();
    EXPECT_TRUE(SendMail("jan@example.nl", {"helpdesk@brantel.nl"}, "12345", {file}, Server(peer), {}, {}));
    peer.Join();
    EXPECT_GT(received, size / 3 * 4);
    EXPECT_LT(PeakMemory() - before, 8u * 1024 * 1024) << "peak before " << before;
}

TEST(SMTP, RepliesDecideTheOutcome) {
    struct Case {
        const char* what;
        std::vector<std::string> replies;
        bool accepted;
        bool quitSent;
    };
    const Case cases[] = {
        {"multi-line replies", {"220-welkom\r\n220-nog meer\r\n220 klaar\r\n", "250-hallo\r\n250 SIZE\r\n", "250 ok\r\n",
                                "250 ok\r\n", "354 ga\r\n", "250 ok\r\n"}, true, true},
        {"bare codes", {"220\r\n", "250\r\n", "250\r\n", "250\r\n", "354\r\n", "250\r\n"}, true, true},
        {"HELO with name refused", {"220 welkom\r\n", "501 naam\r\n", "250 hallo\r\n", "250 ok\r\n", "250 ok\r\n",
                                    "354 ga\r\n", "250 ok\r\n"}, true, true},
        {"greeting refused", {"554 geen toegang\r\n"}, false, true},
        {"both HELO refused", {"220 welkom\r\n", "501 nee\r\n", "502 nee\r\n"}, false, true},
        {"sender refused", {"220 welkom\r\n", "250 hallo\r\n", "553 afzender\r\n"}, false, true},
        {"recipient refused", {"220 welkom\r\n", "250 hallo\r\n", "250 ok\r\n", "550 onbekend\r\n"}, false, true},
        {"DATA not invited", {"220 welkom\r\n", "250 hallo\r\n", "250 ok\r\n", "250 ok\r\n", "250 ok\r\n"}, false, true},
        {"message refused", {"220 welkom\r\n", "250 hallo\r\n", "250 ok\r\n", "250 ok\r\n", "354 ga\r\n",
                             "552 te groot\r\n"}, false, true},
    };
    for (const Case& c : cases) {
        std::string received;
        bool result;
        {
            TLoopbackPeer peer(Dialogue(c.replies, received));
            result = SendMail("jan@example.nl", {"a@b.nl"}, "12345", {}, Server(peer), {"tekst"}, {});
            peer.Join();
        }
        EXPECT_EQ(result, c.accepted) << c.what << "\n" << received;
        EXPECT_EQ(Has(received, "QUIT"), c.quitSent) << c.what << "\n" << received;
        if (std::string(c.what) == "HELO with name refused") {
            EXPECT_TRUE(Has(received, "HELO")) << received;
        }
    }
}

TEST(SMTP, ErrorEventCarriesTheRefusal) {
    std::string received;
    TLoopbackPeer peer(Dialogue({"220 welkom\r\n", "250 hallo\r\n", "250 ok\r\n", "550 onbekend\r\n"}, received));
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("x@y.nl");
    TmsSMTP smtp;
    smtp.Server = Server(peer);
    smtp.MailMessage = &m;
    std::vector<std::string> errors;
    smtp.OnError = [&](const std::string& text) { errors.push_back(text); };
    smtp.SetWinsockLoaded(true);
    try {
        smtp.Send();
        FAIL() << "no exception";
    } catch (const ESocketError& e) {
        EXPECT_STREQ(e.what(), "550 onbekend");
    }
    EXPECT_EQ(errors, std::vector<std::string>{"550 onbekend"});
}

TEST(SMTP, PeerThatClosesEarlyFailsAtOnce) {
    for (int answered : {0, 1, 3}) {
        std::vector<std::string> replies(kAllGood.begin(), kAllGood.begin() + answered);
        TLoopbackPeer peer([&](TPeerConnection& c) {
            for (const std::string& reply : replies) {
                if (&reply != &replies.front()) c.ReadLine();
                c.Send(reply);
            }
            // Leaves without a word: the connection closes.
        });
        auto start = std::chrono::steady_clock::now();
        EXPECT_FALSE(SendMail("jan@example.nl", {"a@b.nl"}, "", {}, Server(peer), {"tekst"}, {})) << answered;
        EXPECT_LT(SecondsSince(start), 10.0) << answered;
        peer.Join();
    }
}

TEST(SMTP, SilentPeerTimesOut) {
    TLoopbackPeer peer([](TPeerConnection& c) { c.ReadAll(); });
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("a@b.nl");
    TmsSMTP smtp;
    smtp.Server = Server(peer);
    smtp.TimeOut = 2;
    smtp.MailMessage = &m;
    std::vector<std::string> errors;
    smtp.OnError = [&](const std::string& text) { errors.push_back(text); };
    smtp.SetWinsockLoaded(true);
    auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(smtp.Send(), ETimedOutError);
    double seconds = SecondsSince(start);
    EXPECT_GE(seconds, 0.5);
    EXPECT_LT(seconds, 6.0);
    EXPECT_FALSE(smtp.Connected());
    EXPECT_EQ(errors, std::vector<std::string>{"Operation timed out"});
    peer.Join();
}

TEST(SMTP, ConnectionFailuresAreFalseNotExceptions) {
    auto start = std::chrono::steady_clock::now();
    // Nothing listens on port 1 of the loopback address: the refusal is noticed without waiting.
    EXPECT_FALSE(SendMail("jan@example.nl", {"a@b.nl"}, "s", {}, "127.0.0.1:1", {"x"}, {}));
    EXPECT_LT(SecondsSince(start), 20.0);
    EXPECT_FALSE(SendMail("jan@example.nl", {"a@b.nl"}, "s", {}, "", {"x"}, {}));
    EXPECT_FALSE(SendMail("", {"a@b.nl"}, "s", {}, "127.0.0.1:1", {"x"}, {}));
    EXPECT_FALSE(SendMail("jan@example.nl", {}, "s", {}, "127.0.0.1:1", {"x"}, {}));
    EXPECT_FALSE(SendMail("jan@example.nl", {"a@b.nl\r\nRCPT TO:<spion@x.nl>"}, "s", {}, "127.0.0.1:1", {"x"}, {}));
    EXPECT_FALSE(SendMail("jan@example.nl", {"a@b.nl"}, "s", {"C:\\bestaat\\niet.zip"}, "127.0.0.1:1", {"x"}, {}));

    TmsSMTP smtp;
    smtp.SetWinsockLoaded(true);
    try {
        smtp.Send();
        FAIL() << "no exception";
    } catch (const ESocketError& e) {
        EXPECT_STREQ(e.what(), "Server property is required");
    }
}

TEST(SMTP, HostNamesAreLookedUp) {
    std::string received;
    TLoopbackPeer peer(Dialogue(kAllGood, received));
    EXPECT_TRUE(SendMail("jan@example.nl", {"a@b.nl"}, "s", {}, "localhost:" + std::to_string(peer.Port()), {"x"}, {}));
    peer.Join();
    EXPECT_TRUE(Has(received, "QUIT"));
    EXPECT_FALSE(SendMail("jan@example.nl", {"a@b.nl"}, "s", {}, "onbekend.invalid:25", {"x"}, {}));
}

TEST(SMTP, ReportZipTravelsAsAttachment) {
    TScratchFolder folder;
    std::string zip;
    for (int i = 0; i < 3000; ++i) zip += static_cast<char>(i % 251);
    std::string file = folder.WriteFile("Case.zip", zip);
    std::string received;
    TLoopbackPeer peer(Dialogue(kAllGood, received));
    EXPECT_TRUE(SendMail("jan@example.nl", {"helpdesk@brantel.nl"}, "12345", {file}, Server(peer), {}, {}));
    peer.Join();
    EXPECT_NE(received.find("Content-Disposition: attachment; filename=\"Case.zip\"\r\n"), std::string::npos)
        << received.substr(0, 600);
    EXPECT_NE(received.find("\r\n\r\nAAECAwQFBgcICQoLDA0ODxAREhMUFRYXGBkaGxwdHh8gISIjJCUmJygpKissLS4vMDEyMzQ1Njc4\r\n"), std::string::npos);
}

TEST(SMTP, PortAndHostOfTheServerSetting) {
    const std::tuple<std::string, std::string, int> cases[] = {
        {"mail.example.nl", "mail.example.nl", -1}, {"mail.example.nl:2525", "mail.example.nl", 2525},
        {"h:0", "h", 0},  {"h:65535", "h", 65535}, {"h:65536", "h", -1}, {"h:25x", "h", -1}, {"h:", "h", -1},
    };
    for (const auto& [server, host, port] : cases) {
        EXPECT_EQ(TagSocket::HostOf(server), host) << server;
        EXPECT_EQ(TagSocket::PortOf(server), port) << server;
    }
}

namespace {
TmsSMTP* waiting = nullptr;
void CALLBACK CancelWaiting(HWND, UINT, UINT_PTR, DWORD) {
    if (waiting) waiting->Cancel();
}
}  // namespace

TEST(SMTP, CancelEndsTheWaitAndNestedPhasesAreRefused) {
    // Cancel from a timer callback: it only runs because the wait serves the message loop.
    TLoopbackPeer silent([](TPeerConnection& c) { c.ReadAll(); });
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("a@b.nl");
    {
        TmsSMTP smtp;
        smtp.Server = Server(silent);
        smtp.MailMessage = &m;
        smtp.SetWinsockLoaded(true);
        bool canceled = false;
        smtp.OnCancel = [&] { canceled = true; };
        waiting = &smtp;
        UINT_PTR timer = SetTimer(nullptr, 0, 300, &CancelWaiting);
        auto start = std::chrono::steady_clock::now();
        EXPECT_THROW(smtp.Send(), ECanceledError);
        KillTimer(nullptr, timer);
        waiting = nullptr;
        EXPECT_LT(SecondsSince(start), 5.0);
        EXPECT_TRUE(canceled);
        EXPECT_FALSE(smtp.Connected());
    }
    silent.Join();

    std::string received;
    TLoopbackPeer peer(Dialogue(kAllGood, received));
    TmsSMTP smtp;
    smtp.Server = Server(peer);
    smtp.MailMessage = &m;
    smtp.SetWinsockLoaded(true);
    std::string nested;
    smtp.OnSending = [&] {
        try {
            smtp.Send();
        } catch (const ESocketError& e) {
            nested = e.what();
        }
    };
    smtp.Send();
    peer.Join();
    EXPECT_EQ(nested, "Server is busy");
    EXPECT_TRUE(smtp.MessageAccepted());
}

TEST(SMTP, LoginAndProtectionAreNegotiatedOrRefused) {
    const std::string ehloPlainLogin = "250-localhost\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n";
    // base64 of "\0jan\0w8 woord" and of "jan", "w8 woord".
    const std::string plainToken = "AGphbgB3OCB3b29yZA==";
    struct Case {
        const char* what;
        TMailSecurity security;
        const char* user;
        std::vector<std::string> replies;
        TMailFailure failure;
        std::vector<std::string> expected;  // lines the client sent, in this order
        bool mailFromSent;
    };
    const Case cases[] = {
        {"AUTH PLAIN preferred", TMailSecurity::None, "jan",
         {"220 welkom\r\n", ehloPlainLogin, "235 ok\r\n", "250 ok\r\n", "250 ok\r\n", "354 ga\r\n", "250 klaar\r\n"},
         TMailFailure::None, {"AUTH PLAIN " + plainToken, "MAIL FROM:<jan@example.nl>"}, true},
        {"AUTH LOGIN when only that is offered", TMailSecurity::None, "jan",
         {"220 welkom\r\n", "250-localhost\r\n250 AUTH=LOGIN\r\n", "334 VXNlcm5hbWU6\r\n", "334 UGFzc3dvcmQ6\r\n",
          "235 ok\r\n", "250 ok\r\n", "250 ok\r\n", "354 ga\r\n", "250 klaar\r\n"},
         TMailFailure::None, {"AUTH LOGIN", "amFu", "dzggd29vcmQ=", "MAIL FROM:<jan@example.nl>"}, true},
        {"log-in refused", TMailSecurity::None, "jan", {"220 welkom\r\n", ehloPlainLogin, "535 5.7.8 nee\r\n"},
         TMailFailure::Login, {"AUTH PLAIN " + plainToken, "QUIT"}, false},
        {"no log-in offered", TMailSecurity::None, "jan", {"220 welkom\r\n", "250-localhost\r\n250 SIZE 100\r\n"},
         TMailFailure::LoginNotOffered, {"QUIT"}, false},
        {"STARTTLS not offered", TMailSecurity::StartTls, "jan", {"220 welkom\r\n", ehloPlainLogin},
         TMailFailure::TlsNotOffered, {"QUIT"}, false},
        {"EHLO unknown to the server", TMailSecurity::StartTls, "", {"220 welkom\r\n", "500 wat?\r\n"},
         TMailFailure::TlsNotOffered, {"QUIT"}, false},
    };
    for (const Case& c : cases) {
        std::string received;
        TMailOutcome outcome;
        {
            TLoopbackPeer peer(Dialogue(c.replies, received));
            TMailServer server(Server(peer));
            server.Security = c.security;
            server.UserName = c.user;
            server.Password = "w8 woord";
            SendMail("jan@example.nl", {"a@b.nl"}, "s", {}, server, {"x"}, {}, &outcome);
            peer.Join();
        }
        EXPECT_EQ(outcome.Failure, c.failure) << c.what << ": " << outcome.Detail << "\n" << received;
        EXPECT_EQ(received.rfind("EHLO ", 0), 0u) << c.what << "\n" << received;
        size_t at = 0;
        for (const std::string& line : c.expected) {
            size_t found = ("\r\n" + received).find("\r\n" + line + "\r\n", at);
            EXPECT_NE(found, std::string::npos) << c.what << ": " << line << "\n" << received;
            if (found != std::string::npos) at = found + line.size();
        }
        EXPECT_EQ(Has(received, "MAIL FROM:<jan@example.nl>"), c.mailFromSent) << c.what;
        EXPECT_EQ(received.find("STARTTLS"), std::string::npos) << c.what << ": never asked where not offered";
        if (c.failure == TMailFailure::None) {
            EXPECT_EQ(outcome.FinalReply, "250 klaar") << c.what;
        }
    }
}
