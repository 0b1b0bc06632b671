#pragma once
// The one way the program sends e-mail, and the plausibility test of an address that the windows
// asking for one share.
#include <span>
#include <string>
#include <vector>

#include "mail/MailErrors.h"
#include "mail/MailServer.h"

// Mail providers whose customers must send through the provider's own SMTP host: an e-mail domain
// (upper case, found anywhere in the upper-cased sender address) and that host. They apply only while
// the user's mail server is still the maker's default host. The program passes its deployment data.
struct TMailHostRow {
    const char* Domain;
    const char* Host;
};
struct TMailProviders {
    std::string DefaultHost;
    std::span<const TMailHostRow> Hosts;
};

// What became of a message beyond true or false: why it failed, or what the server answered.
struct TMailOutcome {
    TMailFailure Failure = TMailFailure::None;
    std::string Detail;      // the refusal or error text (never the password)
    std::string FinalReply;  // the server's answer to the final dot when it was accepted
};

// True when the server accepted the message. Never throws: every failure (an invalid message,
// no Winsock, no connection, a refusal, a time-out, protection or a log-in that did not come about)
// is false, and the calling window says so; `outcome`, when given, tells which failure it was.
// While the server is still the maker's default, a sender from one of the providers is sent through
// that provider's host instead.
bool SendMail(const std::string& senderAddress, const std::vector<std::string>& recipients,
              const std::string& subject, const std::vector<std::string>& attachments,
              const TMailServer& mailServer, const std::vector<std::string>& body,
              const TMailProviders& providers, TMailOutcome* outcome = nullptr);

// The server SendMail talks to for this sender and setting.
std::string ChooseMailServer(const std::string& senderAddress, const std::string& mailServer,
                             const TMailProviders& providers);

// Plausible: an "@" followed by something other than ".", a "." that is not the last character, no
// ",", and nothing that would break out of an SMTP command (blanks, control characters, "<", ">").
bool IsValidEmailAddress(const std::string& text);
