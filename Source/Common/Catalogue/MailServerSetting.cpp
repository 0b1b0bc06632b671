#include "Source/Common/Catalogue/MailServerSetting.h"

#include "Source/Common/Catalogue/User.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/ProtectedData.h"
#include "platform/Registry.h"

const char* const MailPasswordKey = "Software\\Brantel\\Shared\\Registration";

namespace {
const char* const kPasswordValue = "MailPassword";
}

std::string SecurityValue(TMailSecurity security) {
    switch (security) {
        case TMailSecurity::StartTls: return "STARTTLS";
        case TMailSecurity::Tls: return "TLS";
        case TMailSecurity::None: break;
    }
    return {};
}

TMailSecurity SecurityFromValue(const std::string& value) {
    const std::string upper = UpperCase(value);
    if (upper == "STARTTLS") return TMailSecurity::StartTls;
    if (upper == "TLS") return TMailSecurity::Tls;
    return TMailSecurity::None;
}

TMailServer MailServerOf(const TUser& user) {
    TMailServer server(user.Mailserver().AsString());
    server.Security = SecurityFromValue(user.MailSecurity().AsString());
    server.UserName = user.MailUserName().AsString();
    if (!server.UserName.empty()) server.Password = LoadMailPassword();
    return server;
}

std::string LoadMailPassword() {
    TRegKey key = TRegKey::OpenReadOnly(HKEY_CURRENT_USER, MailPasswordKey);
    if (!key.IsOpen() || key.GetDataType(kPasswordValue) != TRegDataType::Binary) return {};
    const std::vector<uint8_t> stored = key.ReadBinary(kPasswordValue);
    return UnprotectForCurrentUser(std::string(stored.begin(), stored.end())).value_or("");
}

void SaveMailPassword(const std::string& password) {
    TRegKey key;
    if (!key.Open(HKEY_CURRENT_USER, MailPasswordKey, true)) return;
    if (password.empty()) {
        key.DeleteValue(kPasswordValue);
        return;
    }
    const std::string protectedBytes = ProtectForCurrentUser(password);
    key.WriteBinary(kPasswordValue, std::vector<uint8_t>(protectedBytes.begin(), protectedBytes.end()));
}

std::string MailFailureText(const TMailOutcome& outcome, const std::string& server) {
    const std::string host = server.substr(0, server.find(':'));
    switch (outcome.Failure) {
        case TMailFailure::None: return {};
        case TMailFailure::Message: return "Het bericht kon niet worden samengesteld.";
        case TMailFailure::Connection:
            return Format("Er kon geen verbinding worden gemaakt met de mail-server %s.", {host});
        case TMailFailure::Refused:
            return Format("De mail-server %s heeft het bericht geweigerd: %s", {host, outcome.Detail});
        case TMailFailure::TlsNotOffered:
            return Format("De mail-server %s biedt geen beveiligde verbinding (STARTTLS) aan. Er is niets verzonden.",
                          {host});
        case TMailFailure::Tls:
            return Format("Er kon geen beveiligde verbinding worden gemaakt met de mail-server %s. Er is niets verzonden.",
                          {host});
        case TMailFailure::Certificate:
            return Format("Het certificaat van de mail-server %s is niet geldig of wordt niet vertrouwd. Er is niets "
                          "verzonden.",
                          {host});
        case TMailFailure::LoginNotOffered:
            return Format("De mail-server %s biedt geen aanmelding aan die dit programma kent.", {host});
        case TMailFailure::Login: return "De mail-server heeft de gebruikersnaam of het wachtwoord geweigerd.";
        case TMailFailure::Canceled: return "Het verzenden is afgebroken.";
    }
    return {};
}

std::string WithReason(const std::string& message, const std::string& reason) {
    return reason.empty() ? message : message + "\r\r" + reason;
}
