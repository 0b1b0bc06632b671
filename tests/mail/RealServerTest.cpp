#include <gtest/gtest.h>

#include <windows.h>

#include "Source/Common/Catalogue/Deployment.h"
#include "mail/SendMail.h"
#include "platform/Files.h"
#include "TestSupport.h"

namespace {
}  // namespace

// Run by tests/checks/smtp_server.py, which serves Python's own SMTP server and reads what arrives.
TEST(SendMail, ThroughAnIndependentServer) {
    std::string server = EnvironmentValue("BRAN_SMTP_SERVER"), folder = EnvironmentValue("BRAN_ARTIFACT_DIR");
    if (server.empty() || folder.empty()) GTEST_SKIP() << "no server to talk to";
    std::string zip = IncludeTrailingBackslash(folder) + "Case.zip";
    EXPECT_TRUE(SendMail("jan@example.nl", {"helpdesk@brantel.nl"}, "12345", {zip}, server, {}, MailProviders()));
    EXPECT_TRUE(SendMail("jan@example.nl", {"adres@brantel.nl", "kopie@brantel.nl"}, "12345 Jansen", {}, server,
                         {"Naam: Jansen", ".", ".punt", "Straat: Één 1", std::string(300, 'w')}, MailProviders()));
}
