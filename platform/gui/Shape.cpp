#include "platform/gui/Shape.h"

TShape::TShape(TControl* parent) : TControl(parent) { CreateOwnWindow(WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT); }

void TShape::Paint(HDC dc) {
    RECT r = ClientRect();
    if (BrushStyle == TBrushStyle::bsClear)
        PaintParentBackground(dc);
    else
        FillSolidRect(dc, r, BrushColor);
    for (int i = 0; i < PenWidth && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
        FillSolidRect(dc, {r.left, r.top, r.right, r.top + 1}, PenColor);
        FillSolidRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, PenColor);
        FillSolidRect(dc, {r.left, r.top, r.left + 1, r.bottom}, PenColor);
        FillSolidRect(dc, {r.right - 1, r.top, r.right, r.bottom}, PenColor);
        InflateRect(&r, -1, -1);
    }
}
