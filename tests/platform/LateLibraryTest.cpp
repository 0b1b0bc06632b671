#include "platform/LateLibrary.h"

#include <gtest/gtest.h>
#include <mmsystem.h>
#include <wininet.h>

#include "core/Exceptions.h"

TEST(LateLibrary, FindsAFunctionAndNamesWhatIsMissing) {
    const TLateLibrary kernel(L"kernel32.dll");
    EXPECT_EQ(BRAN_LATE(kernel, GetCurrentProcessId)(), GetCurrentProcessId());

    struct TCase {
        const wchar_t* Library;
        const char* Function;
    } cases[] = {{L"kernel32.dll", "NoSuchFunction"}, {L"bran-nosuchlibrary.dll", "GetTickCount"}};
    for (const auto& c : cases) {
        const TLateLibrary library(c.Library);  // a missing library fails only when it is used
        try {
            library.Function<void()>(c.Function);
            ADD_FAILURE() << c.Function << " found";
        } catch (const EBrantel& e) {
            EXPECT_NE(e.UserMessage().find(c.Function), std::string::npos) << e.UserMessage();
            EXPECT_NE(e.UserMessage().find("Windows-onderdeel"), std::string::npos) << e.UserMessage();
        }
    }
}

TEST(LateLibrary, TheProgramsLibrariesAnswer) {
    EXPECT_GT(BRAN_LATE(Winmm(), timeGetTime)(), 0u);
    EXPECT_NE(BRAN_LATE(Wininet(), InternetOpenW), nullptr);
}
