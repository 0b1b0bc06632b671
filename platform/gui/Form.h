#pragma once
// A top-level window with components: the base of every window of the program.
//
// A derived form declares its components as members (parents before children, in the order Tab
// visits them), binds their events to its own member functions in its constructor and sets the
// layout there. ShowModal runs a modal loop that ends when ModalResult is set (a button with a modal
// result, Close, Esc on the cancel button). Keys pass through the form first: key preview
// (OnKeyDown/OnKeyPress), menu shortcuts, F1 for help, Tab and Shift+Tab to the next and previous
// control (whatever control has the focus), Enter for the default button, Esc for the cancel
// button, the letters of controls and labels (Alt+letter, or the letter alone where the focus takes
// no typing), then the usual dialog handling (arrows, Space).
#include <memory>

#include "platform/gui/Control.h"

// What the form asks of a menu it carries (its menu bar or a pop-up menu): the menus register
// themselves with the form, so the form needs to know nothing else of them.
class IFormMenu {
public:
    // Runs the item with this shortcut; false when the menu has none.
    virtual bool DispatchShortCut(TShortCut shortCut) = 0;
    // Runs the item of a menu command; false when it is not one of the menu's items.
    virtual bool DispatchCommand(UINT id) = 0;
    // A (sub)menu is about to open: lets its item bring the menu up to date; false when not ours.
    virtual bool MenuOpening(HMENU menu) = 0;

protected:
    ~IFormMenu() = default;
};

enum class TBorderStyle { bsSizeable, bsDialog, bsSingle, bsNone };
enum class TPosition { poDesigned, poScreenCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TCloseAction { caNone, caHide, caFree };
using TCloseEvent = std::function<void(TControl* sender, TCloseAction& action)>;

// Modal results: the Windows button identifiers.
enum : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7, mrClose = 8 };

class TForm : public TControl {
public:
    TForm();
    ~TForm() override;
    TForm* AsForm() override { return this; }

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    TPosition Position = TPosition::poDesigned;
    bool KeyPreview = false;
    // Designed at 96 pixels per inch: scaled to the screen once, on the first show at the latest.
    bool Scaled = true;
    // Scales the design (controls and client size) to the screen, once. A form that sets a size of
    // its own in screen pixels (a restored placement) calls this first, so that the first show does
    // not scale that size again.
    void ScaleDesignToScreen();
    // A design distance (at 96 pixels per inch) in the pixels the controls are in now: as it is
    // before the design is scaled, the screen's afterwards. For code that moves controls at run time.
    int DesignToCurrent(int designPixels) const;
    // Where the window is when neither minimised nor maximised, in screen coordinates.
    RECT NormalBounds() const;
    // A hidden form is shown in the state set here (so a maximised window never shows normal first).
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    void SetClientSize(int width, int height);
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

    int ModalResult() const { return FModalResult; }
    void SetModalResult(int result) { FModalResult = result; }
    bool IsModal() const { return FModal; }
    // Shows the form modally and answers its modal result. Under a test's modal hook the hook drives
    // the form instead of the user, and the loop ends as soon as the pending messages are handled.
    int ShowModal();
    void SetVisible(bool visible) override;
    // Asks OnClose; a modal form then ends with mrCancel (unless a result was set), the main form
    // ends the application (after asking the modal forms still open, see RequestClose), any other
    // form hides.
    void Close();
    // The user or Windows wants the window gone: its title bar's close button, Alt+F4, the program
    // closing while the form is open modally, the end of the Windows session. Close by default; a
    // form whose own Cancel button has consequences answers as that button does. The form may stay
    // (the user chose so): a modal form then still has no modal result.
    virtual void RequestClose() { Close(); }

    TControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TControl* control);
    // Focuses the first control in tab order that can take the focus; false when there is none.
    bool SelectFirst();
    // The same among the controls below container.
    bool SelectFirstIn(TControl* container);
    // Moves the focus to the next (or previous) control in tab order.
    void SelectNext(bool forward = true);
    // The controls below container that Tab visits, in order: shown, enabled tab stops.
    static std::vector<TControl*> TabOrder(TControl* container);

    // The control Enter presses (drawn as default) and the one Esc presses; usually buttons.
    TControl* DefaultButton() const { return FDefaultButton; }
    TControl* CancelButton() const { return FCancelButton; }
    void SetDefaultButton(TControl* button);
    void SetCancelButton(TControl* button);

    // The menu bar (its handle, and the menu whose shortcuts it carries); null for none.
    IFormMenu* MenuBar() const { return FMenuBar; }
    void SetMenuBar(IFormMenu* menu, HMENU handle);
    // Pop-up menus whose shortcuts work on this form.
    void AddPopupMenu(IFormMenu* menu);
    void RemovePopupMenu(IFormMenu* menu);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    // Fires OnCreate once (CreateForm does this right after construction, the first show otherwise).
    void DoCreate();
    // Fires OnDestroy once (the deleter of CreateForm does this before the form is destroyed).
    void DoDestroy();

    // The key handling described above; true when the message was handled and must not be dispatched.
    bool PreTranslateMessage(MSG& msg);

    // The form's tooltip window, made on first use.
    HWND ToolTip();

    // Bookkeeping of the controls on this form.
    void ControlFocused(TControl* control);
    void ControlDestroyed(TControl* control);
    // A control refused to let the focus go because its input was invalid. Until the user's next
    // key or mouse press, RefusedExit names it, so that the click that moved the focus away (and
    // arrives after the refusal) can see that it must not act.
    void RefuseExit(TControl* control) { FRefusedExit = control; }
    TControl* RefusedExit() const { return FRefusedExit; }

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;
    // Runs when the form is about to become visible: fires OnShow.
    virtual void DoShow();
    virtual void DoHide();
    // True when the form may close; fires OnClose.
    bool CloseQuery();
    // The program is closing: the innermost modal form still open is asked first. False when one
    // is open; this form's own close then comes again once that one has agreed and its loop ended.
    bool ModalFormsClosed();
    // Key preview: the form's look at a key before its controls; the default fires OnKeyDown.
    virtual void DoKeyDown(WORD& key, TShiftState shift);

private:
    bool HandleKeyDown(MSG& msg);
    bool IsShortCut(WORD key, TShiftState shift);
    // A letter of a control or label was pressed: true when a control answered to it.
    bool PressAccelerator(wchar_t ch);
    void CenterOnScreen();
    // A message box or common dialog box owned by this form: an operation of the form waits on it.
    bool OwnsDialogBox(HWND window) const;

    TBorderStyle FBorderStyle = TBorderStyle::bsSizeable;
    int FModalResult = mrNone;
    bool FModal = false;
    bool FCreated = false;
    bool FDestroyed = false;
    bool FDesignScaled = false;
    TWindowState FShowState = TWindowState::wsNormal;
    TControl* FActiveControl = nullptr;
    TControl* FRefusedExit = nullptr;
    TControl* FDefaultButton = nullptr;
    TControl* FCancelButton = nullptr;
    IFormMenu* FMenuBar = nullptr;
    std::vector<IFormMenu*> FPopupMenus;
    HWND FToolTip = nullptr;  // owned by the form's window: destroyed with it
};

// Tests only: ShowModal calls the hook once the window is visible; the hook fills fields and presses
// buttons, and the modal loop then ends on the window's own result (mrNone when nothing closed it).
// An empty hook restores the real modal loop.
using TModalHook = std::function<void(TForm& form)>;
void SetModalHook(TModalHook hook);

// Forms made with CreateForm get OnCreate after construction and OnDestroy before destruction.
struct TFormDeleter {
    void operator()(TForm* form) const {
        ReportExceptions([form] { form->DoDestroy(); });
        delete form;
    }
};
template <class T>
using TFormPtr = std::unique_ptr<T, TFormDeleter>;

template <class T, class... Args>
TFormPtr<T> CreateForm(Args&&... args) {
    TFormPtr<T> form(new T(std::forward<Args>(args)...));
    form->DoCreate();
    return form;
}
