#include "platform/gui/Timer.h"

#include <map>

namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}
}  // namespace

TTimer::TTimer(unsigned interval, bool enabled) : FInterval(interval), FEnabled(enabled) { Update(); }

TTimer::~TTimer() {
    FEnabled = false;
    Update();
}

void TTimer::SetInterval(unsigned interval) {
    FInterval = interval;
    Update();
}

void TTimer::SetEnabled(bool enabled) {
    FEnabled = enabled;
    Update();
}

void TTimer::Update() {
    if (FId) {
        KillTimer(nullptr, FId);
        Timers().erase(FId);
        FId = 0;
    }
    // OnTimer may be assigned after construction: it is looked up when the timer fires.
    if (FEnabled && FInterval > 0) {
        FId = SetTimer(nullptr, 0, FInterval, TimerProc);
        if (FId) Timers()[FId] = this;
    }
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Timers().find(id);
    if (it == Timers().end()) return;
    TTimer* timer = it->second;
    ReportExceptions([timer] {
        if (timer->OnTimer) timer->OnTimer(timer);
    });
}
