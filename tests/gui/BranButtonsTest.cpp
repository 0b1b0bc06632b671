#include <gtest/gtest.h>

#include <map>

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

// A disabled button's picture is its shape in the shadow colour with the highlight colour beside it,
// as Windows draws it: greyed colours left the black arrows black, and a disabled Back looked
// enabled.
TEST(BranButtons, ADisabledGlyphIsItsShapeInTheShadowColour) {
    const int size = 16;
    const int arrow = TGlyphCache::Instance().KindGlyph(TBitBtnKind::bkLeft, size);
    auto colours = [&](bool enabled) {
        TOffscreenBitmap picture(size + 1, size + 1);
        picture.Fill(ColorToRGB(clBtnFace));
        TGlyphCache::Instance().List(size, size).Draw(picture.DC(), 0, 0, arrow, enabled);
        std::map<COLORREF, int> counts;
        for (int y = 0; y <= size; ++y)
            for (int x = 0; x <= size; ++x) ++counts[picture.Pixel(x, y)];
        return counts;
    };
    auto enabled = colours(true), disabled = colours(false);
    ASSERT_GT(enabled[RGB(0, 0, 0)], 10) << "the arrow as the enabled button shows it";
    EXPECT_EQ(disabled[RGB(0, 0, 0)], 0);
    EXPECT_EQ(disabled[ColorToRGB(clBtnShadow)], enabled[RGB(0, 0, 0)]) << "the same shape";
    EXPECT_GT(disabled[ColorToRGB(clBtnHighlight)], 0);
}
