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

namespace {
// The message SendMail hands over; a message that cannot be built (no sender, no recipient, an
// attachment that cannot be read) throws EMessageError before any connection is made.
void BuildMessage(TmsMessage& message, const std::string& senderAddress, const std::vector<std::string>& recipients,
                  const std::string& subject, const std::vector<std::string>& attachments,
                  const std::vector<std::string>& body) {
    try {
        for (const std::string& recipient : recipients) message.Recipients.Add(recipient);
        message.SetSubject(subject);
        message.Body = body;
        for (const std::string& file : attachments) message.Attachments.Add(file);
        message.Sender.SetAddress(senderAddress);
        message.Validate();
    } catch (const EMessageError&) {
        throw;
    } catch (const EBrantel& e) {
        throw EMessageError(e.what());
    }
}

TMailOutcome Deliver(const std::string& senderAddress, const std::vector<std::string>& recipients,
                     const std::string& subject, const std::vector<std::string>& attachments,
                     const TMailServer& mailServer, const std::vector<std::string>& body,
                     const TMailProviders& providers) {
    try {
        TmsMessage message;
        BuildMessage(message, senderAddress, recipients, subject, attachments, body);
        TmsSMTP smtp;
        TMailServer server = mailServer;
        server.Server = ChooseMailServer(senderAddress, mailServer.Server, providers);
        smtp.UseServer(server);
        smtp.MailMessage = &message;
        smtp.SetWinsockLoaded(true);
        smtp.Send();
        if (!smtp.MessageAccepted()) return {TMailFailure::Refused, {}, {}};
        return {TMailFailure::None, {}, smtp.FinalReply()};
    } catch (const ESecureMailError& e) {
        return {e.Kind, e.what(), {}};
    } catch (const ECanceledError& e) {
        return {TMailFailure::Canceled, e.what(), {}};
    } catch (const ERefusedError& e) {
        return {TMailFailure::Refused, e.what(), {}};
    } catch (const EMessageError& e) {
        return {TMailFailure::Message, e.what(), {}};
    } catch (const EBrantel& e) {
        // No connection, a broken one, no answer in time, no Winsock.
        return {TMailFailure::Connection, e.what(), {}};
    }
}
}  // namespace

bool SendMail(const std::string& senderAddress, const std::vector<std::string>& recipients,
              const std::string& subject, const std::vector<std::string>& attachments,
              const TMailServer& mailServer, const std::vector<std::string>& body,
              const TMailProviders& providers, TMailOutcome* outcome) {
    TMailOutcome result;
    try {
        result = Deliver(senderAddress, recipients, subject, attachments, mailServer, body, providers);
    } catch (...) {
        // Out of memory and its kind: still only false for the caller.
        result = {TMailFailure::Connection, "unexpected failure", {}};
    }
    if (outcome) *outcome = result;
    return result.Failure == TMailFailure::None;
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
