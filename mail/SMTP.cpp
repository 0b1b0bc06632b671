#include "mail/SMTP.h"

#include <algorithm>
#include <cstdint>

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
