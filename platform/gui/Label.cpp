#include "platform/gui/Label.h"

#include <algorithm>

#include "core/StrConv.h"

namespace {
// The end of the word that starts at or after `from` (blanks before it are skipped).
size_t WordEnd(const std::wstring& text, size_t from) {
    const size_t start = text.find_first_not_of(L' ', from);
    if (start == std::wstring::npos) return text.size();
    const size_t end = text.find(L' ', start);
    return end == std::wstring::npos ? text.size() : end;
}

int LineWidth(HDC dc, const std::wstring& line, UINT flags) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &r, (flags & ~DT_WORDBREAK) | DT_SINGLELINE | DT_CALCRECT);
    return r.right;
}
}  // namespace

std::vector<std::wstring> WrapText(HDC dc, const std::wstring& text, int width, UINT flags) {
    std::vector<std::wstring> lines;
    size_t paragraphStart = 0;
    while (paragraphStart <= text.size()) {
        size_t paragraphEnd = text.find(L'\n', paragraphStart);
        if (paragraphEnd == std::wstring::npos) paragraphEnd = text.size();
        std::wstring paragraph = text.substr(paragraphStart, paragraphEnd - paragraphStart);
        if (!paragraph.empty() && paragraph.back() == L'\r') paragraph.pop_back();
        size_t start = 0;
        do {
            // Words while they fit; the first word of a line goes on it whatever its width.
            size_t end = WordEnd(paragraph, start);
            while (end < paragraph.size()) {
                const size_t next = WordEnd(paragraph, end);
                if (LineWidth(dc, paragraph.substr(start, next - start), flags) > width) break;
                end = next;
            }
            lines.push_back(paragraph.substr(start, end - start));
            start = paragraph.find_first_not_of(L' ', end);
        } while (start != std::wstring::npos);
        paragraphStart = paragraphEnd + 1;
    }
    return lines;
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
    UINT flags = DT_SINGLELINE | DT_EXPANDTABS;
    if (!ShowAccelChar) flags |= DT_NOPREFIX;
    if (Alignment == TAlignment::taCenter) flags |= DT_CENTER;
    if (Alignment == TAlignment::taRightJustify) flags |= DT_RIGHT;
    return flags;
}

std::vector<std::wstring> TLabel::TextLines(HDC dc) const {
    const std::wstring text = Widen(Caption());
    return FWordWrap ? WrapText(dc, text, ClientWidth(), TextFlags()) : std::vector<std::wstring>{text};
}

int TLabel::LineHeight(HDC dc) const {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, L" ", 1, &r, DT_SINGLELINE | DT_CALCRECT);
    return r.bottom;
}

SIZE TLabel::TextExtent() const {
    TWindowDC screen(Handle());
    TSelectObject font(screen.Get(), SharedFont(Font()));
    const std::vector<std::wstring> lines = TextLines(screen.Get());
    SIZE size{0, static_cast<LONG>(lines.size()) * LineHeight(screen.Get())};
    for (const std::wstring& line : lines) size.cx = std::max<LONG>(size.cx, LineWidth(screen.Get(), line, TextFlags()));
    return size;
}

void TLabel::AdjustSize() {
    if (!FAutoSize || !Handle()) return;
    const SIZE text = TextExtent();
    SetWindowPos(Handle(), nullptr, 0, 0, FWordWrap ? Width() : std::max<LONG>(text.cx, 1), text.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TLabel::IsPushButton() const { return TabStop() && OnClick; }

LRESULT TLabel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            Invalidate();  // the focus rectangle
            break;
        case WM_CHAR:
            if (wParam == L' ' && IsPushButton()) {
                Click();
                return 0;
            }
            break;
        default:
            break;
    }
    return TControl::WndProc(msg, wParam, lParam);
}

void TLabel::Paint(HDC dc) {
    if (Transparent)
        PaintParentBackground(dc);
    else
        FillSolidRect(dc, ClientRect(), Color());
    TSelectObject font(dc, SharedFont(Font()));
    SetBkMode(dc, TRANSPARENT);
    const RECT client = ClientRect();
    const std::vector<std::wstring> lines = TextLines(dc);
    const int lineHeight = LineHeight(dc);
    int top = 0;
    if (Layout != TTextLayout::tlTop) {
        const int spare = client.bottom - static_cast<int>(lines.size()) * lineHeight;
        top = Layout == TTextLayout::tlCenter ? spare / 2 : spare;
    }
    const UINT flags = TextFlags();
    auto drawLines = [&](int dx, int dy) {
        for (size_t i = 0; i < lines.size(); ++i) {
            RECT r{client.left + dx, top + dy + static_cast<int>(i) * lineHeight, client.right + dx,
                   top + dy + static_cast<int>(i + 1) * lineHeight};
            DrawTextW(dc, lines[i].c_str(), static_cast<int>(lines[i].size()), &r, flags);
        }
    };
    if (!Enabled()) {
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        drawLines(1, 1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(dc, ColorToRGB(Font().Color));
    }
    drawLines(0, 0);
    if (Focused()) DrawFocusRect(dc, &client);
}

wchar_t TLabel::AccelChar() const { return ShowAccelChar ? AcceleratorOf(Caption()) : 0; }

void TLabel::AcceleratorPressed(bool) {
    if (FocusControl) FocusControl->FocusFromKeyboard();
}
