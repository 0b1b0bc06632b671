#include "platform/gui/Button.h"

#include "platform/gui/Form.h"

std::string KindCaption(TBitBtnKind kind) {
    switch (kind) {
        case TBitBtnKind::bkCustom: return "";
        case TBitBtnKind::bkOK: return "OK";
        case TBitBtnKind::bkCancel: return "Annuleren";
        // As in Windows' own wizards, Help has no letter (F1 is its key): the fields' captions need them.
        case TBitBtnKind::bkHelp: return "Help";
        case TBitBtnKind::bkClose: return "&Sluiten";
        case TBitBtnKind::bkLeft: return "Vo&rige";
        case TBitBtnKind::bkRight: return "V&olgende";
        case TBitBtnKind::bkListAdd: return "&Toevoegen";
        case TBitBtnKind::bkListDelete: return "Verwij&deren";
    }
    return "";
}

namespace {
int KindModalResult(TBitBtnKind kind) {
    switch (kind) {
        case TBitBtnKind::bkOK: return mrOk;
        case TBitBtnKind::bkCancel: return mrCancel;
        case TBitBtnKind::bkClose: return mrClose;
        default: return mrNone;
    }
}
}  // namespace

TButton::TButton(TControl* parent, const std::string& caption) : TControl(parent) {
    CreateStockWindow(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE);
    SetColor(clBtnFace);
    if (!caption.empty()) SetCaption(caption);
}

TButton::~TButton() {
    if (TForm* form = ParentForm()) {
        if (form->DefaultButton() == this) form->SetDefaultButton(nullptr);
        if (form->CancelButton() == this) form->SetCancelButton(nullptr);
    }
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    TForm* form = ParentForm();
    if (!form) return;
    if (value)
        form->SetDefaultButton(this);
    else if (form->DefaultButton() == this)
        form->SetDefaultButton(nullptr);
}

void TButton::SetCancel(bool value) {
    FCancel = value;
    TForm* form = ParentForm();
    if (!form) return;
    if (value)
        form->SetCancelButton(this);
    else if (form->CancelButton() == this)
        form->SetCancelButton(nullptr);
}

void TButton::SetKind(TBitBtnKind kind) {
    FKind = kind;
    if (kind != TBitBtnKind::bkCustom) SetCaption(KindCaption(kind));
    ModalResult = KindModalResult(kind);
    if (kind == TBitBtnKind::bkCancel || kind == TBitBtnKind::bkClose) SetCancel(true);
    Invalidate();
}

void TButton::ShowAsDefault(bool value) {
    FDefault = value;
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_OWNERDRAW) {
        Invalidate();
        return;
    }
    SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
    if (ModalResult != mrNone)
        if (TForm* form = ParentForm()) form->SetModalResult(ModalResult);
    TControl::Click();
}

bool TButton::Command(WORD code) {
    if (code != BN_CLICKED) return false;
    Click();
    return true;
}
