#include "mail/SMTP.h"

#include <algorithm>

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
    if (Connected()) {
        try {
            Quit();
        } catch (const EBrantel&) {
            // The server's farewell decides nothing: the message was either accepted or not.
        }
    }
    Close();
}

void TmsSMTP::Login() {
    TBusyGuard busy(*this);
    ReadReply();  // the greeting
    try {
        SendLine("HELO " + LocalHostName());
        ReadReply(true);
    } catch (const EBrantel&) {
        SendLine("HELO");
        ReadReply();
    }
    SetState(TSocketState::Connected);
}

void TmsSMTP::SendMessage() {
    TBusyGuard busy(*this);
    if (!MailMessage) throw EMessageError(MailText::MessageRequired);
    MailMessage->Validate();

    if (OnPrepare) OnPrepare();
    TStringSink wire;
    TmsMessageEncoder(wire).Encode(*MailMessage);
    const std::string data = DotStuff(wire.Text());

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

    for (size_t pos = 0; pos < data.size();) {
        size_t n = std::min(BlockSize, data.size() - pos);
        SendBytes(std::string_view(data).substr(pos, n));
        pos += n;
        if (OnProgress) OnProgress(static_cast<int>((pos * 100 + data.size() / 2) / data.size()));
    }
    if (OnProgress) OnProgress(0);
    SendLine("");
    SendLine(".");
    ReadReply();
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
