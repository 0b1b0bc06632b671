#include "mail/SMTP.h"

#include <algorithm>
#include <cstdint>

#include "core/StrConv.h"
#include "mail/Base64.h"
#include "mail/DotStuffing.h"
#include "mail/MailErrors.h"
#include "mail/MessageEncoder.h"

TmsSMTP::TmsSMTP() {
    DefaultPort = 25;
    ServiceName = "smtp";
}

void TmsSMTP::Send() {
    // Started from an event of a running session: refuse before touching that session.
    if (Busy()) throw ESocketError(MailText::ServerBusy);
    FAccepted = false;
    FInData = false;
    FFinalReply.clear();
    try {
        if (!Connected()) {
            Open();
            Login();
        }
        SendMessage();
    } catch (...) {
        EndSession();
        throw;
    }
    EndSession();
}

void TmsSMTP::EndSession() {
    // Cut off in the middle of the message, a QUIT would only be more message text: the server
    // drops a message whose connection closes before its end.
    if (Connected() && !FInData) {
        try {
            Quit();
        } catch (const EBrantel&) {
            // The server's farewell decides nothing: the message was either accepted or not.
        }
    }
    Close();
}

namespace {
// The words after "250-AUTH" or "250 AUTH=" in upper case, or after the capability itself.
std::vector<std::string> Capability(const std::vector<std::string>& lines, const std::string& name) {
    for (const std::string& line : lines) {
        std::string text = UpperCase(line.size() > 4 ? line.substr(4) : std::string());
        if (text.rfind(name, 0) != 0) continue;
        if (text.size() > name.size() && text[name.size()] != ' ' && text[name.size()] != '=') continue;
        std::vector<std::string> words{name};
        size_t pos = name.size();
        while ((pos = text.find_first_not_of(" =", pos)) != std::string::npos) {
            size_t end = text.find_first_of(" =", pos);
            words.push_back(text.substr(pos, end - pos));
            pos = end;
        }
        return words;
    }
    return {};
}

bool Offers(const std::vector<std::string>& words, const std::string& word) {
    return std::find(words.begin() + (words.empty() ? 0 : 1), words.end(), word) != words.end();
}

std::string Base64(const std::string& text) { return TBase64Encoder::EncodeChunk(text); }
}  // namespace

void TmsSMTP::UseServer(const TMailServer& server) {
    Server = server.Server;
    Security = server.Security;
    UserName = server.UserName;
    Password = server.Password;
    DefaultPort = StandardPort(Security);
    ServiceName = Security == TMailSecurity::None ? "smtp" : Security == TMailSecurity::StartTls ? "submission" : "submissions";
}

void TmsSMTP::Login() {
    TBusyGuard busy(*this);
    if (Security == TMailSecurity::Tls) StartTls();
    ReadReply();  // the greeting
    if (Security == TMailSecurity::None && UserName.empty()) {
        // The plain greeting every server has always understood.
        try {
            SendLine("HELO " + LocalHostName());
            ReadReply(true);
        } catch (const EBrantel&) {
            SendLine("HELO");
            ReadReply();
        }
        SetState(TSocketState::Connected);
        return;
    }
    std::vector<std::string> capabilities = Hello();
    if (Security == TMailSecurity::StartTls) {
        // Never on in plain: the user chose protection, and the account and the report would travel open.
        if (Capability(capabilities, "STARTTLS").empty())
            throw ESecureMailError(TMailFailure::TlsNotOffered, "The server does not offer STARTTLS");
        SendLine("STARTTLS");
        ReadReply();
        StartTls();
        capabilities = Hello();
    }
    if (!UserName.empty()) Authenticate(capabilities);
    SetState(TSocketState::Connected);
}

std::vector<std::string> TmsSMTP::Hello() {
    std::vector<std::string> lines;
    try {
        SendLine("EHLO " + LocalHostName());
        ReadReply(false, &lines);
    } catch (const ERefusedError&) {
        // A server from before EHLO offers neither STARTTLS nor a log-in: what was asked for fails.
        lines.clear();
    }
    return lines;
}

void TmsSMTP::Authenticate(const std::vector<std::string>& capabilities) {
    SetState(TSocketState::Authenticating);
    const std::vector<std::string> mechanisms = Capability(capabilities, "AUTH");
    const bool plain = Offers(mechanisms, "PLAIN");
    if (!plain && !Offers(mechanisms, "LOGIN"))
        throw ESecureMailError(TMailFailure::LoginNotOffered, "The server offers neither AUTH PLAIN nor AUTH LOGIN");
    try {
        if (plain) {
            SendLine("AUTH PLAIN " + Base64(std::string(1, '\0') + UserName + std::string(1, '\0') + Password));
        } else {
            SendLine("AUTH LOGIN");
            ReadChallenge();
            SendLine(Base64(UserName));
            ReadChallenge();
            SendLine(Base64(Password));
        }
        ReadReply();
    } catch (const ERefusedError& e) {
        throw ESecureMailError(TMailFailure::Login, e.what());
    }
}

void TmsSMTP::SendMessage() {
    TBusyGuard busy(*this);
    if (!MailMessage) throw EMessageError(MailText::MessageRequired);
    MailMessage->Validate();

    if (OnPrepare) OnPrepare();
    // Every writing of the message below must say the same.
    TmsMessageEncoder::Stamp(*MailMessage);
    // The size the progress needs comes from a pass that only counts: the message is written twice
    // rather than held.
    uint64_t size = 0;
    if (OnProgress) {
        TCountingSink counter;
        TDotStuffingSink stuffed(counter);
        TmsMessageEncoder(stuffed).Encode(*MailMessage);
        size = std::max<uint64_t>(counter.Count(), 1);
    }

    SetState(TSocketState::Sending);
    if (OnSending) OnSending();
    if (!MailMessage->Sender.Address().empty()) {
        SendLine("MAIL FROM:<" + MailMessage->Sender.Address() + ">");
        ReadReply();
    }
    for (const TmsAddressList* list : {&MailMessage->Recipients, &MailMessage->CC, &MailMessage->BCC}) {
        for (size_t i = 0; i < list->Count(); ++i) {
            SendLine("RCPT TO:<" + (*list)[i].Address() + ">");
            ReadReply();
        }
    }
    SendLine("DATA");
    std::string reply = ReadReply();
    // Anything but "go ahead" would have the message read as commands.
    if (reply.rfind("354", 0) != 0) {
        FireError(reply);
        throw ESocketError(reply);
    }

    // From here until the final "." everything the server reads is message text.
    FInData = true;
    TBlockSink blocks(Output(), BlockSize);
    if (OnProgress)
        blocks.OnBlock = [this, size](uint64_t passed) {
            OnProgress(static_cast<int>((std::min(passed, size) * 100 + size / 2) / size));
        };
    TDotStuffingSink stuffed(blocks);
    TmsMessageEncoder(stuffed).Encode(*MailMessage);
    // An empty line and the line with the single "." that ends the data.
    blocks.Write("\r\n.\r\n");
    blocks.Flush();
    FInData = false;
    if (OnProgress) OnProgress(0);
    FFinalReply = ReadReply();
    FAccepted = true;
}

void TmsSMTP::Quit() {
    TBusyGuard busy(*this);
    SetState(TSocketState::Quitting);
    ServeMessages();
    SendLine("QUIT");
    ReadReply();
    if (OnMailSent) OnMailSent();
}
