#pragma once
// The SMTP dialogue: connect and greet (HELO), hand over one message (MAIL FROM, RCPT TO, DATA)
// and say goodbye (QUIT). A server setting with protection or an account greets with EHLO, turns
// the connection into TLS (STARTTLS, or TLS from the start) and logs in (AUTH PLAIN or LOGIN)
// before the message; chosen protection that does not come about ends the session before anything
// of the message went out. Send() answers by exception; SendMail (SendMail.h) turns that into
// true or false.
#include <functional>

#include "mail/MailBase.h"
#include "mail/MailMessage.h"
#include "mail/MailServer.h"

class TmsSMTP : public TmsMailBase {
public:
    TmsSMTP();

    TmsMessage* MailMessage = nullptr;  // not owned
    TMailSecurity Security = TMailSecurity::None;
    std::string UserName, Password;  // no log-in without a user name

    // Server, protection, account, and the standard port and its service name for the protection.
    void UseServer(const TMailServer& server);

    std::function<void(int percent)> OnProgress;
    std::function<void()> OnPrepare, OnSending, OnMailSent;

    // Connects when needed, sends MailMessage and ends the session (QUIT, close) in every case.
    // Throws on any failure before the server accepted the message; a failing QUIT after that
    // no longer matters, the message is delivered.
    void Send();
    bool MessageAccepted() const { return FAccepted; }
    // The server's answer to the message's final dot.
    const std::string& FinalReply() const { return FFinalReply; }

    static constexpr size_t BlockSize = MailBlockSize;

private:
    void Login();
    std::vector<std::string> Hello();
    void Authenticate(const std::vector<std::string>& capabilities);
    void SendMessage();
    void Quit();
    void EndSession();

    bool FAccepted = false;
    bool FInData = false;
    std::string FFinalReply;
};
