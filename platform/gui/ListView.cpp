#include "platform/gui/ListView.h"

#include <commctrl.h>

#include <algorithm>

#include "core/StrConv.h"
#include "platform/gui/ImageList.h"

namespace {
DWORD ViewBits(TViewStyle style) {
    switch (style) {
        case TViewStyle::vsIcon: return LVS_ICON;
        case TViewStyle::vsSmallIcon: return LVS_SMALLICON;
        case TViewStyle::vsList: return LVS_LIST;
        case TViewStyle::vsReport: return LVS_REPORT;
    }
    return LVS_ICON;
}

// A one-line text as DrawText lays it out (no '&' markers in list texts).
SIZE TextSize(HDC dc, const std::wstring& text) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    return {r.right, r.bottom};
}

// The least width at which the list view's label wrapping puts the text on two lines, no word broken.
int TwoLineWidth(HDC dc, const std::wstring& text, int lineHeight) {
    int low = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L' ', start);
        if (end == std::wstring::npos) end = text.size();
        low = std::max(low, static_cast<int>(TextSize(dc, text.substr(start, end - start)).cx));
        start = end + 1;
    }
    int high = std::max(low, static_cast<int>(TextSize(dc, text).cx));
    while (low < high) {
        const int middle = (low + high) / 2;
        RECT r{0, 0, middle, 0};
        DrawTextW(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
        if (r.bottom <= 2 * lineHeight && r.right <= middle)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int ColumnFormat(TAlignment a) {
    return a == TAlignment::taRightJustify ? LVCFMT_RIGHT : a == TAlignment::taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
}
}  // namespace

TListView::TListView(TControl* parent) : TControl(parent) {
    CreateStockWindow(WC_LISTVIEWW, WS_TABSTOP | WS_VISIBLE | LVS_ICON | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_AUTOARRANGE,
                      WS_EX_CLIENTEDGE);
    SetColor(clWindow);
}

TListView::TUpdate::TUpdate(TListView& list) : FList(list) {
    if (FList.FUpdates++ == 0) SendMessageW(FList.Handle(), WM_SETREDRAW, FALSE, 0);
}

TListView::TUpdate::~TUpdate() {
    if (--FList.FUpdates > 0) return;
    SendMessageW(FList.Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FList.Handle(), nullptr, TRUE);
}

void TListView::SetViewStyle(TViewStyle style) {
    FViewStyle = style;
    ModifyStyle(ViewBits(style), LVS_TYPEMASK);
    Arrange();
}

void TListView::SetLargeImages(TImageList* images) {
    ListView_SetImageList(Handle(), images ? images->Handle() : nullptr, LVSIL_NORMAL);
}

void TListView::SetSmallImages(TImageList* images) {
    ListView_SetImageList(Handle(), images ? images->Handle() : nullptr, LVSIL_SMALL);
}

bool TListView::Checkboxes() const { return (ListView_GetExtendedListViewStyle(Handle()) & LVS_EX_CHECKBOXES) != 0; }

void TListView::SetCheckboxes(bool value) {
    ListView_SetExtendedListViewStyleEx(Handle(), LVS_EX_CHECKBOXES, value ? LVS_EX_CHECKBOXES : 0);
}

void TListView::SetReadOnly(bool value) { ModifyStyle(value ? 0 : LVS_EDITLABELS, value ? LVS_EDITLABELS : 0); }

void TListView::SetMultiSelect(bool value) {
    FMultiSelect = value;
    ModifyStyle(value ? 0 : LVS_SINGLESEL, value ? LVS_SINGLESEL : 0);
}

void TListView::SetRowSelect(bool value) {
    ListView_SetExtendedListViewStyleEx(Handle(), LVS_EX_FULLROWSELECT, value ? LVS_EX_FULLROWSELECT : 0);
}

void TListView::AddColumn(const TListColumn& column) {
    std::wstring caption = Widen(column.Caption);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.pszText = caption.data();
    c.cx = column.Width;
    c.fmt = ColumnFormat(column.Alignment);
    c.iSubItem = ColumnCount();
    if (c.iSubItem == 0) FFirstColumnWidth = column.Width;
    SendMessageW(Handle(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(c.iSubItem), reinterpret_cast<LPARAM>(&c));
}

void TListView::ScaleBy(int m, int d) {
    TControl::ScaleBy(m, d);
    FFirstColumnWidth = MulDiv(FFirstColumnWidth, m, d);
    for (int i = 0; i < ColumnCount(); ++i)
        ListView_SetColumnWidth(Handle(), i, MulDiv(ListView_GetColumnWidth(Handle(), i), m, d));
}

int TListView::ColumnCount() const {
    HWND header = ListView_GetHeader(Handle());
    return header ? Header_GetItemCount(header) : 0;
}

TListColumn TListView::Column(int index) const {
    wchar_t buffer[260] = {};
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.pszText = buffer;
    c.cchTextMax = 260;
    SendMessageW(Handle(), LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&c));
    TListColumn column;
    column.Caption = Narrow(buffer);
    column.Width = c.cx;
    int fmt = c.fmt & LVCFMT_JUSTIFYMASK;
    column.Alignment = fmt == LVCFMT_RIGHT    ? TAlignment::taRightJustify
                       : fmt == LVCFMT_CENTER ? TAlignment::taCenter
                                              : TAlignment::taLeftJustify;
    return column;
}

long TListView::NewDataKey() { return FNextKey++; }

int TListView::AddItem(const std::string& caption, int imageIndex, std::shared_ptr<void> data) {
    std::wstring text = Widen(caption);
    long key = NewDataKey();
    FData.emplace_back(key, std::move(data));
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = Count();
    item.pszText = text.data();
    item.iImage = imageIndex;
    item.lParam = key;
    int index = static_cast<int>(SendMessageW(Handle(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) std::erase_if(FData, [key](const auto& entry) { return entry.first == key; });
    return index;
}

void TListView::DeleteItem(int index) { ListView_DeleteItem(Handle(), index); }

void TListView::Clear() { ListView_DeleteAllItems(Handle()); }

int TListView::Count() const { return ListView_GetItemCount(Handle()); }

std::string TListView::ItemCaption(int index) const { return SubItem(index, -1); }

void TListView::SetItemCaption(int index, const std::string& caption) { SetSubItem(index, -1, caption); }

std::string TListView::SubItem(int index, int subItem) const {
    wchar_t buffer[1024] = {};
    LVITEMW item{};
    item.iSubItem = subItem + 1;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return Narrow(buffer);
}

void TListView::SetSubItem(int index, int subItem, const std::string& text) {
    std::wstring wide = Widen(text);
    LVITEMW item{};
    item.iSubItem = subItem + 1;
    item.pszText = wide.data();
    SendMessageW(Handle(), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TListView::ImageIndex(int index) const {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void TListView::SetImageIndex(int index, int imageIndex) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    item.iImage = imageIndex;
    SendMessageW(Handle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

size_t TListView::DataPosition(int index) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (!SendMessageW(Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return FData.size();
    auto it = std::find_if(FData.begin(), FData.end(), [&](const auto& entry) { return entry.first == item.lParam; });
    return static_cast<size_t>(it - FData.begin());
}

std::shared_ptr<void> TListView::RawItemData(int index) const {
    const size_t position = DataPosition(index);
    return position < FData.size() ? FData[position].second : nullptr;
}

void TListView::SetItemData(int index, std::shared_ptr<void> data) {
    const size_t position = DataPosition(index);
    if (position < FData.size()) FData[position].second = std::move(data);
}

bool TListView::Checked(int index) const { return ListView_GetCheckState(Handle(), index) != 0; }

void TListView::SetChecked(int index, bool value) { ListView_SetCheckState(Handle(), index, value); }

int TListView::Selected() const { return ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); }

void TListView::SetSelected(int index) {
    ListView_SetItemState(Handle(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0) ListView_SetItemState(Handle(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::vector<int> TListView::SelectedItems() const {
    std::vector<int> result;
    for (int i = ListView_GetNextItem(Handle(), -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(Handle(), i, LVNI_SELECTED))
        result.push_back(i);
    return result;
}

void TListView::Arrange() { ListView_Arrange(Handle(), LVA_DEFAULT); }

void TListView::FitToCaptions() {
    TWindowDC dc(Handle());
    TSelectObject font(dc.Get(), SharedFont(Font()));
    const int lineHeight = TextSize(dc.Get(), L" ").cy;
    int widest = 0, twoLines = 0;
    for (int i = 0; i < Count(); ++i) {
        const std::wstring text = Widen(ItemCaption(i));
        widest = std::max(widest, static_cast<int>(TextSize(dc.Get(), text).cx));
        twoLines = std::max(twoLines, TwoLineWidth(dc.Get(), text, lineHeight));
    }
    if (ColumnCount() > 0) {
        int picture = 0, pictureHeight = 0;
        if (HIMAGELIST small = ListView_GetImageList(Handle(), LVSIL_SMALL)) ImageList_GetIconSize(small, &picture, &pictureHeight);
        LVCOLUMNW c{};
        c.mask = LVCF_WIDTH;
        c.cx = std::max(FFirstColumnWidth, widest + picture + ScaleToScreen(16));
        SendMessageW(Handle(), LVM_SETCOLUMNW, 0, reinterpret_cast<LPARAM>(&c));
    }
    SendMessageW(Handle(), LVM_SETICONSPACING, 0, static_cast<LPARAM>(-1));  // the system's spacing
    const DWORD spacing = static_cast<DWORD>(SendMessageW(Handle(), LVM_GETITEMSPACING, FALSE, 0));
    const int width = std::max<int>(LOWORD(spacing), twoLines + ScaleToScreen(16));
    SendMessageW(Handle(), LVM_SETICONSPACING, 0, MAKELPARAM(width, HIWORD(spacing)));
    if (FViewStyle == TViewStyle::vsIcon) Arrange();
}

void TListView::MakeVisible(int index) { ListView_EnsureVisible(Handle(), index, FALSE); }

bool TListView::Notify(NMHDR* header, LRESULT& result) {
    result = 0;
    switch (header->code) {
        case LVN_DELETEITEM: {
            long key = static_cast<long>(reinterpret_cast<NMLISTVIEW*>(header)->lParam);
            std::erase_if(FData, [key](const auto& entry) { return entry.first == key; });
            return true;
        }
        case LVN_DELETEALLITEMS:
            FData.clear();
            result = TRUE;  // no LVN_DELETEITEM per item needed
            return true;
        case LVN_ITEMCHANGED: {
            auto* change = reinterpret_cast<NMLISTVIEW*>(header);
            const UINT watched = LVIS_SELECTED | LVIS_STATEIMAGEMASK;  // the selection and the check box
            if ((change->uChanged & LVIF_STATE) && ((change->uOldState ^ change->uNewState) & watched) && OnChange)
                OnChange(this);
            return true;
        }
        case NM_DBLCLK:
            if (OnDblClick) OnDblClick(this);
            return true;
        case NM_CLICK:
            if (OnClick) OnClick(this);
            return true;
        default:
            return false;
    }
}
