#include "platform/gui/CheckBox.h"

TCheckBox::TCheckBox(TControl* parent, const std::string& caption) : TControl(parent) {
    CreateStockWindow(L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP | WS_VISIBLE);
    if (!caption.empty()) SetCaption(caption);
}

bool TCheckBox::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool value) {
    SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Command(WORD code) {
    if (code != BN_CLICKED) return false;
    Click();
    return true;
}
