#include "platform/gui/MouseClick.h"

#include <windowsx.h>

#include "platform/gui/Control.h"

void TrackMouseClick(TControl& control, UINT msg, LPARAM lParam) {
    const HWND handle = control.Handle();
    if (msg == WM_LBUTTONDOWN && control.OnClick) SetCapture(handle);
    if (msg != WM_LBUTTONUP || GetCapture() != handle) return;
    ReleaseCapture();
    // Released elsewhere is the user changing their mind.
    RECT client;
    GetClientRect(handle, &client);
    if (PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) control.Click();
}
