#pragma once
// Timer: fires OnTimer every Interval milliseconds while enabled (through the message loop).
#include "platform/gui/Control.h"

class TTimer {
public:
    explicit TTimer(unsigned interval = 1000, bool enabled = true);
    ~TTimer();
    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned interval);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

    std::function<void(TTimer* sender)> OnTimer;

private:
    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
    void Update();
    unsigned FInterval;
    bool FEnabled;
    UINT_PTR FId = 0;
};
