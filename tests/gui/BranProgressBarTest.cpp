#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "lib/BranProgressBar.h"

namespace {
const COLORREF kDone = RGB(0, 0, 200), kToDo = RGB(255, 255, 255), kBack = RGB(10, 20, 30);

struct TBarFixture {
    TForm form;
    TBranProgressBar bar{&form};
    TBarFixture() {
        bar.SetColorComplete(kDone);
        bar.SetColorUncomplete(kToDo);
        bar.SetColor(kBack);
    }
    // The colour of every segment's first column, and of the gaps, as painted.
    std::vector<COLORREF> Painted() {
        TOffscreenBitmap bitmap(bar.Width(), bar.Height());
        bar.PaintOn(bitmap.DC());
        std::vector<COLORREF> columns;
        for (int x = 0; x < bar.Width(); ++x) columns.push_back(bitmap.Pixel(x, bar.Height() / 2));
        return columns;
    }
};

// Expected columns: segments of 3 pixels with 1-pixel gaps.
std::vector<COLORREF> Expected(int width, int segments, int completed) {
    std::vector<COLORREF> columns;
    for (int x = 0; x < width; ++x) {
        int segment = x / 4;
        columns.push_back(x % 4 == 3 || segment >= segments ? kBack : segment < completed ? kDone : kToDo);
    }
    return columns;
}
}  // namespace

TEST(BranProgressBar, SegmentsAndCompletedCountsArePaintedAsComputed) {
    struct {
        int width, min, max, position, segments, completed;
    } cases[] = {
        {79, 0, 100, 0, 20, 0},
        {79, 0, 100, 50, 20, 10},
        {79, 0, 100, 100, 20, 20},
        {78, 0, 100, 100, 19, 19},  // 78 mod 4 = 2: no room for a twentieth segment
        {79, 5, 5, 5, 20, 0},       // Min = Max: nothing is completed
        {40, 0, 3, 2, 10, 6},
    };
    for (const auto& c : cases) {
        TBarFixture f;
        f.bar.SetWidth(c.width);
        f.bar.SetMax(c.max);
        f.bar.SetMin(c.min);
        f.bar.SetPosition(c.position);
        EXPECT_EQ(f.bar.SegmentCount(), c.segments) << c.width;
        EXPECT_EQ(f.bar.CompletedCount(), c.completed) << c.position << " of " << c.min << ".." << c.max;
        std::vector<COLORREF> painted = f.Painted(), expected = Expected(c.width, c.segments, c.completed);
        ASSERT_EQ(painted.size(), expected.size());
        for (size_t x = 0; x < painted.size(); ++x)
            EXPECT_EQ(painted[x], expected[x]) << "column " << x << ", " << c.position << " of " << c.min << ".." << c.max;
    }
}

TEST(BranProgressBar, DefaultsAreTheDocumentedOnes) {
    TBarFixture f;
    TBranProgressBar fresh(&f.form);
    EXPECT_EQ(fresh.Width(), 79);
    EXPECT_EQ(fresh.Height(), 14);
    EXPECT_EQ(fresh.SegmentCount(), 20);
    EXPECT_EQ(fresh.Step, 10);
    EXPECT_EQ(fresh.ColorComplete(), clActiveCaption);
    EXPECT_EQ(fresh.ColorUncomplete(), clCaptionText);
}

TEST(BranProgressBar, RangeIsGuardedAndPositionFollows) {
    TBarFixture f;
    int changes = 0;
    f.bar.OnPositionChange = [&](TControl*) { ++changes; };
    f.bar.SetPosition(150);
    EXPECT_EQ(f.bar.Position(), 100);
    f.bar.SetPosition(-5);
    EXPECT_EQ(f.bar.Position(), 0);
    EXPECT_EQ(changes, 2);
    f.bar.SetPosition(0);
    EXPECT_EQ(changes, 2);  // unchanged: no event
    f.bar.SetPosition(80);
    f.bar.SetMax(60);
    EXPECT_EQ(f.bar.Position(), 60);
    f.bar.SetMin(10);
    f.bar.SetPosition(0);
    EXPECT_EQ(f.bar.Position(), 10);
    try {
        f.bar.SetMin(61);
        FAIL() << "Min above Max accepted";
    } catch (const EBranProgressBar& e) {
        EXPECT_STREQ(e.what(), "TBranProgressBar property out of range");
    }
    EXPECT_THROW(f.bar.SetMax(9), EBranProgressBar);
    EXPECT_EQ(f.bar.Min(), 10);
    EXPECT_EQ(f.bar.Max(), 60);
    f.bar.StepIt();
    EXPECT_EQ(f.bar.Position(), 20);
}
