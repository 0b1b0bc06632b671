#include "platform/gui/GroupBox.h"

TGroupBox::TGroupBox(TControl* parent, const std::string& caption) : TControl(parent) {
    CreateStockWindow(L"BUTTON", BS_GROUPBOX | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    if (!caption.empty()) SetCaption(caption);
}

LRESULT TGroupBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_ERASEBKGND) {
        FillSolidRect(reinterpret_cast<HDC>(wParam), ClientRect(), Color());
        return 1;
    }
    return TControl::WndProc(msg, wParam, lParam);
}
