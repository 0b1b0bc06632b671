#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "core/StrConv.h"
#include "platform/gui/Label.h"

// A label sized to its text keeps the text's size whatever design size it is given, and when its
// form is scaled to a denser screen: the font is already in the screen's pixels, so a label that grew
// with the form would cover the value beside it (the About box at 192 pixels per inch hid the user's
// name so). Positions, and the sizes of other labels, scale once.
TEST(Label, SizedToItsTextItKeepsTheTextsSizeThroughDesignSizesAndScaling) {
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
        TLabel label(&form, "Gebruikersnaam van de geregistreerde gebruiker");
        label.SetFontWith([](TFont& f) { f.Bold = true; });
        label.SetWordWrap(c.wordWrap);
        label.SetAutoSize(c.autoSize);
        label.SetBounds(10, 20, 90, 16);  // a design size too small for the text
        TLabel value(&form, "Jansen");
        value.SetBounds(10 + label.Width() + 8, 20, 100, 16);

        for (int scale : {1, 2}) {
            SCOPED_TRACE(scale);
            if (scale == 2) form.ScaleBy(2, 1);
            EXPECT_EQ(label.Left(), 10 * scale);
            EXPECT_EQ(label.Top(), 20 * scale);
            if (!c.autoSize) {
                EXPECT_EQ(label.Width(), 90 * scale);
                EXPECT_EQ(label.Height(), 16 * scale);
            } else if (c.wordWrap) {
                EXPECT_EQ(label.Width(), 90 * scale);
                EXPECT_EQ(label.Height(), CaptionExtent(label, label.Width(), DT_WORDBREAK).cy);
            } else {
                SIZE text = CaptionExtent(label, 0, DT_SINGLELINE);
                EXPECT_EQ(label.Width(), text.cx);
                EXPECT_EQ(label.Height(), text.cy);
                EXPECT_LT(label.Right(), value.Left()) << "the label covers the value beside it";
            }
        }
    }
}

// A wrapped label breaks its lines at blanks and at its own line breaks only: DrawText also breaks
// after a hyphen, which put "Bran-" at the end of one line and "Service" on the next.
TEST(Label, WrappedTextBreaksAtBlanksOnly) {
    TWindowDC dc(nullptr);
    TSelectObject font(dc.Get(), SharedFont(TFont{}));
    auto width = [&](const wchar_t* text) {
        RECT r{0, 0, 0, 0};
        DrawTextW(dc.Get(), text, -1, &r, DT_SINGLELINE | DT_CALCRECT);
        return static_cast<int>(r.right);
    };
    struct {
        const wchar_t* text;
        int width;
        std::vector<std::wstring> lines;
    } cases[] = {
        {L"niet nodig om Bran-Service", width(L"niet nodig om Bran-"), {L"niet nodig om", L"Bran-Service"}},
        {L"Eerste regel\r\nTweede regel", 1000, {L"Eerste regel", L"Tweede regel"}},
        {L"Installatiewizard starten", width(L"Install"), {L"Installatiewizard", L"starten"}},  // a word too wide
        {L"1.  Raadpleeg de  documentatie", 1000, {L"1.  Raadpleeg de  documentatie"}},  // blanks kept
    };
    for (const auto& c : cases) EXPECT_EQ(WrapText(dc.Get(), c.text, c.width, 0), c.lines) << Narrow(c.text);
}
