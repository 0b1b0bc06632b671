#include "platform/gui/Edit.h"

TCustomEdit::TCustomEdit(TControl* parent, DWORD style) : TControl(parent) {
    CreateStockWindow(L"EDIT", style | WS_TABSTOP | WS_VISIBLE, WS_EX_CLIENTEDGE);
    SetColor(clWindow);
}

void TCustomEdit::SetMaxLength(int length) {
    FMaxLength = length;
    SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

bool TCustomEdit::ReadOnly() const { return (GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0; }

void TCustomEdit::SetReadOnly(bool value) { SendMessageW(Handle(), EM_SETREADONLY, value, 0); }

void TCustomEdit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

int TCustomEdit::SelStart() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

int TCustomEdit::SelLength() const {
    DWORD start = 0, end = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelection(int start, int length) {
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + length);
}

bool TCustomEdit::Modified() const { return SendMessageW(Handle(), EM_GETMODIFY, 0, 0) != 0; }
void TCustomEdit::SetModified(bool value) { SendMessageW(Handle(), EM_SETMODIFY, value, 0); }

void TCustomEdit::SetPasswordChar(wchar_t mask) {
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, mask, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TCustomEdit::SetNumbersOnly(bool value) {
    LONG style = GetWindowLongW(Handle(), GWL_STYLE);
    SetWindowLongW(Handle(), GWL_STYLE, value ? style | ES_NUMBER : style & ~ES_NUMBER);
}

bool TCustomEdit::Command(WORD code) {
    if (code == EN_MAXTEXT) {
        if (OnMaxText) OnMaxText(this);
        return true;
    }
    if (code != EN_CHANGE) return false;
    DoChange();
    return true;
}

void TCustomEdit::DoChange() {
    if (OnChange) OnChange(this);
}

TEdit::TEdit(TControl* parent) : TCustomEdit(parent, ES_AUTOHSCROLL) {}

void TEdit::FocusFromKeyboard() {
    SetFocus();
    if (Focused()) SelectAll();
}
