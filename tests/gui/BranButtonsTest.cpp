#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "core/Exceptions.h"
#include "lib/BranButtons.h"

TEST(BranButtons, ColorsNeedAControl) {
    try {
        TBranColors colors(nullptr);
        FAIL() << "accepted a missing control";
    } catch (const EBranAssertion& e) {
        EXPECT_EQ(e.AssertMessage(), "aControl must be assigned");
    }
}

TEST(BranButtons, KindsShareOneGlyphPerSize) {
    TForm form;
    TBranButton first(&form), second(&form), third(&form);
    first.SetKind(TBitBtnKind::bkRight);
    second.SetKind(TBitBtnKind::bkRight);
    third.SetKind(TBitBtnKind::bkLeft);
    EXPECT_GE(first.GlyphIndex(), 0);
    EXPECT_EQ(first.GlyphIndex(), second.GlyphIndex());
    EXPECT_NE(first.GlyphIndex(), third.GlyphIndex());
    EXPECT_EQ(first.Caption(), "V&olgende");
    EXPECT_EQ(first.ModalResult, mrNone);
    TBranButton ok(&form);
    ok.SetKind(TBitBtnKind::bkOK);
    EXPECT_EQ(ok.ModalResult, mrOk);
}

TEST(BranButtons, SpeedButtonsOfAGroupStayDownOneAtATime) {
    TForm form;
    TBranSpeedButton large(&form), small(&form);
    large.GroupIndex = small.GroupIndex = 1;
    int clicks = 0;
    small.OnClick = [&](TControl*) { ++clicks; };
    large.Click();
    EXPECT_TRUE(large.Down());
    small.Click();
    EXPECT_TRUE(small.Down());
    EXPECT_FALSE(large.Down());
    EXPECT_EQ(clicks, 1);
    TBranSpeedButton plain(&form);
    plain.Click();
    EXPECT_FALSE(plain.Down());
}
