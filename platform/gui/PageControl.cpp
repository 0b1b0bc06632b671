#include "platform/gui/PageControl.h"

#include <commctrl.h>

#include <algorithm>

#include "core/StrConv.h"

TPageControl::TPageControl(TControl* parent) : TControl(parent) {
    CreateStockWindow(WC_TABCONTROLW, WS_TABSTOP | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
}

TPageControl::~TPageControl() {
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
}

void TPageControl::AddPage(TTabSheet* page) {
    FPages.push_back(page);
    UpdateTabs();
    if (!FActivePage) SetActivePage(page);
    Resized();
}

void TPageControl::RemovePage(TTabSheet* page) {
    std::erase(FPages, page);
    if (FActivePage == page) FActivePage = nullptr;
    UpdateTabs();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::UpdateTabs() {
    SendMessageW(Handle(), TCM_DELETEALLITEMS, 0, 0);
    int tab = 0;
    for (TTabSheet* page : FPages) {
        if (!page->FTabVisible) continue;
        std::wstring caption = Widen(page->Caption());
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = caption.data();
        item.lParam = reinterpret_cast<LPARAM>(page);
        SendMessageW(Handle(), TCM_INSERTITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item));
        if (page == FActivePage) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
        ++tab;
    }
}

TTabSheet* TPageControl::PageOfTab(int tab) const {
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (tab < 0 || !SendMessageW(Handle(), TCM_GETITEMW, static_cast<WPARAM>(tab), reinterpret_cast<LPARAM>(&item)))
        return nullptr;
    return reinterpret_cast<TTabSheet*>(item.lParam);
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this) return;
    FActivePage = page;
    for (TTabSheet* p : FPages) p->ShowPage(p == page);
    int tab = -1, i = 0;
    for (TTabSheet* p : FPages) {
        if (!p->FTabVisible) continue;
        if (p == page) tab = i;
        ++i;
    }
    SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
}

void TPageControl::SetTabHeight(int height) {
    FTabHeight = height;
    SendMessageW(Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(0, height));
    Resized();
}

RECT TPageControl::DisplayRect() const {
    RECT r = ClientRect();
    if (FTabHeight > 0 && (GetWindowLongW(Handle(), GWL_STYLE) & TCS_BUTTONS)) {
        // Tabs drawn as buttons have no frame: the pages start below the row of buttons, whose
        // height is known, and keep the full width.
        r.top += FTabHeight + 6;
        return r;
    }
    SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

void TPageControl::Resized() {
    RECT r = DisplayRect();
    for (TTabSheet* page : FPages) page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

bool TPageControl::Notify(NMHDR* header, LRESULT& result) {
    if (header->code == TCN_SELCHANGING) {
        bool allow = true;
        if (OnChanging) OnChanging(this, allow);
        result = allow ? FALSE : TRUE;
        return true;
    }
    if (header->code == TCN_SELCHANGE) {
        int tab = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
        SetActivePage(PageOfTab(tab));
        if (OnChange) OnChange(this);
        result = 0;
        return true;
    }
    return false;
}

TTabSheet::TTabSheet(TPageControl* pageControl, const std::string& caption)
    : TControl(pageControl), FPageControl(pageControl) {
    CreateOwnWindow(WS_CLIPCHILDREN, WS_EX_CONTROLPARENT);
    TControl::SetCaption(caption);
    pageControl->AddPage(this);
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
}

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto it = std::find(FPageControl->FPages.begin(), FPageControl->FPages.end(), this);
    return it == FPageControl->FPages.end() ? -1 : static_cast<int>(it - FPageControl->FPages.begin());
}

void TTabSheet::SetTabVisible(bool value) {
    FTabVisible = value;
    if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetCaption(const std::string& caption) {
    TControl::SetCaption(caption);
    if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::ShowPage(bool show) { ShowWindow(Handle(), show ? SW_SHOWNA : SW_HIDE); }

void TTabSheet::Paint(HDC dc) { FillSolidRect(dc, ClientRect(), Color()); }
