#pragma once
// Helpers for driving forms in tests: keys go through the application's message handling exactly as
// typed keys would, modal forms are answered by a scripted hook.
#include <windows.h>

#include <functional>

#include "core/StrConv.h"
#include "platform/gui/Application.h"
#include "platform/gui/Form.h"

// Posts a key press (down, up) to the focused window and handles the queue; the message loop's
// translation makes the character, as for a typed key.
inline void PressKey(WORD key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    Application().ProcessMessages();
}

// Installs a modal hook for the lifetime of the object.
class TModalScript {
public:
    explicit TModalScript(TModalHook hook) { SetModalHook(std::move(hook)); }
    ~TModalScript() { SetModalHook({}); }
    TModalScript(const TModalScript&) = delete;
    TModalScript& operator=(const TModalScript&) = delete;
};

// The size of a control's caption in its font, as DrawText lays it out (width 0: one line).
inline SIZE CaptionExtent(const TControl& control, int width, UINT flags) {
    TWindowDC dc(control.Handle());
    TSelectObject font(dc.Get(), SharedFont(control.Font()));
    RECT r{0, 0, width, 0};
    DrawTextW(dc.Get(), Widen(control.Caption()).c_str(), -1, &r, flags | DT_CALCRECT | DT_EXPANDTABS);
    return {r.right, r.bottom};
}
