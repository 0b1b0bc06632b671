#include "Source/Common/Catalogue/ServiceListControls.h"

#include <commctrl.h>

#include "Source/Common/Catalogue/ServiceItems.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "platform/gui/Application.h"
#include "platform/gui/Messages.h"

namespace {
const char* const kSource = "Source\\Common\\ServiceListControls";

void ReportError(const std::string& text) { ShowMessageBox(text, TMsgKind::Error, TMsgButtons::OK, "Error"); }
}  // namespace

// --- list view -------------------------------------------------------------------------------------

TServiceItemListView::TServiceItemListView(TControl* parent) : TListView(parent) {}

TServiceItemListView::~TServiceItemListView() {
    if (FComboBox) FComboBox->FListView = nullptr;
}

void TServiceItemListView::SetServiceItem(std::shared_ptr<TServiceItem> item) {
    if (!item) throw EBrantel("TServiceItemListView", "SetServiceItem", "ServiceItem bestaat niet.");
    if (item == FServiceItem) return;
    FServiceItem = std::move(item);
    Rebuild();
}

TServiceRef TServiceItemListView::CurrentService() const {
    int index = Selected();
    return index < 0 ? nullptr : ItemData<IService>(index);
}

void TServiceItemListView::ClearServices() {
    const bool hadSelection = Selected() >= 0;
    Clear();
    // Emptying the list sends no change of selection, yet the selected service is gone.
    if (hadSelection && OnChange) OnChange(this);
}

int TServiceItemListView::IndexOfService(const TServiceRef& service) const {
    for (int i = 0; service && i < Count(); ++i)
        if (ItemData<IService>(i) == service) return i;
    return -1;
}

void TServiceItemListView::Rebuild() {
    TServiceList services;
    if (FProvider && FServiceItem) FProvider->GetServices(FServiceItem, services);
    std::erase(services, nullptr);
    // Coming back to the program rebuilds the list, and mostly it finds what it shows. Such entries
    // stay and only take the new services; deleting and adding them again would cost more than the
    // rest of the refresh together. The selection goes, as with a rebuilt list.
    if (ShowsAlike(services)) {
        SetSelected(-1);
        for (size_t i = 0; i < services.size(); ++i) SetItemData(static_cast<int>(i), services[i]);
        return;
    }
    const TUpdate update(*this);
    ClearServices();
    for (const TServiceRef& service : services) {
        int index = AddItem(service->GetCaption(), service->GetImageIndex(), service);
        SetSubItem(index, 0, service->GetDescription());
    }
    FitToCaptions();
}

bool TServiceItemListView::ShowsAlike(const TServiceList& services) const {
    if (Count() != static_cast<int>(services.size())) return false;
    for (size_t i = 0; i < services.size(); ++i) {
        const int index = static_cast<int>(i);
        const IService& service = *services[i];
        if (ItemCaption(index) != service.GetCaption() || ImageIndex(index) != service.GetImageIndex() ||
            SubItem(index, 0) != service.GetDescription())
            return false;
    }
    return true;
}

void TServiceItemListView::Open() {
    TServiceRef service = CurrentService();
    if (!service) return;
    // The service may show a window, and coming back from it refreshes the main window's list.
    const TServiceItemRef item = FServiceItem;
    if (service->Provide(item)) {
        if (RebuildOnProvided) Rebuild();
    } else {
        ReportError(Format("De service '%s' kon niet gestart worden.", {service->GetCaption()}));
    }
}

void TServiceItemListView::DeleteService() {
    TServiceRef service = CurrentService();
    if (!service || !service->CanDelete()) return;
    const std::string caption = service->GetCaption();
    if (ShowMessageBox(Format("Wilt u service '%s' verwijderen?", {caption}), TMsgKind::Question, TMsgButtons::YesNo,
                       "Confirm") != IDYES)
        return;
    if (!service->Delete(FServiceItem)) {
        ReportError(Format("De service '%s' kon niet verwijderd worden.", {caption}));
        return;
    }
    // The entry is looked up again: while the box asked, the list may have been built afresh.
    const int index = IndexOfService(service);
    service.reset();
    if (index < 0) return;
    DeleteItem(index);
    SetSelected(-1);
    // Only a gap in the middle needs the icons moved up.
    if (index < Count()) {
        Arrange();
        Invalidate();
    }
}

void TServiceItemListView::PrintService(int copies) { PrintService(CurrentService(), copies); }

void TServiceItemListView::PrintService(const TServiceRef& service, int copies) {
    if (!service || !service->CanPrint()) return;
    if (!service->Print(FServiceItem, copies))
        ReportError(Format("De service '%s' kon niet afgedrukt worden.", {service->GetCaption()}));
}

bool TServiceItemListView::Notify(NMHDR* header, LRESULT& result) {
    bool handled = TListView::Notify(header, result);
    if (header->code == NM_DBLCLK) Open();
    if (header->code == NM_RCLICK && PopupMenu) {
        POINT at;
        GetCursorPos(&at);
        ShowPopupMenu(at);
        result = TRUE;  // shown here: no WM_CONTEXTMENU after it
        return true;
    }
    return handled;
}

LRESULT TServiceItemListView::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CONTEXTMENU && PopupMenu) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (lParam == -1) {
            // From the keyboard (Shift+F10, the menu key): below the selected entry, else at the corner.
            RECT entry{};
            const int selected = Selected();
            if (selected >= 0) ListView_GetItemRect(Handle(), selected, &entry, LVIR_ICON);
            at = {entry.left, entry.bottom};
            ClientToScreen(Handle(), &at);
        }
        ShowPopupMenu(at);
        return 0;
    }
    return TListView::WndProc(msg, wParam, lParam);
}

void TServiceItemListView::ShowPopupMenu(POINT at) { PopupMenu->Popup(at.x, at.y); }

// --- selector --------------------------------------------------------------------------------------

TServiceItemComboBox::TServiceItemComboBox(TControl* parent) : TComboBox(parent, TComboBoxStyle::csDropDownList) {}

TServiceItemComboBox::~TServiceItemComboBox() {
    if (FListView) FListView->FComboBox = nullptr;
}

bool TServiceItemComboBox::Accepts(const TServiceItem* item) {
    return dynamic_cast<const TBranApplication*>(item) || dynamic_cast<const TGeneralServiceItem*>(item);
}

std::optional<std::string> TServiceItemComboBox::EntryText(const TServiceItem* item, const TItems& before) {
    if (auto* app = dynamic_cast<const TBranApplication*>(item)) {
        if (app->Name().IsNull() || app->Name().AsString().empty()) return std::nullopt;
        std::string text = app->DisplayText();
        for (const auto& existing : before)
            if (existing->DisplayText() == text) return std::nullopt;
        return text;
    }
    if (auto* general = dynamic_cast<const TGeneralServiceItem*>(item)) return general->Name().AsString();
    throw EBrantel("TServiceItemComboBox", "AddServiceItem",
                   Format("Ongeldig type service item: \"%s\"", {item ? item->ObjClassName() : std::string("nil")}));
}

void TServiceItemComboBox::AddServiceItem(std::shared_ptr<TServiceItem> item) {
    const std::optional<std::string> text = EntryText(item.get(), FItems);
    if (!text) return;
    AddItem(*text);
    FItems.push_back(std::move(item));
}

void TServiceItemComboBox::SetServiceItems(const TItems& items) {
    TItems listed;
    std::vector<std::string> entries;
    for (const auto& item : items) {
        if (!Accepts(item.get())) continue;
        if (std::optional<std::string> text = EntryText(item.get(), listed)) {
            listed.push_back(item);
            entries.push_back(std::move(*text));
        }
    }
    SetItems(entries);
    FItems = std::move(listed);
}

void TServiceItemComboBox::ClearItems() {
    Clear();
    SetItemIndex(-1);
    FItems.clear();
}

std::shared_ptr<TServiceItem> TServiceItemComboBox::CurrentServiceItem() const {
    int index = ItemIndex();
    return index < 0 || index >= static_cast<int>(FItems.size()) ? nullptr : FItems[static_cast<size_t>(index)];
}

void TServiceItemComboBox::SetCurrentServiceItem(TServiceItem* item) {
    if (!item) throw EBrantel("TServiceItemComboBox", "SetCurrentServiceItem", "ServiceItem bestaat niet.");
    if (CurrentServiceItem().get() == item) return;
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].get() == item || Item(static_cast<int>(i)) == item->DisplayText()) {
            SetItemIndex(static_cast<int>(i));
            DoChange();
            return;
        }
    }
    throw EBrantel("TServiceItemComboBox", "SetCurrentServiceItem",
                   Format("ServiceItem '%s' niet gevonden.", {item->Name().AsString()}));
}

void TServiceItemComboBox::DoChange() {
    TComboBox::DoChange();
    if (FListView) {
        if (auto item = CurrentServiceItem()) FListView->SetServiceItem(item);
    }
}

void TServiceItemComboBox::SetListView(TServiceItemListView* listView) {
    BranAssert(listView != nullptr, "Assertion failure", kSource);
    if (listView == FListView) return;
    if (FListView) FListView->FComboBox = nullptr;
    FListView = listView;
    FListView->FComboBox = this;
    if (auto item = CurrentServiceItem()) FListView->SetServiceItem(item);
}

TServiceItemComboBox* MainWindowSelector() {
    auto* selection = dynamic_cast<IServiceItemSelection*>(Application().MainForm());
    return selection ? &selection->ServiceItemSelector() : nullptr;
}
