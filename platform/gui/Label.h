#pragma once
// Static text. An '&' in the caption underlines the next letter; Alt with that letter focuses the
// associated control (FocusControl). A word-wrapping label breaks its lines at blanks only, as
// Windows' own dialogs do (DrawText would also break after a hyphen: "Bran-" / "Service"). A label
// with a tab stop and a click handler is a link: it takes the focus and Enter or Space clicks it.
#include <vector>

#include "platform/gui/Control.h"

enum class TTextLayout { tlTop, tlCenter, tlBottom };

class TLabel : public TControl {
public:
    explicit TLabel(TControl* parent, const std::string& caption = {});

    // Sizes the label to its text whenever the caption or font changes.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    TAlignment Alignment = TAlignment::taLeftJustify;
    TTextLayout Layout = TTextLayout::tlTop;
    // Shows what lies behind the label instead of filling it with Color.
    bool Transparent = true;
    bool ShowAccelChar = true;
    TControl* FocusControl = nullptr;

    void SetCaption(const std::string& caption) override;
    // A label sized to its text keeps that size wherever it is put: a design size given with the
    // position, or scaled with the form (the font is already in the screen's pixels, so a scaled
    // measure would grow the label over its neighbours), is replaced by the text's own. A
    // word-wrapping label keeps the width and takes the height of its text.
    void SetBounds(int left, int top, int width, int height) override;
    // The size of the text as the label draws it (for a word-wrapping label: at its width).
    SIZE TextExtent() const;
    bool IsPushButton() const override;
    wchar_t AccelChar() const override;
    TControl* AcceleratorTarget() override { return FocusControl; }
    // Focuses FocusControl, also when other controls share the letter.
    void AcceleratorPressed(bool only) override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;
    void FontChanged() override;
    bool WantsParentBackground() const override { return Transparent; }

private:
    UINT TextFlags() const;
    std::vector<std::wstring> TextLines(HDC dc) const;
    int LineHeight(HDC dc) const;
    void AdjustSize();

    bool FAutoSize = true;
    bool FWordWrap = false;
};

// The lines of a text at most width pixels wide in the font selected into dc, broken at blanks and at
// the text's own line breaks; a word wider than width stands alone on its line. flags: DrawText's
// DT_NOPREFIX and DT_EXPANDTABS as the text is drawn.
std::vector<std::wstring> WrapText(HDC dc, const std::wstring& text, int width, UINT flags);
