#include "lib/BranGradient.h"

#include <algorithm>
#include <cmath>

#include "core/StrConv.h"

TBranGradient::TBranGradient(TControl* parent) : TPanel(parent) {
    SetBevelOuter(TBevelCut::bvNone);
    SetBorderWidth(1);
    SetColor(clBtnFace);
    SetBounds(0, 0, 65, 65);
}

void TBranGradient::Discard() {
    FBitmap.reset();
    FPalette.Reset();
    Invalidate();
}

void TBranGradient::SetFromColor(TColor color) {
    FFromColor = color;
    Discard();
}

void TBranGradient::SetColor(TColor color) {
    TPanel::SetColor(color);
    Discard();
}

void TBranGradient::SetBorderColor(TColor color) {
    FBorderColor = color;
    Discard();
}

void TBranGradient::SetBorderWidth(int width) {
    TPanel::SetBorderWidth(std::max(0, width));
    Discard();
}

void TBranGradient::SetDirection(TFillDirection direction) {
    FDirection = direction;
    Discard();
}

void TBranGradient::SetTransparent(bool value) {
    FTransparent = value;
    Discard();
}

void TBranGradient::Resized() {
    Discard();
    TPanel::Resized();
}

bool TBranGradient::Horizontal() const {
    return FDirection == TFillDirection::fdLeftToRight || FDirection == TFillDirection::fdRightToLeft;
}

RECT TBranGradient::InnerArea() const {
    RECT r = ClientRect();
    int b = BorderWidth();
    RECT inner{std::min<LONG>(b, r.right), std::min<LONG>(b, r.bottom), std::max<LONG>(r.right - b, 0),
               std::max<LONG>(r.bottom - b, 0)};
    if (inner.right < inner.left) inner.right = inner.left;
    if (inner.bottom < inner.top) inner.bottom = inner.top;
    return inner;
}

std::vector<COLORREF> TBranGradient::BandColors() const {
    RECT inner = InnerArea();
    int length = Horizontal() ? inner.right - inner.left : inner.bottom - inner.top;
    int bands = std::min(length, 64);
    bool forward = FDirection == TFillDirection::fdLeftToRight || FDirection == TFillDirection::fdTopToBottom;
    COLORREF start = ColorToRGB(forward ? FFromColor : Color());
    COLORREF end = ColorToRGB(forward ? Color() : FFromColor);
    std::vector<COLORREF> colors;
    if (bands <= 0) return colors;
    if (bands == 1) return {start};
    auto channel = [&](int shift, int i) {
        double from = (start >> shift) & 0xFF, to = (end >> shift) & 0xFF;
        double step = (to - from) / (bands - 1);
        return std::clamp(static_cast<int>(from + std::lround((i - 1) * step)), 0, 255);
    };
    for (int i = 1; i <= bands; ++i) colors.push_back(RGB(channel(0, i), channel(8, i), channel(16, i)));
    return colors;
}

void TBranGradient::Rebuild(int width, int height) {
    FBitmap = std::make_unique<TOffscreenBitmap>(width, height);
    HDC dc = FBitmap->DC();
    std::vector<COLORREF> colors = BandColors();
    if (!colors.empty()) {
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
        auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
        palette->palVersion = 0x300;
        palette->palNumEntries = static_cast<WORD>(colors.size());
        for (size_t i = 0; i < colors.size(); ++i)
            palette->palPalEntry[i] = {GetRValue(colors[i]), GetGValue(colors[i]), GetBValue(colors[i]), 0};
        FPalette.Reset(CreatePalette(palette));
    }
    RECT r{0, 0, width, height};
    int b = BorderWidth();
    if (FTransparent)
        PaintParentBackground(dc);
    else
        FillSolidRect(dc, r, Color());
    if (b > 0) {
        FillSolidRect(dc, {0, 0, width, std::min(b, height)}, FBorderColor);
        FillSolidRect(dc, {0, 0, std::min(b, width), height}, FBorderColor);
        FillSolidRect(dc, {0, std::max(height - b, 0), width, height}, FBorderColor);
        FillSolidRect(dc, {std::max(width - b, 0), 0, width, height}, FBorderColor);
    }
    if (FTransparent || colors.empty()) return;
    RECT inner = InnerArea();
    int length = Horizontal() ? inner.right - inner.left : inner.bottom - inner.top;
    int n = static_cast<int>(colors.size());
    for (int i = 0; i < n; ++i) {
        int from = static_cast<int>(std::lround(static_cast<double>(i) * length / n));
        int to = i == n - 1 ? length : static_cast<int>(std::lround(static_cast<double>(i + 1) * length / n));
        RECT band = Horizontal() ? RECT{inner.left + from, inner.top, inner.left + to, inner.bottom}
                                 : RECT{inner.left, inner.top + from, inner.right, inner.top + to};
        TBrushHandle brush(CreateSolidBrush(PALETTERGB(GetRValue(colors[static_cast<size_t>(i)]),
                                                       GetGValue(colors[static_cast<size_t>(i)]),
                                                       GetBValue(colors[static_cast<size_t>(i)]))));
        FillRect(dc, &band, brush.Get());
    }
}

void TBranGradient::Paint(HDC dc) {
    RECT client = ClientRect();
    if (!FBitmap || FBitmap->Width() != std::max<LONG>(client.right, 1) || FBitmap->Height() != std::max<LONG>(client.bottom, 1))
        Rebuild(client.right, client.bottom);
    if (FPalette) {
        TSelectPalette palette(dc, FPalette.Get());
        BitBlt(dc, 0, 0, client.right, client.bottom, FBitmap->DC(), 0, 0, SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, client.right, client.bottom, FBitmap->DC(), 0, 0, SRCCOPY);
    }
    std::wstring caption = Widen(Caption());
    if (caption.empty()) return;
    RECT text = InnerArea();
    TSelectObject font(dc, SharedFont(Font()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font().Color));
    UINT align = Alignment == TAlignment::taCenter ? DT_CENTER : Alignment == TAlignment::taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawTextW(dc, caption.c_str(), -1, &text, align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}
