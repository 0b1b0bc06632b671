#include "lib/BranProgressBar.h"

#include <algorithm>

#include "core/Format.h"

namespace {
[[noreturn]] void OutOfRange() { throw EBranProgressBar(Format("%s property out of range", {"TBranProgressBar"})); }
}  // namespace

TBranProgressBar::TBranProgressBar(TControl* parent) : TControl(parent) {
    CreateOwnWindow(WS_VISIBLE);
    SetBounds(0, 0, 79, 14);
}

void TBranProgressBar::SetBarWidth(int value) {
    FBarWidth = std::max(1, value);
    Invalidate();
}

void TBranProgressBar::SetSeperatorWidth(int value) {
    FSeperatorWidth = std::max(0, value);
    Invalidate();
}

void TBranProgressBar::SetMin(int value) {
    if (value > FMax) OutOfRange();
    FMin = value;
    if (FPosition < FMin) SetPosition(FMin);
    Invalidate();
}

void TBranProgressBar::SetMax(int value) {
    if (value < FMin) OutOfRange();
    FMax = value;
    if (FPosition > FMax) SetPosition(FMax);
    Invalidate();
}

void TBranProgressBar::SetPosition(int value) {
    value = std::clamp(value, FMin, FMax);
    bool changed = value != FPosition;
    FPosition = value;
    Invalidate();
    if (changed && OnPositionChange) OnPositionChange(this);
}

void TBranProgressBar::SetColorComplete(TColor color) {
    FColorComplete = color;
    Invalidate();
}

void TBranProgressBar::SetColorUncomplete(TColor color) {
    FColorUncomplete = color;
    Invalidate();
}

void TBranProgressBar::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

int TBranProgressBar::SegmentCount() const {
    int pitch = FBarWidth + FSeperatorWidth;
    int width = ClientWidth();
    return width / pitch + (width % pitch >= FBarWidth ? 1 : 0);
}

int TBranProgressBar::CompletedCount() const {
    if (FMax == FMin) return 0;
    return static_cast<int>(static_cast<long long>(FPosition - FMin) * SegmentCount() / (FMax - FMin));
}

void TBranProgressBar::Paint(HDC dc) {
    RECT client = ClientRect();
    if (FTransparent)
        PaintParentBackground(dc);
    else
        FillSolidRect(dc, client, Color());
    int segments = SegmentCount(), completed = CompletedCount();
    int pitch = FBarWidth + FSeperatorWidth;
    for (int k = 0; k < segments; ++k) {
        RECT bar{k * pitch, 0, k * pitch + FBarWidth, client.bottom};
        FillSolidRect(dc, bar, k < completed ? FColorComplete : FColorUncomplete);
    }
}
