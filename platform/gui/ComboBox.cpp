#include "platform/gui/ComboBox.h"

#include <algorithm>

#include "core/StrConv.h"
#include "platform/gui/Graphics.h"

TComboBox::TComboBox(TControl* parent, TComboBoxStyle style, bool sorted) : TControl(parent), FStyle(style), FSorted(sorted) {
    DWORD s = WS_TABSTOP | WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL;
    s |= style == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
    if (sorted) s |= CBS_SORT;
    CreateStockWindow(L"COMBOBOX", s);
    SetColor(clWindow);
}

void TComboBox::SetBounds(int left, int top, int width, int height) {
    int itemHeight = static_cast<int>(SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0));
    TControl::SetBounds(left, top, width, height + DropDownCount * (itemHeight > 0 ? itemHeight : 14) + 2);
}

int TComboBox::AddItem(const std::string& text, intptr_t data) {
    int index = static_cast<int>(SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str())));
    if (index >= 0) SendMessageW(Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index), data);
    return index;
}

void TComboBox::SetItems(const std::vector<std::string>& items) {
    bool same = Count() == static_cast<int>(items.size());
    for (int i = 0; same && i < Count(); ++i) same = Item(i) == items[static_cast<size_t>(i)];
    if (same) {
        SetItemIndex(-1);
        return;
    }
    Clear();
    for (const auto& item : items) AddItem(item);
}

void TComboBox::DeleteItem(int index) { SendMessageW(Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0); }
void TComboBox::Clear() { SendMessageW(Handle(), CB_RESETCONTENT, 0, 0); }
int TComboBox::Count() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

std::string TComboBox::Item(int index) const {
    LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return Narrow(text);
}

intptr_t TComboBox::ItemData(int index) const {
    return static_cast<intptr_t>(SendMessageW(Handle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int TComboBox::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Item(i), text)) return i;
    return -1;
}

int TComboBox::ItemIndex() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }
void TComboBox::SetItemIndex(int index) { SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

void TComboBox::SetCaption(const std::string& text) {
    if (FStyle == TComboBoxStyle::csDropDownList)
        SetItemIndex(IndexOf(text));
    else
        TControl::SetCaption(text);
}

bool TComboBox::DroppedDown() const { return SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

LRESULT TComboBox::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Focus reaches the edit part of an editable combo box, so enter and exit come from the
    // combo box's notifications instead.
    if (msg == WM_SETFOCUS || msg == WM_KILLFOCUS) return DefaultHandler(msg, wParam, lParam);
    return TControl::WndProc(msg, wParam, lParam);
}

bool TComboBox::Command(WORD code) {
    switch (code) {
        case CBN_SELCHANGE:
        case CBN_EDITCHANGE:
            DoChange();
            return true;
        case CBN_SETFOCUS:
            DoEnter();
            return true;
        case CBN_KILLFOCUS:
            DoExit();
            return true;
        case CBN_DROPDOWN:
            FitDropDownWidth();
            return true;
        default:
            return false;
    }
}

void TComboBox::FitDropDownWidth() {
    TWindowDC dc(Handle());
    TSelectObject font(dc.Get(), SharedFont(Font()));
    int widest = 0;
    for (int i = 0; i < Count(); ++i) {
        const std::wstring text = Widen(Item(i));
        SIZE size{};
        GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    // Room for the list's frame, the item's margins and a scroll bar.
    const int wanted = widest + 2 * GetSystemMetrics(SM_CXEDGE) + 8 + GetSystemMetrics(SM_CXVSCROLL);
    const int width = std::min(std::max(wanted, Width()), GetSystemMetrics(SM_CXSCREEN));
    SendMessageW(Handle(), CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

void TComboBox::DoChange() {
    if (OnChange) OnChange(this);
}
