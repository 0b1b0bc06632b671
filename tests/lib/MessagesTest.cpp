#include <gtest/gtest.h>
#include <windows.h>

#include "TestSupport.h"
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
