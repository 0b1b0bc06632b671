#pragma once
// The base of every form and control: one window, its object, and the typed events.
//
// A control creates its window in its constructor, as a child of its parent's window, and keeps a
// pointer to itself on the window, so messages reach the object: our own window classes dispatch to
// WndProc directly, stock controls are subclassed. A parent reflects WM_COMMAND, WM_NOTIFY,
// WM_DRAWITEM and WM_CTLCOLORxxx to the child object that sent them. Children are listed in creation
// order, which is also the tab order.
//
// No exception leaves a window procedure: whatever a handler throws is shown with ShowException.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

class TControl;
class TForm;

using TNotifyEvent = std::function<void(TControl* sender)>;

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;
// The modifier keys held down right now.
TShiftState KeyboardShiftState();
// A key with its shift state, as menus and forms take them.
struct TShortCut {
    WORD Key = 0;
    TShiftState Shift = 0;
    bool operator==(const TShortCut&) const = default;
    explicit operator bool() const { return Key != 0; }
};
using TKeyEvent = std::function<void(TControl* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TControl* sender, wchar_t& key)>;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TControl {
public:
    // The parent must be created already; nullptr only for forms.
    explicit TControl(TControl* parent);
    virtual ~TControl();
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    // The object of a window created by this layer, or nullptr.
    static TControl* FromHandle(HWND window);

    HWND Handle() const { return FHandle; }
    TControl* Parent() const { return FParent; }
    const std::vector<TControl*>& Controls() const { return FControls; }
    TForm* ParentForm();  // the form this control sits on (itself for a form)
    virtual TForm* AsForm() { return nullptr; }
    // True when this control is (below) ancestor.
    bool IsChildOf(const TControl* ancestor) const;

    // The component's name as the window designer would give it ("txtUserLastName").
    std::string Name;
    int Tag = 0;

    // Geometry, in pixels relative to the parent's client area.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    int Right() const { return Left() + Width(); }
    int Bottom() const { return Top() + Height(); }
    virtual void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
    void SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
    void SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
    void SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }
    RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    // Multiplies position and size of this control and everything below it by m / d.
    virtual void ScaleBy(int m, int d);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);
    // Lays the aligned children out inside the client area (in child order, as the designer would).
    void Realign();
    // The part of the client area that aligned children share.
    virtual RECT AlignRect() const { return ClientRect(); }
    // Adds and removes window style bits.
    void ModifyStyle(DWORD add, DWORD remove = 0);

    bool Visible() const;
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const;
    virtual void SetEnabled(bool enabled);
    // Visible and enabled up to the form.
    bool CanFocus() const;

    // The window text (UTF-8). Caption and Text are the same thing under two names.
    std::string Caption() const;
    virtual void SetCaption(const std::string& caption);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& text) { SetCaption(text); }

    TColor Color() const;
    virtual void SetColor(TColor color);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    const TFont& Font() const;
    void SetFont(const TFont& font);
    // Changes one aspect of the font: SetFontWith([](TFont& f) { f.Bold = true; }).
    void SetFontWith(const std::function<void(TFont&)>& change);

    // The tooltip shown when the mouse rests on the control (empty: none).
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& hint);

    int HelpContext = 0;
    // The mouse cursor over the control; nullptr for the window class's own.
    HCURSOR Cursor = nullptr;
    // Walks up to the first control with a help context.
    int EffectiveHelpContext() const;

    bool TabStop() const;
    void SetTabStop(bool value);
    // On a form that is not shown yet, the control the form focuses when it shows.
    void SetFocus();
    bool Focused() const;
    // Focuses the control as Tab and a form's first field do (an edit box then selects its text, so
    // that typing replaces it as in every Windows dialog; a click keeps the caret where it falls).
    virtual void FocusFromKeyboard() { SetFocus(); }
    void Invalidate();
    void Repaint();
    // Puts the control above its siblings.
    void BringToFront();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;

    // Fires OnClick as the user's click would.
    virtual void Click();
    // The letter (upper case) that Alt, or the letter alone where the focus takes no typing, reaches
    // this control by; 0 for none. Stock buttons, check boxes and radio buttons answer to the letter
    // marked in their caption.
    virtual wchar_t AccelChar() const;
    // The control the letter gives the focus to (a label's field); nullptr when it leads nowhere.
    virtual TControl* AcceleratorTarget() { return this; }
    // The letter was pressed. `only`: no other control of the form answers to it now, so the control
    // acts (a button clicks); otherwise it only takes the focus, and the letter pressed again goes
    // on to the next control with it, as in Windows' own dialogs.
    virtual void AcceleratorPressed(bool only);
    // Ctrl+Tab: a control that takes a literal tab types one and says true.
    virtual bool TypeTab() { return false; }
    // Push buttons: Enter on a focused one clicks it instead of the form's default button.
    virtual bool IsPushButton() const { return false; }
    // Drawn as the form's default button or not (the form calls this on the control it is given).
    virtual void ShowAsDefault(bool /*value*/) {}

protected:
    // A derived constructor calls exactly one of these.
    // A stock control of the given window class, subclassed.
    void CreateStockWindow(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // A window of our own class; Paint draws it.
    void CreateOwnWindow(DWORD style, DWORD exStyle = 0, HWND parentOverride = nullptr);

    // The window procedure of this object. The default handles the shared behaviour and passes the
    // rest to the window's own procedure.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);

    // Paints our own windows (and WM_PRINTCLIENT). The default fills with Color.
    virtual void Paint(HDC dc);
    // Fills dc with what the parent shows behind this control (for see-through controls).
    void PaintParentBackground(HDC dc);

    // Messages reflected from the parent.
    virtual bool Command(WORD /*code*/) { return false; }
    virtual bool Notify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    virtual bool DrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
    virtual HBRUSH CtlColor(HDC dc);

    virtual void DoEnter();
    virtual void DoExit();
    // Called after the size changed.
    virtual void Resized();
    // Called when the font changed (the window already has it).
    virtual void FontChanged() {}
    virtual bool WantsParentBackground() const { return false; }

    bool OwnWindow() const { return FOwnWindow; }

private:
    friend class TForm;
    static LRESULT CALLBACK OwnWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT SafeWndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);
    void Detach();
    void ApplyFont();
    void InheritFromParent();

    HWND FHandle = nullptr;
    TControl* FParent;
    std::vector<TControl*> FControls;
    bool FOwnWindow = false;
    bool FDestroying = false;
    TAlign FAlign = TAlign::alNone;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    TFont FFont;
    bool FParentFont = true;
    std::string FHint;
};

// Calls a handler and reports anything it throws (for places where Windows called us).
void ReportExceptions(const std::function<void()>& action);

// The upper case of a character, as the user's locale has it.
wchar_t UpperChar(wchar_t ch);
// The accelerator character of a caption in upper case ("Achter&naam" -> 'N'), or 0.
wchar_t AcceleratorOf(const std::string& caption);
// The caption without its '&' markers ("&&" stays one '&').
std::string StripAccelerator(const std::string& caption);
