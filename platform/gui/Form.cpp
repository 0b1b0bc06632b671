#include "platform/gui/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <string_view>

#include "platform/gui/Application.h"

namespace {
TModalHook& ModalHook() {
    static TModalHook hook;
    return hook;
}

struct TStyles {
    DWORD Style, ExStyle;
};

TStyles BorderStyles(TBorderStyle border) {
    const DWORD common = WS_CLIPCHILDREN;
    const DWORD exCommon = WS_EX_CONTROLPARENT;
    switch (border) {
        case TBorderStyle::bsSizeable: return {common | WS_OVERLAPPEDWINDOW, exCommon | WS_EX_APPWINDOW};
        case TBorderStyle::bsDialog: return {common | WS_POPUP | WS_CAPTION | WS_SYSMENU, exCommon | WS_EX_DLGMODALFRAME};
        case TBorderStyle::bsSingle:
            return {common | WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, exCommon | WS_EX_APPWINDOW};
        case TBorderStyle::bsNone: return {common | WS_POPUP, exCommon};
    }
    return {common, exCommon};
}

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM data) {
    auto* windows = reinterpret_cast<std::vector<HWND>*>(data);
    if (IsWindowVisible(window) && IsWindowEnabled(window)) windows->push_back(window);
    return TRUE;
}

// Disables the other windows of the thread while a modal form runs, and enables them again.
class TModalScope {
public:
    explicit TModalScope(HWND modal) : FActive(GetActiveWindow()) {
        EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&FDisabled));
        std::erase(FDisabled, modal);
        if (FActive == modal) FActive = nullptr;
        for (HWND window : FDisabled) EnableWindow(window, FALSE);
    }
    ~TModalScope() {
        for (HWND window : FDisabled)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        // The window the user came from gets the focus back.
        if (FActive && IsWindow(FActive)) SetActiveWindow(FActive);
    }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;
    // The window the modal form belongs to: the one that was active, else any window of the thread.
    HWND Owner() const { return FActive ? FActive : FDisabled.empty() ? nullptr : FDisabled.front(); }

private:
    std::vector<HWND> FDisabled;
    HWND FActive;
};

// Walks the controls below root in tab order.
void CollectTabOrder(TControl* root, std::vector<TControl*>& out) {
    for (TControl* child : root->Controls()) {
        if (!child->Visible() || !child->Enabled()) continue;
        if (child->TabStop()) out.push_back(child);
        CollectTabOrder(child, out);
    }
}

// Every shown control below root, each before its children, in the order of the design.
void CollectShown(TControl* root, std::vector<TControl*>& out) {
    for (TControl* child : root->Controls()) {
        if (!child->Visible()) continue;
        out.push_back(child);
        CollectShown(child, out);
    }
}

// The control of this layer that holds the window (or is its nearest parent), or nullptr.
TControl* ControlOf(HWND window) {
    for (HWND h = window; h; h = GetAncestor(h, GA_PARENT))
        if (TControl* control = TControl::FromHandle(h)) return control;
    return nullptr;
}

// What the focused window wants of the keys (WM_GETDLGCODE), 0 when nothing has the focus.
LRESULT FocusDialogCode(const MSG& msg) {
    HWND focus = GetFocus();
    return focus ? SendMessageW(focus, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) : 0;
}
}  // namespace

void SetModalHook(TModalHook hook) { ModalHook() = std::move(hook); }

TForm::TForm() : TControl(nullptr) {
    Application();  // common controls are registered before the first form
    TStyles styles = BorderStyles(FBorderStyle);
    HWND owner = Application().MainForm() ? Application().MainForm()->Handle() : nullptr;
    CreateOwnWindow(styles.Style, styles.ExStyle, owner);
    SetBounds(CW_USEDEFAULT, CW_USEDEFAULT, 400, 300);
}

TForm::~TForm() {
    if (Application().MainForm() == this) Application().Terminate();
}

HWND TForm::ToolTip() {
    if (!FToolTip) {
        FToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    return FToolTip;
}

void TForm::SetBorderStyle(TBorderStyle style) {
    int width = ClientWidth(), height = ClientHeight();
    FBorderStyle = style;
    TStyles styles = BorderStyles(style);
    DWORD visible = GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE;
    SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(styles.Style | visible));
    SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(styles.ExStyle));
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetClientSize(width, height);
}

void TForm::SetClientSize(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)), GetMenu(Handle()) != nullptr,
                       static_cast<DWORD>(GetWindowLongW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::CenterOnScreen() {
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int w = Width(), h = Height();
    int left = work.left + (work.right - work.left - w) / 2;
    int top = work.top + (work.bottom - work.top - h) / 2;
    SetWindowPos(Handle(), nullptr, std::max<int>(left, work.left), std::max<int>(top, work.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::DoCreate() {
    if (FCreated) return;
    FCreated = true;
    if (OnCreate) OnCreate(this);
}

void TForm::DoDestroy() {
    if (FDestroyed) return;
    FDestroyed = true;
    if (OnDestroy) OnDestroy(this);
}

void TForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TForm::SetVisible(bool visible) {
    if (visible == Visible()) return;
    if (visible) {
        DoCreate();
        ScaleDesignToScreen();
        DoShow();
        if (Position == TPosition::poScreenCenter) CenterOnScreen();
        if (FMenuBar) DrawMenuBar(Handle());  // its items came while the window was hidden
        ShowWindow(Handle(), FShowState == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                             : FShowState == TWindowState::wsMinimized ? SW_SHOWMINIMIZED
                                                                       : SW_SHOW);
        FShowState = TWindowState::wsNormal;
        SetForegroundWindow(Handle());
        if (FActiveControl && FActiveControl->CanFocus())
            FActiveControl->FocusFromKeyboard();
        else
            SelectFirst();
    } else {
        DoHide();
        ShowWindow(Handle(), SW_HIDE);
    }
}

void TForm::ScaleDesignToScreen() {
    if (FDesignScaled) return;
    FDesignScaled = true;
    const int ppi = ScreenPixelsPerInch();
    if (!Scaled || ppi == 96) return;
    const int w = ClientWidth(), h = ClientHeight();
    ScaleBy(ppi, 96);
    SetClientSize(MulDiv(w, ppi, 96), MulDiv(h, ppi, 96));
}

int TForm::DesignToCurrent(int designPixels) const {
    return FDesignScaled && Scaled ? MulDiv(designPixels, ScreenPixelsPerInch(), 96) : designPixels;
}

RECT TForm::NormalBounds() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    RECT bounds = placement.rcNormalPosition;
    // The placement counts from the work area's corner; a task bar at the top or left moves it.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!(GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) &&
        GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor))
        OffsetRect(&bounds, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    return bounds;
}

TWindowState TForm::WindowState() const {
    if (!Visible()) return FShowState;
    return IsZoomed(Handle()) ? TWindowState::wsMaximized
           : IsIconic(Handle()) ? TWindowState::wsMinimized
                                : TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState state) {
    if (!Visible()) {
        FShowState = state;
        return;
    }
    ShowWindow(Handle(), state == TWindowState::wsMaximized   ? SW_MAXIMIZE
                         : state == TWindowState::wsMinimized ? SW_MINIMIZE
                                                              : SW_RESTORE);
}

bool TForm::OwnsDialogBox(HWND window) const {
    if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
    wchar_t name[16] = {};
    if (!GetClassNameW(window, name, 16) || std::wstring_view(name) != L"#32770") return false;
    for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER))
        if (owner == Handle()) return true;
    return false;
}

bool TForm::CloseQuery() {
    TCloseAction action = TCloseAction::caHide;
    if (OnClose) OnClose(this, action);
    return action != TCloseAction::caNone;
}

bool TForm::ModalFormsClosed() {
    const std::vector<TForm*>& open = Application().ModalForms();
    if (open.empty()) return true;
    TForm* innermost = open.back();
    // A disabled one waits on a message box or dialog of its own: the user answers that first.
    if (IsWindowEnabled(innermost->Handle())) innermost->RequestClose();
    // Agreed: its loop ends first, then the program's close comes again for the next one out.
    if (innermost->ModalResult() != mrNone) PostMessageW(Handle(), WM_CLOSE, 0, 0);
    return false;
}

void TForm::Close() {
    if (FModal) {
        if (FModalResult == mrNone) FModalResult = mrCancel;
        return;
    }
    if (Application().MainForm() == this && !ModalFormsClosed()) return;
    if (!CloseQuery()) return;
    Hide();
    if (Application().MainForm() == this) Application().Terminate();
}

int TForm::ShowModal() {
    FModalResult = mrNone;
    FModal = true;
    int result = mrNone;
    {
        TModalScope scope(Handle());
        if (scope.Owner() && !(GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD))
            SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(scope.Owner()));
        Application().ModalStarted(this);
        struct TEndModal {
            TForm* Form;
            ~TEndModal() {
                Form->FModal = false;
                Application().ModalEnded(Form);
                ReportExceptions([this] { Form->Hide(); });
            }
        } endModal{this};
        Show();
        if (ModalHook()) {
            ModalHook()(*this);
            Application().ProcessMessages();
            if (FModalResult != mrNone && !CloseQuery()) FModalResult = mrNone;
        } else {
            while (true) {
                if (FModalResult != mrNone) {
                    if (CloseQuery()) break;
                    FModalResult = mrNone;
                }
                if (!Application().HandleMessage()) {
                    PostQuitMessage(0);
                    if (FModalResult == mrNone) FModalResult = mrCancel;
                    break;
                }
                if (!Visible() && FModalResult == mrNone) FModalResult = mrCancel;
            }
        }
        result = FModalResult;
    }
    return result;
}

void TForm::SetActiveControl(TControl* control) {
    FActiveControl = control;
    if (control && Visible() && control->CanFocus()) control->SetFocus();
}

bool TForm::SelectFirst() { return SelectFirstIn(this); }

std::vector<TControl*> TForm::TabOrder(TControl* container) {
    std::vector<TControl*> order;
    if (container) CollectTabOrder(container, order);
    return order;
}

bool TForm::SelectFirstIn(TControl* container) {
    for (TControl* c : TabOrder(container)) {
        c->FocusFromKeyboard();
        if (c->Focused()) return true;
    }
    return false;
}

void TForm::SelectNext(bool forward) {
    const std::vector<TControl*> order = TabOrder(this);
    if (order.empty()) return;
    auto it = std::find_if(order.begin(), order.end(), [](TControl* c) { return c->Focused(); });
    size_t index = it == order.end() ? (forward ? order.size() - 1 : 0) : static_cast<size_t>(it - order.begin());
    index = forward ? (index + 1) % order.size() : (index + order.size() - 1) % order.size();
    order[index]->FocusFromKeyboard();
}

void TForm::SetDefaultButton(TControl* button) {
    if (FDefaultButton && FDefaultButton != button) FDefaultButton->ShowAsDefault(false);
    FDefaultButton = button;
    if (button) button->ShowAsDefault(true);
}

void TForm::SetCancelButton(TControl* button) { FCancelButton = button; }

void TForm::SetMenuBar(IFormMenu* menu, HMENU handle) {
    FMenuBar = menu;
    ::SetMenu(Handle(), menu ? handle : nullptr);
}

void TForm::AddPopupMenu(IFormMenu* menu) { FPopupMenus.push_back(menu); }
void TForm::RemovePopupMenu(IFormMenu* menu) { std::erase(FPopupMenus, menu); }

void TForm::ControlFocused(TControl* control) {
    // The form's own window has the focus while it is being activated; the control to return to
    // stays the one that had it.
    if (control != this) FActiveControl = control;
}

void TForm::ControlDestroyed(TControl* control) {
    if (FActiveControl == control) FActiveControl = nullptr;
    if (FRefusedExit == control) FRefusedExit = nullptr;
    if (FDefaultButton == control) FDefaultButton = nullptr;
    if (FCancelButton == control) FCancelButton = nullptr;
}

bool TForm::IsShortCut(WORD key, TShiftState shift) {
    TShortCut shortCut{key, shift};
    if (FMenuBar && FMenuBar->DispatchShortCut(shortCut)) return true;
    for (IFormMenu* menu : FPopupMenus)
        if (menu->DispatchShortCut(shortCut)) return true;
    return false;
}

bool TForm::PressAccelerator(wchar_t ch) {
    const wchar_t letter = UpperChar(ch);
    std::vector<TControl*> shown;
    CollectShown(this, shown);
    auto answers = [letter](TControl* c) {
        TControl* target = c->AccelChar() == letter ? c->AcceleratorTarget() : nullptr;
        return target && target->CanFocus();
    };
    const auto count = std::count_if(shown.begin(), shown.end(), answers);
    if (count == 0) return false;
    // The search starts after the control that has the focus (the innermost one that holds it), so
    // that the letter pressed again goes on to the next control with it.
    size_t start = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i]->Focused()) start = i + 1;
    for (size_t n = 0; n < shown.size(); ++n) {
        TControl* c = shown[(start + n) % shown.size()];
        if (!answers(c) || (count > 1 && c->AcceleratorTarget()->Focused())) continue;
        c->AcceleratorPressed(count == 1);
        return true;
    }
    return false;
}

bool TForm::HandleKeyDown(MSG& msg) {
    WORD key = static_cast<WORD>(msg.wParam);
    TShiftState shift = KeyboardShiftState();
    if (KeyPreview) {
        DoKeyDown(key, shift);
        if (key == 0) return true;
        msg.wParam = key;
    }
    if (IsShortCut(key, shift)) return true;
    HWND focus = GetFocus();
    if (key == VK_F1 && shift == 0) {
        TControl* focused = ControlOf(focus);
        Application().HelpContext(focused ? focused->EffectiveHelpContext() : EffectiveHelpContext());
        return true;
    }
    // Tab leaves every control, also one that takes all keys (a multi-line edit hands Tab to its
    // parent, which is no dialog). Ctrl+Tab types a tab where one is wanted.
    if (key == VK_TAB && !(shift & ssAlt)) {
        TControl* focused = ControlOf(focus);
        if ((shift & ssCtrl) && focused && focused->TypeTab()) return true;
        SelectNext((shift & ssShift) == 0);
        return true;
    }
    bool dropped = false;
    for (HWND h = focus; h; h = GetAncestor(h, GA_PARENT))
        if (SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) == TRUE) dropped = true;
    if (key == VK_RETURN && (shift & (ssCtrl | ssAlt)) == 0 && !dropped) {
        if (!(FocusDialogCode(msg) & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) {
            TControl* target = FromHandle(focus);
            if (!target || !target->IsPushButton()) target = FDefaultButton;
            if (target && target->CanFocus()) {
                target->Click();
                return true;
            }
        }
    }
    if (key == VK_ESCAPE && shift == 0 && !dropped && FCancelButton && FCancelButton->CanFocus()) {
        FCancelButton->Click();
        return true;
    }
    return false;
}

void TForm::DoKeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

bool TForm::PreTranslateMessage(MSG& msg) {
    switch (msg.message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            FRefusedExit = nullptr;  // a new action of the user
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            FRefusedExit = nullptr;
            if (HandleKeyDown(msg)) return true;
            break;
        case WM_CHAR:
            if (KeyPreview && OnKeyPress) {
                wchar_t key = static_cast<wchar_t>(msg.wParam);
                OnKeyPress(this, key);
                if (key == 0) return true;
                msg.wParam = key;
            }
            // Where the focus takes no typing (a button, a check box), a letter alone is its Alt+letter.
            if (msg.wParam > L' ' && !(FocusDialogCode(msg) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) &&
                PressAccelerator(static_cast<wchar_t>(msg.wParam)))
                return true;
            break;
        case WM_SYSCHAR:
            if (PressAccelerator(static_cast<wchar_t>(msg.wParam))) return true;
            break;
        default:
            break;
    }
    return IsDialogMessageW(Handle(), &msg) != FALSE;
}

void TForm::Paint(HDC dc) { FillSolidRect(dc, ClientRect(), Color()); }

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CLOSE:
            RequestClose();
            return 0;
        case WM_QUERYENDSESSION:
            // Windows is ending the session: a modal form closes as it would for its close button
            // (what it holds is saved or abandoned now), or the session waits for the user.
            if (FModal && FModalResult == mrNone && IsWindowEnabled(Handle())) RequestClose();
            return !FModal || FModalResult != mrNone;
        case WM_COMMAND:
            if (lParam == 0 && HIWORD(wParam) <= 1 && FMenuBar && FMenuBar->DispatchCommand(LOWORD(wParam))) return 0;
            break;
        case WM_INITMENUPOPUP: {
            HMENU opening = reinterpret_cast<HMENU>(wParam);
            if (FMenuBar && FMenuBar->MenuOpening(opening)) return 0;
            for (IFormMenu* menu : FPopupMenus)
                if (menu->MenuOpening(opening)) return 0;
            return 0;
        }
        case WM_ACTIVATE: {
            // Going to a message box or common dialog of this form and back is no change of the
            // active window: the operation that opened the box is still waiting on its answer.
            const bool ownBox = OwnsDialogBox(reinterpret_cast<HWND>(lParam));
            if (LOWORD(wParam) != WA_INACTIVE) {
                LRESULT r = DefaultHandler(msg, wParam, lParam);
                if (FActiveControl && FActiveControl->CanFocus())
                    FActiveControl->SetFocus();
                if (OnActivate && !ownBox) OnActivate(this);
                return r;
            }
            if (OnDeactivate && !ownBox) OnDeactivate(this);
            break;
        }
        case WM_ACTIVATEAPP:
            Application().Activated(wParam != FALSE);
            break;
        case WM_ERASEBKGND: {
            FillSolidRect(reinterpret_cast<HDC>(wParam), ClientRect(), Color());
            return 1;
        }
        case WM_PAINT: {
            TPaintDC paint(Handle());
            Paint(paint.Get());
            return 0;
        }
        default:
            break;
    }
    return TControl::WndProc(msg, wParam, lParam);
}
