#include "platform/gui/Panel.h"

#include "core/StrConv.h"

void DrawFrame3D(HDC dc, RECT& rect, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width; ++i) {
        FillSolidRect(dc, {rect.left, rect.top, rect.right, rect.top + 1}, topLeft);
        FillSolidRect(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, topLeft);
        FillSolidRect(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
        FillSolidRect(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
        InflateRect(&rect, -1, -1);
    }
}

namespace {
void DrawCut(HDC dc, RECT& rect, TBevelCut cut, int width) {
    if (cut == TBevelCut::bvNone) return;
    bool raised = cut == TBevelCut::bvRaised;
    DrawFrame3D(dc, rect, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, width);
}
}  // namespace

TPanel::TPanel(TControl* parent) : TControl(parent) {
    CreateOwnWindow(WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

void TPanel::SetBevelOuter(TBevelCut cut) {
    FBevelOuter = cut;
    Invalidate();
    Realign();
}

void TPanel::SetBevelInner(TBevelCut cut) {
    FBevelInner = cut;
    Invalidate();
    Realign();
}

void TPanel::SetBevelWidth(int width) {
    FBevelWidth = width;
    Invalidate();
    Realign();
}

void TPanel::SetBorderWidth(int width) {
    FBorderWidth = width;
    Invalidate();
    Realign();
}

RECT TPanel::InnerRect() const {
    RECT r = ClientRect();
    int inset = FBorderWidth + (FBevelOuter != TBevelCut::bvNone ? FBevelWidth : 0) +
                (FBevelInner != TBevelCut::bvNone ? FBevelWidth : 0);
    InflateRect(&r, -inset, -inset);
    return r;
}

RECT TPanel::AlignRect() const { return InnerRect(); }

void TPanel::Paint(HDC dc) {
    RECT r = ClientRect();
    FillSolidRect(dc, r, Color());
    DrawCut(dc, r, FBevelOuter, FBevelWidth);
    InflateRect(&r, -FBorderWidth, -FBorderWidth);
    DrawCut(dc, r, FBevelInner, FBevelWidth);
    std::wstring caption = Widen(Caption());
    if (caption.empty()) return;
    TSelectObject font(dc, SharedFont(Font()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font().Color : clGrayText));
    UINT align = Alignment == TAlignment::taCenter ? DT_CENTER : Alignment == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawTextW(dc, caption.c_str(), -1, &r, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}
