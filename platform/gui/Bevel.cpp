#include "platform/gui/Bevel.h"

#include "platform/gui/Panel.h"

TBevel::TBevel(TControl* parent, TBevelShape shape) : TControl(parent), FShape(shape) {
    CreateOwnWindow(WS_VISIBLE);
}

void TBevel::SetShape(TBevelShape shape) {
    FShape = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style) {
    FStyle = style;
    Invalidate();
}

void TBevel::Paint(HDC dc) {
    PaintParentBackground(dc);
    RECT r = ClientRect();
    TColor dark = FStyle == TBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
    TColor light = FStyle == TBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
    int w = r.right, h = r.bottom;
    switch (FShape) {
        case TBevelShape::bsBox:
            DrawFrame3D(dc, r, dark, light, 1);
            break;
        case TBevelShape::bsFrame: {
            RECT outer{0, 0, w - 1, h - 1};
            DrawFrame3D(dc, outer, dark, dark, 1);
            RECT inner{1, 1, w, h};
            DrawFrame3D(dc, inner, light, light, 1);
            break;
        }
        case TBevelShape::bsTopLine:
            FillSolidRect(dc, {0, 0, w, 1}, dark);
            FillSolidRect(dc, {0, 1, w, 2}, light);
            break;
        case TBevelShape::bsBottomLine:
            FillSolidRect(dc, {0, h - 2, w, h - 1}, dark);
            FillSolidRect(dc, {0, h - 1, w, h}, light);
            break;
        case TBevelShape::bsLeftLine:
            FillSolidRect(dc, {0, 0, 1, h}, dark);
            FillSolidRect(dc, {1, 0, 2, h}, light);
            break;
        case TBevelShape::bsRightLine:
            FillSolidRect(dc, {w - 2, 0, w - 1, h}, dark);
            FillSolidRect(dc, {w - 1, 0, w, h}, light);
            break;
        case TBevelShape::bsSpacer:
            break;
    }
}
