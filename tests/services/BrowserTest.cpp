#include "ServiceTestSupport.h"
#include "Source/Common/Catalogue/Browser.h"
#include "core/StrConv.h"

#include <shellapi.h>

using Browser = ServiceTest;

TEST_F(Browser, NoRegisteredBrowser) {
    EXPECT_EQ(BrowserCommand(), "");
    EXPECT_FALSE(BrowserPresent());
    EXPECT_FALSE(OpenInBrowser("www.brantel.nl"));
    EXPECT_TRUE(Started.empty());
}

TEST_F(Browser, QuotedCommandIsFoundCleanedAndStartedMaximised) {
    std::string exe = BrowserExe();
    RegisterBrowser("\"" + exe + "\" -nohome \"%1\"");
    EXPECT_EQ(BrowserCommand(), "\"" + exe + "\" -nohome \"\"");
    EXPECT_TRUE(BrowserPresent());
    ASSERT_TRUE(OpenInBrowser("www.brantel.nl/helpdesk"));
    ASSERT_EQ(Started.size(), 1u);
    EXPECT_EQ(Started[0].File, exe);
    EXPECT_EQ(Started[0].Verb, "");
    EXPECT_EQ(Started[0].Parameters, "-nohome \"\" \"http://www.brantel.nl/helpdesk\"");
    EXPECT_EQ(Started[0].ShowCmd, SW_SHOWMAXIMIZED);
    ShellAnswer = 5;  // access denied
    EXPECT_FALSE(OpenInBrowser("x"));
}

TEST_F(Browser, UnquotedCommandWithArgumentsCountsAsNone) {
    std::string exe = BrowserExe();
    RegisterBrowser(exe + " -new %1");
    EXPECT_FALSE(BrowserPresent());
    RegisterBrowser(exe);
    EXPECT_TRUE(BrowserPresent());
}

TEST_F(Browser, CommandUnderTheExtensionItselfAndCleanUp) {
    std::string exe = BrowserExe();
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CLASSES_ROOT, ".shtml\\shell\\open\\command", true));
    key.WriteString("", "\"" + exe + "\" %1");
    EXPECT_TRUE(BrowserPresent());
    EXPECT_EQ(CleanBrowserCommand("a %1 b %L%"), "a  b %");
}

// An address from outside (an update index's "Info") reaches the browser as one web address: it
// cannot add switches, and nothing but a web page is opened.
TEST_F(Browser, AnAddressIsOneQuotedWebAddressOrNotOpenedAtAll) {
    std::string exe = BrowserExe();
    RegisterBrowser("\"" + exe + "\" %1");
    const std::pair<const char*, const char*> cases[] = {
        {"http://x/info --evil-switch=1 -second", "\"http://x/info%20--evil-switch=1%20-second\""},
        {"https://x/a?b=\"c\" d&e=f", "\"https://x/a?b=%22c%22%20d&e=f\""},
        {"  HTTP://x/\tnieuw\r\n", "\"HTTP://x/%09nieuw\""},
        {"--evil-switch=1", "\"http://--evil-switch=1\""},
        {"www.brantel.nl:8080/shop", "\"http://www.brantel.nl:8080/shop\""},
        {"", ""},  // the browser's own page
        {"file:///C:/windows/system32/cmd.exe", nullptr},
        {"javascript:alert(1)", nullptr},
        {"C:\\windows\\system32\\cmd.exe", nullptr},
        {"mailto:helpdesk@brantel.nl", nullptr},
    };
    for (const auto& [address, parameters] : cases) {
        SCOPED_TRACE(address);
        Started.clear();
        EXPECT_EQ(OpenInBrowser(address), parameters != nullptr);
        if (!parameters) {
            EXPECT_TRUE(Started.empty());
            continue;
        }
        ASSERT_EQ(Started.size(), 1u);
        EXPECT_EQ(Started[0].Parameters, parameters);
        // As the browser will split its command line.
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(Widen("browser.exe " + Started[0].Parameters).c_str(), &count);
        EXPECT_EQ(count, *parameters ? 2 : 1);
        LocalFree(arguments);
    }
}
