#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>
#include <map>

#include "mail/SendMail.h"
#include "platform/Files.h"
#include "TestSupport.h"
#include "TrustedRoot.h"

// Run by tests/checks/secure_mail.py, which serves SMTP with STARTTLS and TLS on 127.0.0.1 with a
// certificate authority of its own, and reads back what arrived. The prefix's trust cannot change
// under a running process, so the script runs the refused cases, then lets the prefix trust its
// authority (TrustTheTestAuthority), then runs the accepted cases, each in a process of its own.
namespace {
TMailServer Account(const std::string& server, TMailSecurity security, const std::string& password = "geheim wachtwoord") {
    TMailServer s(server);
    s.Security = security;
    s.UserName = "jan@example.nl";
    s.Password = password;
    return s;
}

TMailOutcome Send(const TMailServer& server, const std::string& subject) {
    std::string zip = IncludeTrailingBackslash(EnvironmentValue("BRAN_ARTIFACT_DIR")) + "Case.zip";
    TMailOutcome outcome;
    bool sent = SendMail("jan@example.nl", {"helpdesk@brantel.nl"}, subject, {zip}, server, {}, {}, &outcome);
    EXPECT_EQ(sent, outcome.Failure == TMailFailure::None) << subject;
    return outcome;
}
}  // namespace

TEST(SecureMail, RefusedWithoutTrustOrProtection) {
    auto servers = SecureServerPorts();
    if (servers.empty()) GTEST_SKIP() << "no servers to talk to";
    const struct {
        const char* what;
        TMailServer server;
        TMailFailure failure;
    } cases[] = {
        {"untrusted STARTTLS", Account("localhost:" + servers["starttls"], TMailSecurity::StartTls),
         TMailFailure::Certificate},
        {"untrusted TLS", Account("localhost:" + servers["tls"], TMailSecurity::Tls), TMailFailure::Certificate},
        {"no STARTTLS offered", Account("localhost:" + servers["nostarttls"], TMailSecurity::StartTls),
         TMailFailure::TlsNotOffered},
    };
    for (const auto& c : cases) {
        TMailOutcome outcome = Send(c.server, c.what);
        EXPECT_EQ(outcome.Failure, c.failure) << c.what << ": " << outcome.Detail;
        EXPECT_EQ(outcome.Detail.find("geheim"), std::string::npos) << c.what;
    }
    // Plain, as mail was always sent, still goes.
    EXPECT_EQ(Send(TMailServer("127.0.0.1:" + servers["plain"]), "plain").Failure, TMailFailure::None);
}

TEST(SecureMail, TrustTheTestAuthority) {
    std::string path = EnvironmentValue("BRAN_TEST_AUTHORITY");
    if (path.empty()) GTEST_SKIP() << "no authority to trust";
    std::ifstream file(path, std::ios::binary);
    std::string der{std::istreambuf_iterator<char>(file), {}};
    ASSERT_FALSE(der.empty()) << path;
    // The current user's root store, as a user who trusts an authority adds it.
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, L"Root");
    ASSERT_NE(store, nullptr);
    EXPECT_TRUE(CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                 static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                 nullptr));
    CertCloseStore(store, 0);
}

TEST(SecureMail, AcceptedWithTrust) {
    auto servers = SecureServerPorts();
    if (servers.empty()) GTEST_SKIP() << "no servers to talk to";
    TMailOutcome outcome = Send(Account("localhost:" + servers["starttls"], TMailSecurity::StartTls), "starttls");
    EXPECT_EQ(outcome.Failure, TMailFailure::None) << outcome.Detail;
    EXPECT_EQ(outcome.FinalReply.rfind("250 2.0.0 queued", 0), 0u) << outcome.FinalReply;

    outcome = Send(Account("localhost:" + servers["tls"], TMailSecurity::Tls), "tls");
    EXPECT_EQ(outcome.Failure, TMailFailure::None) << outcome.Detail;

    outcome = Send(Account("localhost:" + servers["starttls"], TMailSecurity::StartTls, "fout"), "wrong password");
    EXPECT_EQ(outcome.Failure, TMailFailure::Login) << outcome.Detail;
    EXPECT_EQ(outcome.Detail.rfind("535", 0), 0u) << outcome.Detail;

    // The certificate names "localhost", not the address.
    outcome = Send(Account("127.0.0.1:" + servers["tls"], TMailSecurity::Tls), "other name");
    EXPECT_EQ(outcome.Failure, TMailFailure::Certificate) << outcome.Detail;
}
