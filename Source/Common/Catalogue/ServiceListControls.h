#pragma once
// The two controls that put the service catalogue on the screen: a drop-down list of service items
// and a list view of the services of the selected item. Both are the standard Windows controls, so
// screen readers and automation tools see their entries.
//
// The list view asks its service provider for an item's services and keeps one counted reference
// per entry; clearing the entries releases them. The selector shares ownership of its items, so an
// item detached by a refill stays alive while a service, report or window still holds it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Source/Common/Catalogue/ServiceInterface.h"
#include "platform/gui/ComboBox.h"
#include "platform/gui/ListView.h"
#include "platform/gui/Menu.h"

class TServiceItemComboBox;

class TServiceItemListView : public TListView {
public:
    explicit TServiceItemListView(TControl* parent);
    ~TServiceItemListView() override;

    // Makes the item current and rebuilds the entries when it differs from the current one.
    void SetServiceItem(std::shared_ptr<TServiceItem> item);
    const TServiceItemRef& ServiceItem() const { return FServiceItem; }
    void SetServiceProvider(std::shared_ptr<IServiceCollector> provider) { FProvider = std::move(provider); }

    // The service of the selected entry, or null.
    TServiceRef CurrentService() const;
    // Opens the selected service; a failure is reported ("De service '%s' kon niet gestart worden.").
    void Open();
    // Asks, then deletes the selected service when it can be deleted.
    void DeleteService();
    void PrintService(int copies);
    // Prints the given service, chosen before a dialog asked for the copies.
    void PrintService(const TServiceRef& service, int copies);
    // The entry that shows the service, or -1.
    int IndexOfService(const TServiceRef& service) const;
    void Rebuild();
    void ClearServices();

    // Rebuild after a service was opened successfully (a new report or a removed update shows).
    bool RebuildOnProvided = false;
    // The menu a right click, Shift+F10 or the menu key shows.
    TPopupMenu* PopupMenu = nullptr;

    // Set by the selector when it links to this list view.
    TServiceItemComboBox* ComboBox() const { return FComboBox; }

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TServiceItemComboBox;
    void ShowPopupMenu(POINT at);
    // True when the entries show exactly these services' captions, pictures and descriptions.
    bool ShowsAlike(const TServiceList& services) const;
    TServiceItemComboBox* FComboBox = nullptr;
    std::shared_ptr<TServiceItem> FServiceItem;
    std::shared_ptr<IServiceCollector> FProvider;
};

class TServiceItemComboBox : public TComboBox {
public:
    explicit TServiceItemComboBox(TControl* parent);
    ~TServiceItemComboBox() override;

    // Applications with a name are added once per display text; the general item under its name;
    // any other kind of item is refused (EBrantel "Ongeldig type service item").
    void AddServiceItem(std::shared_ptr<TServiceItem> item);
    // Empties the selector and adds the items it lists (others are passed over), as ClearItems and
    // AddServiceItem would; entries that read as before stay in the box (see TComboBox::SetItems).
    void SetServiceItems(const std::vector<std::shared_ptr<TServiceItem>>& items);
    // True for the kinds of item the selector lists (applications and the general item); any other
    // kind given to AddServiceItem is refused with an exception.
    static bool Accepts(const TServiceItem* item);
    // Empties the selector; the items stay alive as long as others still hold them.
    void ClearItems();
    // Selects the item's entry and shows its services; unknown items are refused.
    void SetCurrentServiceItem(TServiceItem* item);
    std::shared_ptr<TServiceItem> CurrentServiceItem() const;
    const std::vector<std::shared_ptr<TServiceItem>>& Items() const { return FItems; }

    TServiceItemListView* ListView() const { return FListView; }
    void SetListView(TServiceItemListView* listView);

protected:
    void DoChange() override;

private:
    friend class TServiceItemListView;
    using TItems = std::vector<std::shared_ptr<TServiceItem>>;
    // The item's entry, or nothing when an entry before it reads the same or it has no name.
    static std::optional<std::string> EntryText(const TServiceItem* item, const TItems& before);
    TItems FItems;  // in entry order
    TServiceItemListView* FListView = nullptr;
};

// The window whose selector names the item the user works on: the main window. Windows opened from
// it (the problem solver, the online update) start on that item; they ask through MainWindowSelector.
class IServiceItemSelection {
public:
    virtual ~IServiceItemSelection() = default;
    virtual TServiceItemComboBox& ServiceItemSelector() = 0;
};

// The main window's selector, or null when the program's main window has none (a window opened on
// its own, as in the tests and the gallery).
TServiceItemComboBox* MainWindowSelector();
