#pragma once
// The one way the program sends e-mail, and the plausibility test of an address that the windows
// asking for one share.
#include <string>
#include <vector>

// True when the server accepted the message. Never throws: every failure (an invalid message,
// no Winsock, no connection, a refusal, a time-out) is false, and the calling window says so.
// While `mailServer` is still the maker's default, a sender from a provider of MailHostTable is sent
// through that provider's host instead.
bool SendMail(const std::string& senderAddress, const std::vector<std::string>& recipients,
              const std::string& subject, const std::vector<std::string>& attachments,
              const std::string& mailServer, const std::vector<std::string>& body);

// The server SendMail talks to for this sender and setting.
std::string ChooseMailServer(const std::string& senderAddress, const std::string& mailServer);

bool IsValidEmailAddress(const std::string& text);
