#include "platform/gui/Control.h"

#include <commctrl.h>

#include <algorithm>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/gui/Form.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Messages.h"

namespace {
const wchar_t* const kObjectProp = L"BranControl";
const wchar_t* const kOwnClass = L"BranControl";

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

// Child windows get distinct identifiers (dialog navigation and notifications carry them); menu
// commands use their own range from 1000 on.
HMENU NextChildId() {
    static UINT_PTR next = 20000;
    if (next > 60000) next = 20000;
    return reinterpret_cast<HMENU>(next++);
}

void RegisterOwnClass(WNDPROC proc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kOwnClass;
    wc.hIcon = LoadIconW(Instance(), MAKEINTRESOURCEW(1));
    RegisterClassExW(&wc);
    registered = true;
}
}  // namespace

void ReportExceptions(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(EBrantel("Onherkenbare exceptie"));
    }
}

wchar_t UpperChar(wchar_t ch) {
    return static_cast<wchar_t>(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(ch)))));
}

wchar_t AcceleratorOf(const std::string& caption) {
    std::wstring text = Widen(caption);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return UpperChar(text[i + 1]);
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

TShiftState KeyboardShiftState() {
    TShiftState state = 0;
    if (GetKeyState(VK_SHIFT) < 0) state |= ssShift;
    if (GetKeyState(VK_MENU) < 0) state |= ssAlt;
    if (GetKeyState(VK_CONTROL) < 0) state |= ssCtrl;
    return state;
}

TControl::TControl(TControl* parent) : FParent(parent) {
    if (FParent) FParent->FControls.push_back(this);
}

TControl::~TControl() {
    FDestroying = true;
    if (TForm* form = ParentForm(); form && form != AsForm()) form->ControlDestroyed(this);
    for (TControl* child : FControls) child->FParent = nullptr;
    if (FParent) std::erase(FParent->FControls, this);
    if (FHandle) {
        HWND window = FHandle;
        Detach();
        DestroyWindow(window);
    }
}

TControl* TControl::FromHandle(HWND window) {
    return window ? static_cast<TControl*>(GetPropW(window, kObjectProp)) : nullptr;
}

void TControl::Attach(HWND window) {
    FHandle = window;
    SetPropW(window, kObjectProp, this);
    if (FOwnWindow) SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TControl::Detach() {
    if (!FHandle) return;
    if (FOwnWindow)
        SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
    else
        RemoveWindowSubclass(FHandle, SubclassProc, 1);
    RemovePropW(FHandle, kObjectProp);
    FHandle = nullptr;
}

void TControl::CreateStockWindow(const wchar_t* className, DWORD style, DWORD exStyle) {
    FOwnWindow = false;
    HWND parent = FParent ? FParent->Handle() : nullptr;
    HWND window = CreateWindowExW(exStyle, className, L"", style | WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, parent,
                                  NextChildId(), Instance(), nullptr);
    if (!window) throw EBrantel("TControl", "CreateWindow", Narrow(className) + " could not be created");
    Attach(window);
    SetWindowSubclass(window, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
    InheritFromParent();
}

void TControl::CreateOwnWindow(DWORD style, DWORD exStyle, HWND parentOverride) {
    RegisterOwnClass(OwnWindowProc);
    FOwnWindow = true;
    HWND parent = parentOverride ? parentOverride : (FParent ? FParent->Handle() : nullptr);
    if (FParent) style |= WS_CHILD | WS_CLIPSIBLINGS;
    HWND window = CreateWindowExW(exStyle, kOwnClass, L"", style, 0, 0, 0, 0, parent, FParent ? NextChildId() : nullptr,
                                  Instance(), this);
    if (!window) throw EBrantel("TControl", "CreateWindow", "window could not be created");
    InheritFromParent();
}

void TControl::InheritFromParent() { ApplyFont(); }

LRESULT CALLBACK TControl::OwnWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->Attach(window);
    }
    auto* self = reinterpret_cast<TControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, msg, wParam, lParam);
    return self->SafeWndProc(msg, wParam, lParam);
}

LRESULT CALLBACK TControl::SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR data) {
    auto* self = reinterpret_cast<TControl*>(data);
    if (!self || self->FHandle != window) return DefSubclassProc(window, msg, wParam, lParam);
    return self->SafeWndProc(msg, wParam, lParam);
}

LRESULT TControl::SafeWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return WndProc(msg, wParam, lParam);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(EBrantel("Onherkenbare exceptie"));
    }
    return 0;
}

LRESULT TControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!FHandle) return 0;
    return FOwnWindow ? DefWindowProcW(FHandle, msg, wParam, lParam) : DefSubclassProc(FHandle, msg, wParam, lParam);
}

LRESULT TControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND:
            if (lParam) {
                TControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
                if (child && child != this && child->Command(HIWORD(wParam))) return 0;
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            TControl* child = FromHandle(header->hwndFrom);
            LRESULT result = 0;
            if (child && child != this && child->Notify(header, result)) return result;
            break;
        }
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            TControl* child = item->CtlType != ODT_MENU ? FromHandle(item->hwndItem) : nullptr;
            if (child && child->DrawItem(*item)) return TRUE;
            break;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX: {
            TControl* child = FromHandle(reinterpret_cast<HWND>(lParam));
            if (child && child != this) {
                if (HBRUSH brush = child->CtlColor(reinterpret_cast<HDC>(wParam)))
                    return reinterpret_cast<LRESULT>(brush);
            }
            break;
        }
        case WM_SETCURSOR:
            if (ScreenCursor()) {
                SetCursor(ScreenCursor());
                return TRUE;
            }
            if (Cursor && reinterpret_cast<HWND>(wParam) == FHandle && LOWORD(lParam) == HTCLIENT) {
                SetCursor(Cursor);
                return TRUE;
            }
            break;
        case WM_SETFOCUS: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            DoEnter();
            return r;
        }
        case WM_KILLFOCUS: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            DoExit();
            return r;
        }
        case WM_KEYDOWN:
            if (OnKeyDown) {
                WORD key = static_cast<WORD>(wParam);
                OnKeyDown(this, key, KeyboardShiftState());
                if (key == 0) return 0;
                wParam = key;
            }
            break;
        case WM_CHAR:
            if (OnKeyPress) {
                wchar_t key = static_cast<wchar_t>(wParam);
                OnKeyPress(this, key);
                if (key == 0) return 0;
                wParam = key;
            }
            break;
        case WM_SIZE: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            Resized();
            return r;
        }
        case WM_NCDESTROY: {
            LRESULT r = DefaultHandler(msg, wParam, lParam);
            Detach();
            return r;
        }
        default:
            break;
    }
    if (FOwnWindow) {
        switch (msg) {
            case WM_ERASEBKGND:
                return 1;
            case WM_PAINT: {
                TPaintDC paint(FHandle);
                RECT r = ClientRect();
                // Painted off screen first, so drawn controls do not flicker.
                TOffscreenBitmap buffer(r.right, r.bottom);
                Paint(buffer.DC());
                BitBlt(paint.Get(), 0, 0, r.right, r.bottom, buffer.DC(), 0, 0, SRCCOPY);
                return 0;
            }
            case WM_PRINTCLIENT:
                Paint(reinterpret_cast<HDC>(wParam));
                return 0;
            // Windows gives a window the program draws itself no click of its own: the left button
            // pressed over it and released over it is one, as for a button.
            case WM_LBUTTONDOWN:
                if (OnClick) SetCapture(FHandle);
                break;
            case WM_LBUTTONUP:
                if (OnClick && GetCapture() == FHandle) {
                    ReleaseCapture();
                    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                    const RECT client = ClientRect();
                    if (PtInRect(&client, at)) Click();  // released elsewhere: the user changed their mind
                }
                break;
            case WM_LBUTTONDBLCLK:
                if (OnDblClick) OnDblClick(this);
                break;
            default:
                break;
        }
    }
    return DefaultHandler(msg, wParam, lParam);
}

void TControl::Paint(HDC dc) { FillSolidRect(dc, ClientRect(), Color()); }

void TControl::PaintParentBackground(HDC dc) {
    if (!FParent || !FParent->Handle()) {
        FillSolidRect(dc, ClientRect(), Color());
        return;
    }
    POINT origin{0, 0};
    MapWindowPoints(FHandle, FParent->Handle(), &origin, 1);
    POINT old;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old);
    if (FParent->FOwnWindow)
        FParent->Paint(dc);
    else
        FillSolidRect(dc, FParent->ClientRect(), FParent->Color());
    SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

HBRUSH TControl::CtlColor(HDC dc) {
    SetTextColor(dc, ColorToRGB(Font().Color));
    SetBkColor(dc, ColorToRGB(Color()));
    return SharedBrush(Color());
}

void TControl::DoEnter() {
    if (TForm* form = ParentForm()) form->ControlFocused(this);
    if (OnEnter) OnEnter(this);
}

void TControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TControl::Resized() { Realign(); }

void TControl::Click() {
    if (OnClick) OnClick(this);
}

wchar_t TControl::AccelChar() const {
    const LRESULT code = SendMessageW(FHandle, WM_GETDLGCODE, 0, 0);
    return code & DLGC_BUTTON ? AcceleratorOf(Caption()) : 0;
}

void TControl::AcceleratorPressed(bool only) {
    SetFocus();
    // As the user's click: a check box toggles, a radio button is chosen, a push button acts.
    if (only && Focused()) SendMessageW(FHandle, BM_CLICK, 0, 0);
}

TForm* TControl::ParentForm() {
    TControl* c = this;
    while (c->FParent) c = c->FParent;
    return c->AsForm();
}

bool TControl::IsChildOf(const TControl* ancestor) const {
    for (const TControl* c = FParent; c; c = c->FParent)
        if (c == ancestor) return true;
    return false;
}

int TControl::Left() const {
    RECT r;
    GetWindowRect(FHandle, &r);
    if (HWND parent = GetParent(FHandle); parent && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
}

int TControl::Top() const {
    RECT r;
    GetWindowRect(FHandle, &r);
    if (HWND parent = GetParent(FHandle); parent && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r.top;
}

int TControl::Width() const {
    RECT r;
    GetWindowRect(FHandle, &r);
    return r.right - r.left;
}

int TControl::Height() const {
    RECT r;
    GetWindowRect(FHandle, &r);
    return r.bottom - r.top;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TControl::ClientRect() const {
    RECT r{0, 0, 0, 0};
    GetClientRect(FHandle, &r);
    return r;
}

int TControl::ClientWidth() const { return ClientRect().right; }
int TControl::ClientHeight() const { return ClientRect().bottom; }

void TControl::ScaleBy(int m, int d) {
    for (TControl* child : FControls) {
        child->SetBounds(MulDiv(child->Left(), m, d), MulDiv(child->Top(), m, d), MulDiv(child->Width(), m, d),
                         MulDiv(child->Height(), m, d));
        child->ScaleBy(m, d);
    }
}

void TControl::SetAlign(TAlign align) {
    FAlign = align;
    if (FParent) FParent->Realign();
}

void TControl::ModifyStyle(DWORD add, DWORD remove) {
    DWORD style = static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE));
    SetWindowLongW(FHandle, GWL_STYLE, static_cast<LONG>((style & ~remove) | add));
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(FHandle, nullptr, TRUE);
    Resized();
}

void TControl::Realign() {
    RECT r = AlignRect();
    auto visibleAligned = [&](TAlign a) {
        std::vector<TControl*> result;
        for (TControl* c : FControls)
            if (c->FAlign == a && c->Visible()) result.push_back(c);
        return result;
    };
    for (TControl* c : visibleAligned(TAlign::alTop)) {
        c->SetBounds(r.left, r.top, r.right - r.left, c->Height());
        r.top += c->Height();
    }
    for (TControl* c : visibleAligned(TAlign::alBottom)) {
        r.bottom -= c->Height();
        c->SetBounds(r.left, r.bottom, r.right - r.left, c->Height());
    }
    for (TControl* c : visibleAligned(TAlign::alLeft)) {
        c->SetBounds(r.left, r.top, c->Width(), r.bottom - r.top);
        r.left += c->Width();
    }
    for (TControl* c : visibleAligned(TAlign::alRight)) {
        r.right -= c->Width();
        c->SetBounds(r.right, r.top, c->Width(), r.bottom - r.top);
    }
    for (TControl* c : visibleAligned(TAlign::alClient)) c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool TControl::Visible() const { return (GetWindowLongW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0; }

void TControl::SetVisible(bool visible) {
    if (visible == Visible()) return;
    ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
    if (FParent && FAlign != TAlign::alNone) FParent->Realign();
}

bool TControl::Enabled() const { return IsWindowEnabled(FHandle) != FALSE; }

void TControl::SetEnabled(bool enabled) {
    EnableWindow(FHandle, enabled);
    if (FOwnWindow) Invalidate();
}

bool TControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

std::string TControl::Caption() const {
    int length = GetWindowTextLengthW(FHandle);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(FHandle, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

void TControl::SetCaption(const std::string& caption) {
    SetWindowTextW(FHandle, Widen(caption).c_str());
    if (FOwnWindow) Invalidate();
}

TColor TControl::Color() const { return FParentColor && FParent ? FParent->Color() : FColor; }

void TControl::SetColor(TColor color) {
    FColor = color;
    FParentColor = false;
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

const TFont& TControl::Font() const { return FParentFont && FParent ? FParent->Font() : FFont; }

void TControl::SetFont(const TFont& font) {
    FFont = font;
    FParentFont = false;
    ApplyFont();
}

void TControl::SetFontWith(const std::function<void(TFont&)>& change) {
    TFont font = Font();
    change(font);
    SetFont(font);
}

void TControl::ApplyFont() {
    if (!FHandle) return;
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(SharedFont(Font())), TRUE);
    FontChanged();
    for (TControl* child : FControls)
        if (child->FParentFont) child->ApplyFont();
    Invalidate();
}

int TControl::EffectiveHelpContext() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (c->HelpContext != 0) return c->HelpContext;
    return 0;
}

bool TControl::TabStop() const { return (GetWindowLongW(FHandle, GWL_STYLE) & WS_TABSTOP) != 0; }

void TControl::SetTabStop(bool value) {
    LONG style = GetWindowLongW(FHandle, GWL_STYLE);
    SetWindowLongW(FHandle, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
}

void TControl::SetFocus() {
    // A form that is not shown yet remembers the control and focuses it when it shows.
    if (TForm* form = ParentForm(); form && form != this && !form->Visible()) {
        form->SetActiveControl(this);
        return;
    }
    ::SetFocus(FHandle);
}

bool TControl::Focused() const {
    HWND focus = GetFocus();
    return focus && (focus == FHandle || IsChild(FHandle, focus));
}

void TControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, FALSE);
}

void TControl::Repaint() {
    if (!FHandle) return;
    InvalidateRect(FHandle, nullptr, FALSE);
    UpdateWindow(FHandle);
}

void TControl::BringToFront() { SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE); }

void TControl::SetHint(const std::string& hint) {
    TForm* form = ParentForm();
    if (!form || !Handle()) return;
    HWND tip = form->ToolTip();
    std::wstring text = Widen(hint);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = form->Handle();
    info.uId = reinterpret_cast<UINT_PTR>(Handle());
    info.lpszText = text.data();
    SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!hint.empty()) SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    FHint = hint;
}
