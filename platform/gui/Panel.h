#pragma once
// Panel: a container with bevels and an optional centred caption.
#include "platform/gui/Control.h"

enum class TBevelCut { bvNone, bvLowered, bvRaised };

class TPanel : public TControl {
public:
    explicit TPanel(TControl* parent);

    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut cut);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut cut);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return FBorderWidth; }
    virtual void SetBorderWidth(int width);
    TAlignment Alignment = TAlignment::taCenter;

    RECT AlignRect() const override;

protected:
    void Paint(HDC dc) override;
    // The client area inside the bevels.
    RECT InnerRect() const;

private:
    TBevelCut FBevelOuter = TBevelCut::bvRaised;
    TBevelCut FBevelInner = TBevelCut::bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
};

// Draws a 3D frame of the given width inside rect and shrinks rect by it.
void DrawFrame3D(HDC dc, RECT& rect, TColor topLeft, TColor bottomRight, int width);
