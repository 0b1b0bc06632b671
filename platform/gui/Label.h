#pragma once
// Static text. An '&' in the caption underlines the next letter; Alt with that letter focuses the
// associated control (FocusControl).
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
    bool HandleAccelerator(wchar_t ch) override;

protected:
    void Paint(HDC dc) override;
    void FontChanged() override;
    bool WantsParentBackground() const override { return Transparent; }

private:
    UINT TextFlags() const;
    void AdjustSize();

    bool FAutoSize = true;
    bool FWordWrap = false;
};

// The accelerator character of a caption ("Achter&naam" -> 'n'), or 0.
wchar_t AcceleratorOf(const std::string& caption);
// The caption without its '&' markers ("&&" stays one '&').
std::string StripAccelerator(const std::string& caption);
