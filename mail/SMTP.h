#pragma once
// The SMTP dialogue: connect and greet (HELO), hand over one message (MAIL FROM, RCPT TO, DATA)
// and say goodbye (QUIT). Send() answers by exception; SendMail (SendMail.h) turns that into
// true or false.
#include <functional>

#include "mail/MailBase.h"
#include "mail/MailMessage.h"

class TmsSMTP : public TmsMailBase {
public:
    TmsSMTP();

    TmsMessage* MailMessage = nullptr;  // not owned

    std::function<void(int percent)> OnProgress;
    std::function<void()> OnPrepare, OnSending, OnMailSent;

    // Connects when needed, sends MailMessage and ends the session (QUIT, close) in every case.
    // Throws on any failure before the server accepted the message; a failing QUIT after that
    // no longer matters, the message is delivered.
    void Send();
    bool MessageAccepted() const { return FAccepted; }

    static constexpr size_t BlockSize = MailBlockSize;

private:
    void Login();
    void SendMessage();
    void Quit();
    void EndSession();

    bool FAccepted = false;
    bool FInData = false;
};
