#include "platform/gui/RadioButton.h"

TRadioButton::TRadioButton(TControl* parent, const std::string& caption) : TControl(parent) {
    CreateStockWindow(L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP | WS_VISIBLE);
    if (!caption.empty()) SetCaption(caption);
}

bool TRadioButton::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TRadioButton::SetChecked(bool value) {
    SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value || !Parent()) return;
    for (TControl* sibling : Parent()->Controls())
        if (auto* radio = dynamic_cast<TRadioButton*>(sibling); radio && radio != this)
            SendMessageW(radio->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
}

bool TRadioButton::Command(WORD code) {
    if (code != BN_CLICKED) return false;
    if (!Checked()) SetChecked(true);
    Click();
    return true;
}
