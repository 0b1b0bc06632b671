#include "ServiceTestSupport.h"
#include "Source/Common/Catalogue/Browser.h"

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
    EXPECT_EQ(Started[0].Parameters, "-nohome \"\" www.brantel.nl/helpdesk");
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
