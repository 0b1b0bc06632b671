#include "mail/SendMail.h"

#include "core/StrConv.h"
#include "mail/MailMessage.h"
#include "mail/SMTP.h"

std::string ChooseMailServer(const std::string& senderAddress, const std::string& mailServer,
                             const TMailProviders& providers) {
    if (mailServer != providers.DefaultHost) return mailServer;
    std::string sender = UpperCase(senderAddress);
    for (const TMailHostRow& row : providers.Hosts)
        if (sender.find(row.Domain) != std::string::npos) return row.Host;
    return mailServer;
}

bool SendMail(const std::string& senderAddress, const std::vector<std::string>& recipients,
              const std::string& subject, const std::vector<std::string>& attachments,
              const std::string& mailServer, const std::vector<std::string>& body,
              const TMailProviders& providers) {
    try {
        TmsMessage message;
        for (const std::string& recipient : recipients) message.Recipients.Add(recipient);
        message.SetSubject(subject);
        message.Body = body;
        for (const std::string& file : attachments) message.Attachments.Add(file);
        message.Sender.SetAddress(senderAddress);
        message.Validate();

        TmsSMTP smtp;
        smtp.Server = ChooseMailServer(senderAddress, mailServer, providers);
        smtp.MailMessage = &message;
        smtp.SetWinsockLoaded(true);
        smtp.Send();
        return smtp.MessageAccepted();
    } catch (...) {
        return false;
    }
}

bool IsValidEmailAddress(const std::string& text) {
    // Angle brackets, blanks and control characters would end the address inside an SMTP command
    // ("MAIL FROM:<x@y.nl> SIZE=1>") or a header line.
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 127 || c == '<' || c == '>') return false;
    }
    size_t at = text.find('@');
    size_t dot = text.find('.');
    if (at == std::string::npos || dot == std::string::npos || text.find(',') != std::string::npos) return false;
    if (dot + 1 == text.size()) return false;
    return at + 1 < text.size() && text[at + 1] != '.';
}
