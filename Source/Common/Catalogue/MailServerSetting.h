#pragma once
// The user's mail server setting as the mail transport takes it: the server ("Mailserver", a host
// or "host:port" as it always was), its protection ("MailSecurity") and account ("MailUserName")
// from the user record, and the password, which is kept apart: encrypted for the Windows user who
// entered it, below that user's own registry key, and never part of the record, a report or a log.
#include <string>

#include "mail/MailServer.h"
#include "mail/SendMail.h"

class TUser;

// Below HKEY_CURRENT_USER: the encrypted password (a binary value "MailPassword").
extern const char* const MailPasswordKey;

// "STARTTLS", "TLS", or empty for none: what "MailSecurity" holds.
std::string SecurityValue(TMailSecurity security);
// An unknown or empty value reads as none, as mail was sent before the setting existed.
TMailSecurity SecurityFromValue(const std::string& value);

// The whole setting of this user record and the Windows user's password.
TMailServer MailServerOf(const TUser& user);

// The password the current Windows user stored; empty when there is none or it is not theirs.
std::string LoadMailPassword();
// Stores it encrypted for the current Windows user; an empty password removes the stored one.
void SaveMailPassword(const std::string& password);

// What went wrong, as a Dutch sentence for a message box and a report's log, naming the server;
// empty when the outcome has no failure.
std::string MailFailureText(const TMailOutcome& outcome, const std::string& server);

// The failure message, with the reason on a line of its own when there is one.
std::string WithReason(const std::string& message, const std::string& reason);
