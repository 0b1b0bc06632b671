#pragma once
// The mail components' failures. They stay inside the mail transport: SendMail turns every one of
// them into a plain false for its caller.
#include <string>

#include "core/Exceptions.h"

// A server refusal (the reply line) or a Winsock failure (its error text).
class ESocketError : public EBrantel {
public:
    explicit ESocketError(const std::string& message) : EBrantel(message) {}
};
class ETimedOutError : public ESocketError {
public:
    ETimedOutError();
};
class ECanceledError : public ESocketError {
public:
    ECanceledError();
};
// A message that cannot be sent as it stands (no sender, no recipient, a paragraph too large).
class EMessageError : public EBrantel {
public:
    explicit EMessageError(const std::string& message) : EBrantel(message) {}
};
// Winsock could not be loaded or lacks a function.
class EWinsockError : public EBrantel {
public:
    explicit EWinsockError(const std::string& message) : EBrantel(message) {}
};

// The mail components' own texts, by their string-table number.
namespace MailText {
inline constexpr const char* TimedOut = "Operation timed out";
inline constexpr const char* Canceled = "Operation has been canceled";
inline constexpr const char* ServerRequired = "Server property is required";
inline constexpr const char* InvalidWinsockVersion = "Invalid Winsock version";
inline constexpr const char* ResolveFailed = "Error resolving remote host";
inline constexpr const char* ServiceRequired = "Service name is required";
inline constexpr const char* NotConnected = "You have to connect to the server first";
inline constexpr const char* ServerBusy = "Server is busy";
inline constexpr const char* FunctionNotFound = "Function %s not found";
inline constexpr const char* WinsockNotLoaded = "Winsock is not loaded";
inline constexpr const char* WinsockNotFound = "Winsock not found";
inline constexpr const char* SenderRequired = "The address of sender is required";
inline constexpr const char* RecipientRequired = "At least one Recipient, CC or BCC must be entered";
inline constexpr const char* MessageRequired = "MailMessage property must be assigned";
inline constexpr const char* MultipartPreamble = "This is a multipart message in MIME format";
inline constexpr const char* ParagraphTooLarge = "Paragraph is too large";
inline constexpr const char* InvalidAddress = "An address may not contain control characters";
}  // namespace MailText

// "[10061] Connection refused" and its kind; "Error #<code>" for a code without a text.
std::string WinsockErrorText(int code);

// Why a message did not go out, as far as the user can do something about it.
enum class TMailFailure {
    None,
    Message,          // the message itself: no sender, no recipient, an attachment that cannot be read
    Connection,       // no connection, the connection broke off, or no answer in time
    Refused,          // the server refused a command or the message (the reply line is the detail)
    TlsNotOffered,    // STARTTLS was chosen and the server does not offer it: nothing went out in plain
    Tls,              // the encrypted connection could not be made
    Certificate,      // the server's certificate does not check for its name
    LoginNotOffered,  // a user name was set and the server offers no log-in this program speaks
    Login,            // the server refused the user name or the password
    Canceled          // the user stopped it
};

// A refusal: the server's reply line.
class ERefusedError : public ESocketError {
public:
    explicit ERefusedError(const std::string& reply) : ESocketError(reply) {}
};
// The protected connection or the log-in failed; Kind says which of those failures it is.
class ESecureMailError : public ESocketError {
public:
    ESecureMailError(TMailFailure kind, const std::string& message) : ESocketError(message), Kind(kind) {}
    TMailFailure Kind;
};
