#pragma once
// Main menu and pop-up menus. Items are declared as members of the form, parents first:
//     TMainMenu mnuMain{this};
//     TMenuItem mnuBestand{&mnuMain, "&Bestand"};
//     TMenuItem mnuBestandOpenen{&mnuBestand, "&Openen", {VK_RETURN}};
// Shortcuts work through the form's key handling; a menu about to open fires OnPopup first, so
// enable and check states can be brought up to date there.
#include <string>
#include <vector>

#include "platform/gui/Control.h"
#include "platform/gui/Form.h"

// "Ctrl+P", "F5", "Enter", "Del", "Alt+F4".
std::string ShortCutToText(TShortCut shortCut);

class TMenuItem {
public:
    // A separator has the caption "-".
    TMenuItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = {});
    virtual ~TMenuItem();
    TMenuItem(const TMenuItem&) = delete;
    TMenuItem& operator=(const TMenuItem&) = delete;

    static TMenuItem* FromCommand(UINT id);
    // A Win32 menu is about to open: fires OnPopup of its item.
    static bool MenuOpening(HMENU menu);

    TMenuItem* Parent() const { return FParent; }
    const std::vector<TMenuItem*>& Items() const { return FItems; }
    std::string Caption() const { return FCaption; }
    void SetCaption(const std::string& caption);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut shortCut);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Checked() const { return FChecked; }
    // Checking an item of a radio group unchecks the other items with the same group index.
    void SetChecked(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    int GroupIndex = 0;
    // The help topic of the menu (F1 while it is open).
    int HelpContext = 0;
    bool IsSeparator() const { return FCaption == "-"; }

    TNotifyEvent OnClick;
    // Before this item's submenu (or this pop-up menu) opens.
    TNotifyEvent OnPopup;

    void Click();
    void DoPopup();
    // Clicks the enabled item with that shortcut below this one; false when there is none.
    bool DispatchShortCut(TShortCut shortCut);
    // The Win32 menu of this item's children (created with the first child).
    HMENU MenuHandle() const { return FSubMenu; }
    UINT Command() const { return FCommand; }

protected:
    // Root menus (main menu, pop-up menu) own a Win32 menu from the start.
    explicit TMenuItem(HMENU root);
    // Something below this root changed.
    virtual void MenuChanged() {}

private:
    void AddChild(TMenuItem* child);
    void RemoveChild(TMenuItem* child);
    void UpdateWin32();

    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
    std::string FCaption;
    TShortCut FShortCut;
    bool FEnabled = true;
    bool FChecked = false;
    bool FRadioItem = false;
    UINT FCommand = 0;
    HMENU FSubMenu = nullptr;
};

// The part of a menu its form talks to.
class TFormMenu : public TMenuItem, public IFormMenu {
public:
    bool DispatchShortCut(TShortCut shortCut) override { return TMenuItem::DispatchShortCut(shortCut); }
    bool DispatchCommand(UINT id) override;
    bool MenuOpening(HMENU menu) override;

protected:
    using TMenuItem::TMenuItem;
};

class TMainMenu : public TFormMenu {
public:
    // Becomes the form's menu bar.
    explicit TMainMenu(TForm* form);
    ~TMainMenu() override;

protected:
    void MenuChanged() override;

private:
    TForm* FForm;
};

class TPopupMenu : public TFormMenu {
public:
    // The form's keys reach the menu's shortcuts.
    explicit TPopupMenu(TForm* form);
    ~TPopupMenu() override;
    // Shows the menu at a screen position and runs the chosen item.
    void Popup(int x, int y);

private:
    TForm* FForm;
};
