#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "lib/BranGradient.h"

namespace {
const COLORREF kFrom = RGB(255, 0, 0), kTo = RGB(0, 0, 255), kBorder = RGB(0, 255, 0);

struct TGradientFixture {
    TForm form;
    TBranGradient gradient{&form};
    TGradientFixture(int width, int height, TFillDirection direction) {
        gradient.SetBounds(0, 0, width, height);
        gradient.SetFromColor(kFrom);
        gradient.SetColor(kTo);
        gradient.SetBorderColor(kBorder);
        gradient.SetDirection(direction);
    }
};
}  // namespace

TEST(BranGradient, BandCountFollowsTheInnerLengthUpTo64) {
    struct {
        int width, border, bands;
    } cases[] = {{10, 1, 8}, {200, 1, 64}, {66, 1, 64}, {65, 1, 63}, {2, 1, 0}, {1, 3, 0}, {10, 0, 10}};
    for (const auto& c : cases) {
        TGradientFixture f(c.width, 40, TFillDirection::fdLeftToRight);
        f.gradient.SetBorderWidth(c.border);
        EXPECT_EQ(f.gradient.BandColors().size(), static_cast<size_t>(c.bands)) << c.width << " border " << c.border;
    }
    TGradientFixture vertical(10, 30, TFillDirection::fdTopToBottom);
    EXPECT_EQ(vertical.gradient.BandColors().size(), 28u);
}

TEST(BranGradient, BandColoursStepEvenlyFromStartToEnd) {
    TGradientFixture f(7, 20, TFillDirection::fdLeftToRight);  // 5 bands
    // Steps of 63.75 per band, rounded half away from zero.
    std::vector<COLORREF> expected = {RGB(255, 0, 0), RGB(191, 0, 64), RGB(127, 0, 128), RGB(64, 0, 191), RGB(0, 0, 255)};
    EXPECT_EQ(f.gradient.BandColors(), expected);
    f.gradient.SetDirection(TFillDirection::fdRightToLeft);
    expected = {RGB(0, 0, 255), RGB(64, 0, 191), RGB(128, 0, 127), RGB(191, 0, 64), RGB(255, 0, 0)};
    EXPECT_EQ(f.gradient.BandColors(), expected);
}

TEST(BranGradient, PaintsBorderBandsAndLastBandToTheEdge) {
    for (TFillDirection direction : {TFillDirection::fdLeftToRight, TFillDirection::fdRightToLeft,
                                     TFillDirection::fdTopToBottom, TFillDirection::fdBottomToTop}) {
        TGradientFixture f(150, 150, direction);
        TOffscreenBitmap bitmap(150, 150);
        f.gradient.PaintOn(bitmap.DC());
        for (POINT border : {POINT{0, 0}, POINT{149, 75}, POINT{75, 149}, POINT{0, 75}})
            EXPECT_EQ(bitmap.Pixel(border.x, border.y), kBorder);
        bool horizontal = direction == TFillDirection::fdLeftToRight || direction == TFillDirection::fdRightToLeft;
        bool forward = direction == TFillDirection::fdLeftToRight || direction == TFillDirection::fdTopToBottom;
        auto at = [&](int along) { return horizontal ? bitmap.Pixel(along, 75) : bitmap.Pixel(75, along); };
        EXPECT_EQ(at(1), forward ? kFrom : kTo);
        EXPECT_EQ(at(148), forward ? kTo : kFrom);  // the last band reaches the inner edge
        // Colours change monotonically along the direction.
        int previousRed = forward ? 256 : -1;
        for (int along = 1; along < 149; ++along) {
            int red = GetRValue(at(along));
            EXPECT_TRUE(forward ? red <= previousRed : red >= previousRed) << along;
            previousRed = red;
        }
    }
}

TEST(BranGradient, DefaultsAreTheDocumentedOnes) {
    TForm form;
    TBranGradient gradient(&form);
    EXPECT_EQ(gradient.Width(), 65);
    EXPECT_EQ(gradient.Height(), 65);
    EXPECT_EQ(gradient.FromColor(), clRed);
    EXPECT_EQ(gradient.Color(), clBtnFace);
    EXPECT_EQ(gradient.BorderColor(), clBtnShadow);
    EXPECT_EQ(gradient.BorderWidth(), 1);
    EXPECT_EQ(gradient.Direction(), TFillDirection::fdLeftToRight);
}
