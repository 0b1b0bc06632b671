#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "core/StrConv.h"
#include "platform/gui/Label.h"

namespace {
// The text's own rectangle in the label's font; width 0 measures a single line.
SIZE TextSize(const TLabel& label, int width, UINT flags) {
    TWindowDC dc(label.Handle());
    TSelectObject font(dc.Get(), SharedFont(label.Font()));
    RECT r{0, 0, width, 0};
    DrawTextW(dc.Get(), Widen(label.Caption()).c_str(), -1, &r, flags | DT_CALCRECT | DT_EXPANDTABS);
    return {r.right, r.bottom};
}
}  // namespace

// A form scaled to a denser screen moves its labels and scales their design sizes once. The font is
// already in the screen's pixels, so a label sized to its text must not grow a second time: it would
// cover the value beside it (the About box at 192 pixels per inch hid the user's name so).
TEST(Label, ScalingAFormScalesThePositionOnceAndMeasuresTheTextAnew) {
    struct {
        const char* name;
        bool autoSize, wordWrap;
    } cases[] = {
        {"sized to its text", true, false},
        {"sized to its wrapped text", true, true},
        {"of a fixed size", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TForm form;
        form.SetClientSize(400, 200);
        TLabel label(&form);
        label.SetWordWrap(c.wordWrap);
        label.SetAutoSize(c.autoSize);
        label.SetBounds(10, 20, 90, 16);
        label.SetCaption("Gebruikersnaam van de geregistreerde gebruiker");
        label.SetFontWith([](TFont& f) { f.Bold = true; });
        const int width = label.Width(), height = label.Height();
        TLabel value(&form, "Jansen");
        value.SetBounds(10 + width + 8, 20, 100, 16);

        form.ScaleBy(2, 1);

        EXPECT_EQ(label.Left(), 20);
        EXPECT_EQ(label.Top(), 40);
        if (!c.autoSize) {
            EXPECT_EQ(label.Width(), 2 * width);
            EXPECT_EQ(label.Height(), 2 * height);
        } else if (c.wordWrap) {
            EXPECT_EQ(label.Width(), 2 * width);
            EXPECT_EQ(label.Height(), TextSize(label, label.Width(), DT_WORDBREAK).cy);
        } else {
            SIZE text = TextSize(label, 0, DT_SINGLELINE);
            EXPECT_EQ(label.Width(), text.cx);
            EXPECT_EQ(label.Height(), text.cy);
            EXPECT_LT(label.Right(), value.Left()) << "the label covers the value beside it";
        }
    }
}
