#include <gtest/gtest.h>

#include "Source/Common/Catalogue/Deployment.h"
#include "mail/MailErrors.h"
#include "mail/SendMail.h"
#include "mail/Winsock.h"

TEST(SendMail, ProviderHostOnlyReplacesTheMakersDefault) {
    ASSERT_GT(std::string(MailHostTable[0].Domain).size(), 1u);
    std::string providerSender = std::string("klant") + MailHostTable[0].Domain;
    for (char& c : providerSender) c = static_cast<char>(tolower(c));
    EXPECT_EQ(ChooseMailServer(providerSender, DefaultMailHost, MailProviders()), MailHostTable[0].Host);
    std::string lastSender = std::string("x") + MailHostTable[3].Domain;
    EXPECT_EQ(ChooseMailServer(lastSender, DefaultMailHost, MailProviders()), MailHostTable[3].Host);
    EXPECT_EQ(ChooseMailServer("jan@example.nl", DefaultMailHost, MailProviders()), DefaultMailHost);
    EXPECT_EQ(ChooseMailServer(providerSender, "smtp.eigen.nl:2525", MailProviders()), "smtp.eigen.nl:2525");
    // The default is recognised exactly as stored, not in other spelling.
    std::string lower = DefaultMailHost;
    for (char& c : lower) c = static_cast<char>(tolower(c));
    EXPECT_EQ(ChooseMailServer(providerSender, lower, MailProviders()), lower);
}

TEST(SendMail, PlausibleAddresses) {
    const std::pair<const char*, bool> cases[] = {
        {"jan@example.nl", true}, {"a@b.c", true},     {"jan.jansen@example", true}, {"@x.nl", true},
        {"jan@", false},          {"jan@.nl", false},  {"janexample.nl", false},     {"jan@examplenl", false},
        {"jan@example.", false},  {"a,b@c.nl", false}, {"", false},                  {".@", false},
        // Nothing that would end the address inside "MAIL FROM:<...>" or a header line.
        {"x@y.nl> SIZE=1", false}, {"<x@y.nl>", false}, {"jan jansen@x.nl", false}, {"jan@x.nl\r\n", false},
        {"jan\t@x.nl", false},    {"jan@x.nl\x7f", false}, {"jan\x01@x.nl", false}, {"j\xc3\xa9@x.nl", true},
    };
    for (const auto& [text, valid] : cases) EXPECT_EQ(IsValidEmailAddress(text), valid) << text;
}

TEST(Winsock, ErrorTextsAndLoader) {
    EXPECT_EQ(WinsockErrorText(0), "[0] No Error");
    EXPECT_EQ(WinsockErrorText(10061), "[10061] Connection refused");
    EXPECT_EQ(WinsockErrorText(11004), "[11004] Valid name, no data record of requested type");
    EXPECT_EQ(WinsockErrorText(10001), "Error #10001");
    TagWinsock::Instance().Load();
    EXPECT_TRUE(TagWinsock::Instance().Loaded());
    EXPECT_EQ(TagWinsock::Instance().Htons(0x1234), 0x3412);
}
