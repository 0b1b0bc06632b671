#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <new>

#include "TestSupport.h"
#include "lib/BranWizardForm.h"
#include "platform/gui/Control.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Messages.h"

TEST(Messages, EveryBoxGoesThroughTheRoutineWithTitleKindAndButtons) {
    TMessageRecorder boxes;
    boxes.Answer(IDNO);
    EXPECT_FALSE(AskYesNo("Wilt u dit rapport verwijderen?"));
    EXPECT_TRUE(AskYesNo("Nog een keer?"));  // default answer: the first button
    ShowWarning("Er is geen mail-server ingesteld.");
    ASSERT_EQ(boxes.Messages().size(), 3u);
    const TMessageRecord& first = boxes.Messages()[0];
    EXPECT_EQ(first.Title, "Bran-Service");
    EXPECT_EQ(first.Kind, TMsgKind::Question);
    EXPECT_EQ(first.Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(boxes.Messages()[2].Kind, TMsgKind::Warning);
    EXPECT_EQ(boxes.Texts()[2], "Er is geen mail-server ingesteld.");
}

TEST(Hourglass, RestoresThePreviousCursorAlsoWhenAnExceptionPasses) {
    ASSERT_EQ(ScreenCursor(), nullptr);
    try {
        THourglass outer;
        EXPECT_EQ(ScreenCursor(), LoadCursorW(nullptr, IDC_WAIT));
        {
            THourglass inner;
        }
        EXPECT_EQ(ScreenCursor(), LoadCursorW(nullptr, IDC_WAIT));
        throw std::runtime_error("mislukt");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(ScreenCursor(), nullptr);
}

// A failure nobody caught reaches the user in Dutch, never in the C++ library's words; out of
// memory has its own sentence, also when it passed through a window being shown.
TEST(Messages, AFailureNobodyCaughtIsToldInDutch) {
    const std::pair<std::function<void()>, std::string> rows[] = {
        {[] {
             TBranWizardForm wizard;
             wizard.OnShow = [](TControl*) { throw std::bad_alloc(); };
             wizard.Show();
         },
         "Er is niet genoeg geheugen vrij om dit af te maken. Sluit andere programma's en probeer het opnieuw."},
        {[] { (void)std::string("kort").substr(9); }, "Er is een onverwachte fout opgetreden in het programma."},
    };
    for (const auto& [fail, text] : rows) {
        TMessageRecorder boxes;
        ReportExceptions(fail);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{text});
    }
}
