#pragma once
// A panel filled with a colour gradient inside a border, with its caption drawn over it.
#include <memory>
#include <vector>

#include "platform/gui/Panel.h"

enum class TFillDirection { fdLeftToRight, fdRightToLeft, fdTopToBottom, fdBottomToTop };

class TBranGradient : public TPanel {
public:
    explicit TBranGradient(TControl* parent);

    TColor FromColor() const { return FFromColor; }
    void SetFromColor(TColor color);
    // The second colour of the gradient is the panel's Color.
    void SetColor(TColor color) override;
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor color);
    // The border's thickness (also the panel's border width); 0 draws none.
    void SetBorderWidth(int width) override;
    TFillDirection Direction() const { return FDirection; }
    void SetDirection(TFillDirection direction);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    // The colours of the bands, first band first (as many as there are bands).
    std::vector<COLORREF> BandColors() const;
    void PaintOn(HDC dc) { Paint(dc); }

protected:
    void Paint(HDC dc) override;
    void Resized() override;

private:
    RECT InnerArea() const;
    bool Horizontal() const;
    void Discard();
    void Rebuild(int width, int height);

    TColor FFromColor = clRed;
    TColor FBorderColor = clBtnShadow;
    TFillDirection FDirection = TFillDirection::fdLeftToRight;
    bool FTransparent = false;
    // The painted gradient and its palette, rebuilt after any change that alters them.
    std::unique_ptr<TOffscreenBitmap> FBitmap;
    TPaletteHandle FPalette;
};
