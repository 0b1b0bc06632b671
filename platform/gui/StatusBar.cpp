#include "platform/gui/StatusBar.h"

#include <commctrl.h>

#include "core/StrConv.h"

TStatusBar::TStatusBar(TControl* parent) : TControl(parent) {
    CreateStockWindow(STATUSCLASSNAMEW, WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY);
    SetBounds(0, 0, 100, 0);
    SetAlign(TAlign::alBottom);
}

int TStatusBar::LineHeight() const {
    TWindowDC dc(Handle());
    TSelectObject font(dc.Get(), SharedFont(Font()));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    return metrics.tmHeight;
}

void TStatusBar::SetBounds(int left, int top, int width, int) {
    // The font is in the screen's pixels already: a height scaled with the form's design would count
    // the density twice.
    TControl::SetBounds(left, top, width, LineHeight() + ScaleToScreen(6));
}

void TStatusBar::FontChanged() {
    SetBounds(Left(), Top(), Width(), 0);
    if (Parent()) Parent()->Realign();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    FSimpleText = text;
    SendMessageW(Handle(), SB_SIMPLE, TRUE, 0);
    SendMessageW(Handle(), SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void TStatusBar::SetPanels(const std::vector<int>& widths) {
    std::vector<int> edges;
    int x = 0;
    for (int w : widths) {
        x = w < 0 ? -1 : x + w;
        edges.push_back(x);
    }
    SendMessageW(Handle(), SB_SIMPLE, FALSE, 0);
    SendMessageW(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void TStatusBar::SetPanelText(int panel, const std::string& text) {
    SendMessageW(Handle(), SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

std::string TStatusBar::PanelText(int panel) const {
    LRESULT length = LOWORD(SendMessageW(Handle(), SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(Handle(), SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

void TStatusBar::Resized() { InvalidateRect(Handle(), nullptr, TRUE); }
