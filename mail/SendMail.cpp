#include "mail/SendMail.h"

#include "Source/Common/Deployment.h"
#include "mail/MailMessage.h"
#include "mail/SMTP.h"
#include "platform/StrConv.h"

std::string ChooseMailServer(const std::string& senderAddress, const std::string& mailServer) {
    if (mailServer != DefaultMailHost) return mailServer;
    std::string sender = UpperCase(senderAddress);
    for (const TMailHostRow& row : MailHostTable)
        if (sender.find(row.Domain) != std::string::npos) return row.Host;
    return mailServer;
}

bool SendMail(const std::string& senderAddress, const std::vector<std::string>& recipients,
              const std::string& subject, const std::vector<std::string>& attachments,
              const std::string& mailServer, const std::vector<std::string>& body) {
    try {
        TmsMessage message;
        for (const std::string& recipient : recipients) message.Recipients.Add(recipient);
        message.SetSubject(subject);
        message.Body = body;
        for (const std::string& file : attachments) message.Attachments.Add(file);
        message.Sender.SetAddress(senderAddress);
        message.Validate();

        TmsSMTP smtp;
        smtp.Server = ChooseMailServer(senderAddress, mailServer);
        smtp.MailMessage = &message;
        smtp.SetWinsockLoaded(true);
        smtp.Send();
        return smtp.MessageAccepted();
    } catch (...) {
        return false;
    }
}

bool IsValidEmailAddress(const std::string& text) {
    size_t at = text.find('@');
    size_t dot = text.find('.');
    if (at == std::string::npos || dot == std::string::npos || text.find(',') != std::string::npos) return false;
    if (dot + 1 == text.size()) return false;
    return at + 1 < text.size() && text[at + 1] != '.';
}
