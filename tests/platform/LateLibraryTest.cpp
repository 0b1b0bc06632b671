#include "platform/LateLibrary.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include "core/Exceptions.h"

TEST(LateLibrary, BindsAtTheFirstCallAndNamesWhatIsMissing) {
    EXPECT_GT(BRAN_LATE(Winmm(), timeGetTime)(), 0u);
    for (const auto& [library, function] : {std::pair{L"kernel32.dll", "NoSuchFunction"},
                                            std::pair{L"bran-nosuchlibrary.dll", "GetTickCount"}}) {
        const TLateLibrary late(library);  // a missing library fails only when it is used
        try {
            late.Function<void()>(function);
            ADD_FAILURE() << function << " found";
        } catch (const EBrantel& e) {
            EXPECT_NE(e.UserMessage().find(std::string("Windows-onderdeel")), std::string::npos);
            EXPECT_NE(e.UserMessage().find(function), std::string::npos) << e.UserMessage();
        }
    }
}
