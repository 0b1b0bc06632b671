#include "platform/gui/Menu.h"

#include <algorithm>
#include <map>

#include "core/StrConv.h"
#include "platform/gui/Form.h"

namespace {
std::map<UINT, TMenuItem*>& Commands() {
    static std::map<UINT, TMenuItem*> commands;
    return commands;
}

UINT NextCommand() {
    static UINT next = 1000;
    return next++;
}

std::string KeyName(WORD key) {
    if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key));
    if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
    switch (key) {
        case VK_RETURN: return "Enter";
        case VK_DELETE: return "Del";
        case VK_INSERT: return "Ins";
        case VK_ESCAPE: return "Esc";
        case VK_BACK: return "BkSp";
        case VK_TAB: return "Tab";
        case VK_SPACE: return "Space";
        case VK_PRIOR: return "PgUp";
        case VK_NEXT: return "PgDn";
        case VK_HOME: return "Home";
        case VK_END: return "End";
        case VK_LEFT: return "Left";
        case VK_RIGHT: return "Right";
        case VK_UP: return "Up";
        case VK_DOWN: return "Down";
        default: return "#" + IntToStr(key);
    }
}
}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
    if (!shortCut) return {};
    std::string text;
    if (shortCut.Shift & ssShift) text += "Shift+";
    if (shortCut.Shift & ssCtrl) text += "Ctrl+";
    if (shortCut.Shift & ssAlt) text += "Alt+";
    return text + KeyName(shortCut.Key);
}

TMenuItem::TMenuItem(HMENU root) : FSubMenu(root) {}

TMenuItem::TMenuItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut)
    : FParent(parent), FCaption(caption), FShortCut(shortCut), FCommand(NextCommand()) {
    Commands()[FCommand] = this;
    if (FParent) FParent->AddChild(this);
}

TMenuItem::~TMenuItem() {
    for (TMenuItem* child : FItems) child->FParent = nullptr;
    if (FCommand) Commands().erase(FCommand);
    if (FParent) FParent->RemoveChild(this);
    if (FSubMenu) DestroyMenu(FSubMenu);
}

TMenuItem* TMenuItem::FromCommand(UINT id) {
    auto it = Commands().find(id);
    return it == Commands().end() ? nullptr : it->second;
}

bool TMenuItem::MenuOpening(HMENU menu) {
    for (const auto& [id, item] : Commands())
        if (item->FSubMenu == menu) {
            item->DoPopup();
            return true;
        }
    return false;
}

void TMenuItem::AddChild(TMenuItem* child) {
    if (!FSubMenu) {
        FSubMenu = CreatePopupMenu();
        if (FParent) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_SUBMENU;
            info.hSubMenu = FSubMenu;
            SetMenuItemInfoW(FParent->FSubMenu, FCommand, FALSE, &info);
        }
    }
    FItems.push_back(child);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE;
    info.wID = child->FCommand;
    info.fType = child->IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    InsertMenuItemW(FSubMenu, static_cast<UINT>(FItems.size() - 1), TRUE, &info);
    child->UpdateWin32();
}

void TMenuItem::RemoveChild(TMenuItem* child) {
    // The child's own submenu is destroyed by the child; detach it first so it is not destroyed twice.
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_SUBMENU;
    info.hSubMenu = nullptr;
    SetMenuItemInfoW(FSubMenu, child->FCommand, FALSE, &info);
    RemoveMenu(FSubMenu, child->FCommand, MF_BYCOMMAND);
    std::erase(FItems, child);
}

void TMenuItem::UpdateWin32() {
    if (!FParent || !FParent->FSubMenu || IsSeparator()) return;
    std::wstring text = Widen(FShortCut ? FCaption + "\t" + ShortCutToText(FShortCut) : FCaption);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.fType = MFT_STRING | (FRadioItem ? MFT_RADIOCHECK : 0);
    info.fState = (FEnabled ? MFS_ENABLED : MFS_DISABLED) | (FChecked ? MFS_CHECKED : MFS_UNCHECKED);
    info.dwTypeData = text.data();
    SetMenuItemInfoW(FParent->FSubMenu, FCommand, FALSE, &info);
    TMenuItem* root = FParent;
    while (root->FParent) root = root->FParent;
    root->MenuChanged();
}

void TMenuItem::SetCaption(const std::string& caption) {
    FCaption = caption;
    UpdateWin32();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
    FShortCut = shortCut;
    UpdateWin32();
}

void TMenuItem::SetEnabled(bool value) {
    FEnabled = value;
    UpdateWin32();
}

void TMenuItem::SetChecked(bool value) {
    FChecked = value;
    if (value && FRadioItem && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->GroupIndex == GroupIndex && sibling->FChecked) {
                sibling->FChecked = false;
                sibling->UpdateWin32();
            }
    UpdateWin32();
}

void TMenuItem::SetRadioItem(bool value) {
    FRadioItem = value;
    UpdateWin32();
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (OnClick) OnClick(nullptr);
}

void TMenuItem::DoPopup() {
    if (OnPopup) OnPopup(nullptr);
}

bool TMenuItem::DispatchShortCut(TShortCut shortCut) {
    if (!shortCut) return false;
    for (TMenuItem* item : FItems) {
        if (item->FShortCut == shortCut) {
            DoPopup();
            if (item->FEnabled) {
                item->Click();
                return true;
            }
        }
        if (!item->FItems.empty() && item->FEnabled && item->DispatchShortCut(shortCut)) return true;
    }
    return false;
}

bool TFormMenu::DispatchCommand(UINT id) {
    TMenuItem* item = FromCommand(id);
    if (!item) return false;
    item->Click();
    return true;
}

bool TFormMenu::MenuOpening(HMENU menu) { return TMenuItem::MenuOpening(menu); }

TMainMenu::TMainMenu(TForm* form) : TFormMenu(CreateMenu()), FForm(form) { FForm->SetMenuBar(this, MenuHandle()); }

void TMainMenu::MenuChanged() {
    // A hidden window's bar is measured when the window is shown; redrawing it for every item a
    // window adds while it is being built cost several milliseconds at start.
    if (FForm && FForm->MenuBar() == this && IsWindowVisible(FForm->Handle())) DrawMenuBar(FForm->Handle());
}

TMainMenu::~TMainMenu() {
    if (FForm && FForm->MenuBar() == this) FForm->SetMenuBar(nullptr, nullptr);
}

TPopupMenu::TPopupMenu(TForm* form) : TFormMenu(CreatePopupMenu()), FForm(form) {
    if (FForm) FForm->AddPopupMenu(this);
}

TPopupMenu::~TPopupMenu() {
    if (FForm) FForm->RemovePopupMenu(this);
}

void TPopupMenu::Popup(int x, int y) {
    DoPopup();
    HWND owner = FForm ? FForm->Handle() : GetActiveWindow();
    UINT chosen = static_cast<UINT>(TrackPopupMenu(MenuHandle(), TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    if (TMenuItem* item = FromCommand(chosen)) item->Click();
}
