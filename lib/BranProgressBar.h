#pragma once
// A segmented progress bar: a row of small blocks, the completed ones in one colour and the rest in
// another.
#include "core/Exceptions.h"
#include "platform/gui/Control.h"

class EBranProgressBar : public EBrantel {
public:
    using EBrantel::EBrantel;
};

class TBranProgressBar : public TControl {
public:
    explicit TBranProgressBar(TControl* parent);

    int BarWidth() const { return FBarWidth; }
    void SetBarWidth(int value);
    int SeperatorWidth() const { return FSeperatorWidth; }
    void SetSeperatorWidth(int value);
    int Min() const { return FMin; }
    // Min above Max (or Max below Min) raises EBranProgressBar; the position follows into range.
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Step = 10;
    int Position() const { return FPosition; }
    // Clamped into [Min, Max]; fires OnPositionChange when the position changed.
    void SetPosition(int value);
    void StepIt() { SetPosition(FPosition + Step); }
    TColor ColorComplete() const { return FColorComplete; }
    void SetColorComplete(TColor color);
    TColor ColorUncomplete() const { return FColorUncomplete; }
    void SetColorUncomplete(TColor color);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);

    TNotifyEvent OnPositionChange;

    // The number of segments that fit the width, and how many of them are completed.
    int SegmentCount() const;
    int CompletedCount() const;
    // Paints the bar into any DC at the origin (what the screen shows).
    void PaintOn(HDC dc) { Paint(dc); }

protected:
    void Paint(HDC dc) override;

private:
    int FBarWidth = 3;
    int FSeperatorWidth = 1;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    TColor FColorComplete = clActiveCaption;
    TColor FColorUncomplete = clCaptionText;
    bool FTransparent = false;
};
