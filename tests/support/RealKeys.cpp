#include "RealKeys.h"

#include <gtest/gtest.h>

#include "core/StrConv.h"
#include "platform/gui/Form.h"
#include "platform/gui/Timer.h"

namespace {
void Send(WORD key, wchar_t unicode, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = unicode;
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (unicode ? KEYEVENTF_UNICODE : 0);
    SendInput(1, &input, sizeof input);
}

const std::pair<TShiftFlag, WORD> kModifiers[] = {{ssCtrl, VK_CONTROL}, {ssAlt, VK_MENU}, {ssShift, VK_SHIFT}};

// Nothing typed or posted is waiting for the loop.
bool QueueIdle() { return HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)) == 0; }
}  // namespace

void TypeKey(WORD key, TShiftState shift) {
    for (auto [flag, modifier] : kModifiers)
        if (shift & flag) Send(modifier, 0, false);
    Send(key, 0, false);
    Send(key, 0, true);
    for (auto [flag, modifier] : kModifiers)
        if (shift & flag) Send(modifier, 0, true);
}

void TypeText(const std::string& text) {
    for (wchar_t ch : Widen(text)) {
        Send(0, ch, false);
        Send(0, ch, true);
    }
}

void TKeyScript::Add(TKeyStep step) {
    if (FRunning)
        FSteps.insert(FSteps.begin() + static_cast<std::ptrdiff_t>(FInsertAt++), std::move(step));
    else
        FSteps.push_back(std::move(step));
}

size_t TKeyScript::Run(TForm& form, DWORD timeoutMs) {
    FNext = 0;
    int idleTicks = 0;
    const DWORD start = GetTickCount();
    TTimer timer(25);
    timer.OnTimer = [&](TTimer* self) {
        if (GetTickCount() - start > timeoutMs) {
            ADD_FAILURE() << "the keys were not handled within " << timeoutMs << " ms (" << FNext << " of "
                          << FSteps.size() << " steps ran)";
            self->SetEnabled(false);
            form.SetModalResult(mrCancel);
            return;
        }
        // Twice idle in a row: what the last keys set off (posted characters, focus changes) is done.
        idleTicks = QueueIdle() ? idleTicks + 1 : 0;
        if (idleTicks < 2 || FRunning) return;
        idleTicks = 0;
        if (FNext == FSteps.size()) {
            self->SetEnabled(false);
            form.SetModalResult(mrCancel);
            return;
        }
        const TKeyStep step = FSteps[FNext++];  // a copy: the steps it adds move the others
        FInsertAt = FNext;
        FRunning = true;
        try {
            step();
        } catch (const std::exception& e) {
            ADD_FAILURE() << "step " << FNext << " failed: " << e.what();
        }
        FRunning = false;
    };
    form.ShowModal();
    return FNext;
}
