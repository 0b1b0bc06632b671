#pragma once
// Shape: a rectangle outline with a solid or clear fill.
#include "platform/gui/Control.h"

enum class TBrushStyle { bsSolid, bsClear };

class TShape : public TControl {
public:
    explicit TShape(TControl* parent);
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = TBrushStyle::bsSolid;
    TColor PenColor = clBlack;
    int PenWidth = 1;

protected:
    void Paint(HDC dc) override;
};
