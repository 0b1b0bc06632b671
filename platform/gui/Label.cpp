#include "platform/gui/Label.h"

#include "core/StrConv.h"

wchar_t AcceleratorOf(const std::string& caption) {
    std::wstring text = Widen(caption);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(text[i + 1])))));
    }
    return 0;
}

std::string StripAccelerator(const std::string& caption) {
    std::string result;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') result += '&', ++i;
            continue;
        }
        result += caption[i];
    }
    return result;
}

TLabel::TLabel(TControl* parent, const std::string& caption) : TControl(parent) {
    CreateOwnWindow(WS_VISIBLE);
    if (!caption.empty()) SetCaption(caption);
}

void TLabel::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustSize();
}

void TLabel::SetWordWrap(bool value) {
    FWordWrap = value;
    AdjustSize();
    Invalidate();
}

void TLabel::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    AdjustSize();
}

void TLabel::FontChanged() { AdjustSize(); }

void TLabel::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    AdjustSize();
}

UINT TLabel::TextFlags() const {
    UINT flags = FWordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (!ShowAccelChar) flags |= DT_NOPREFIX;
    if (Alignment == TAlignment::taCenter) flags |= DT_CENTER;
    if (Alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    return flags | DT_EXPANDTABS;
}

void TLabel::AdjustSize() {
    if (!FAutoSize || !Handle()) return;
    TWindowDC screen(Handle());
    TSelectObject font(screen.Get(), SharedFont(Font()));
    std::wstring text = Widen(Caption());
    if (text.empty()) text = L" ";
    RECT r{0, 0, FWordWrap ? Width() : 0, 0};
    DrawTextW(screen.Get(), text.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
    SetWindowPos(Handle(), nullptr, 0, 0, FWordWrap ? Width() : r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::Paint(HDC dc) {
    if (Transparent)
        PaintParentBackground(dc);
    else
        FillSolidRect(dc, ClientRect(), Color());
    std::wstring text = Widen(Caption());
    TSelectObject font(dc, SharedFont(Font()));
    SetBkMode(dc, TRANSPARENT);
    RECT r = ClientRect();
    UINT flags = TextFlags();
    if (Layout != TTextLayout::tlTop) {
        RECT measure = r;
        DrawTextW(dc, text.c_str(), -1, &measure, flags | DT_CALCRECT);
        int spare = (r.bottom - r.top) - (measure.bottom - measure.top);
        r.top += Layout == TTextLayout::tlCenter ? spare / 2 : spare;
    }
    if (!Enabled()) {
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        OffsetRect(&r, 1, 1);
        DrawTextW(dc, text.c_str(), -1, &r, flags);
        OffsetRect(&r, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(dc, ColorToRGB(Font().Color));
    }
    DrawTextW(dc, text.c_str(), -1, &r, flags);
}

bool TLabel::HandleAccelerator(wchar_t ch) {
    if (!ShowAccelChar || !FocusControl || !FocusControl->CanFocus()) return false;
    wchar_t accel = AcceleratorOf(Caption());
    wchar_t upper = static_cast<wchar_t>(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(ch)))));
    if (accel == 0 || accel != upper) return false;
    FocusControl->SetFocus();
    return true;
}
