#pragma once
// Page control with tab sheets. A sheet whose tab is not visible keeps its place in the page order
// but shows no tab; a disabled sheet shows its tab but its controls take no input.
#include <vector>

#include "platform/gui/Control.h"

class TTabSheet;
using TTabChangingEvent = std::function<void(TControl* sender, bool& allowChange)>;

class TPageControl : public TControl {
public:
    explicit TPageControl(TControl* parent);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const { return FPages.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    // Shows the page (nullptr: none). Fires no events: those belong to the user's tab clicks.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetTabHeight(int height);
    // Where the pages go, in client coordinates.
    RECT DisplayRect() const;

    // A tab click asks first (allowChange starts true), then reports the new page.
    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;
    void Resized() override;

private:
    friend class TTabSheet;
    void AddPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    // Rebuilds the tabs from the visible pages.
    void UpdateTabs();
    TTabSheet* PageOfTab(int tab) const;

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    int FTabHeight = 0;  // 0: the control's own
};

class TTabSheet : public TControl {
public:
    TTabSheet(TPageControl* pageControl, const std::string& caption = {});
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    int PageIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    void SetCaption(const std::string& caption) override;
    // Enabled pages take part in navigation; the visibility of a page belongs to the page control.
    void SetVisible(bool) override {}

protected:
    void Paint(HDC dc) override;

private:
    friend class TPageControl;
    void ShowPage(bool show);
    TPageControl* FPageControl;
    bool FTabVisible = true;
};
