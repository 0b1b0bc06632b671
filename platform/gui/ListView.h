#pragma once
// List view in the four Explorer views. Each item has a caption, sub-items, an image and optionally
// data the list keeps alive (shared) until the item is deleted.
#include <memory>
#include <vector>

#include "platform/gui/Control.h"

class TImageList;

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

struct TListColumn {
    std::string Caption;
    int Width = 100;
    TAlignment Alignment = TAlignment::taLeftJustify;
};

class TListView : public TControl {
public:
    explicit TListView(TControl* parent);
    void ScaleBy(int m, int d) override;

    TViewStyle ViewStyle() const { return FViewStyle; }
    // Switches the view; the items stay.
    void SetViewStyle(TViewStyle style);
    void SetLargeImages(TImageList* images);
    void SetSmallImages(TImageList* images);
    bool Checkboxes() const;
    void SetCheckboxes(bool value);
    void SetReadOnly(bool value);  // no label editing
    void SetMultiSelect(bool value);
    void SetRowSelect(bool value);

    // Column widths are pixels; scaling the list view to the screen scales them with it.
    void AddColumn(const TListColumn& column);
    int ColumnCount() const;
    TListColumn Column(int index) const;

    // Appends an item and answers its index.
    int AddItem(const std::string& caption, int imageIndex = -1, std::shared_ptr<void> data = {});
    void DeleteItem(int index);
    void Clear();
    // While one lives, the list is not drawn: it is drawn once when the last one ends. Refilling a
    // visible list item by item otherwise arranges and draws it after every item.
    class TUpdate {
    public:
        explicit TUpdate(TListView& list);
        ~TUpdate();
        TUpdate(const TUpdate&) = delete;
        TUpdate& operator=(const TUpdate&) = delete;

    private:
        TListView& FList;
    };
    int Count() const;
    std::string ItemCaption(int index) const;
    void SetItemCaption(int index, const std::string& caption);
    // Sub-item 0 is the second column.
    std::string SubItem(int index, int subItem) const;
    void SetSubItem(int index, int subItem, const std::string& text);
    int ImageIndex(int index) const;
    void SetImageIndex(int index, int imageIndex);
    template <class T>
    std::shared_ptr<T> ItemData(int index) const {
        return std::static_pointer_cast<T>(RawItemData(index));
    }
    std::shared_ptr<void> RawItemData(int index) const;
    // Gives the item other data to keep alive (the old data is released).
    void SetItemData(int index, std::shared_ptr<void> data);
    bool Checked(int index) const;
    void SetChecked(int index, bool value);

    // The focused-and-selected item, or -1.
    int Selected() const;
    void SetSelected(int index);  // -1 clears the selection
    std::vector<int> SelectedItems() const;
    void Arrange();
    void MakeVisible(int index);
    // Makes room for the entries' captions (after a fill): the first column as wide as the widest
    // caption with its picture, never narrower than designed; in the large-icon view, the icons far
    // enough apart for every caption on two lines without a broken word.
    void FitToCaptions();

    // Fired when the selection or an item's check box changes.
    TNotifyEvent OnChange;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;

private:
    long NewDataKey();
    // Where FData keeps the item's data; FData.size() for an item without any.
    size_t DataPosition(int index) const;
    TViewStyle FViewStyle = TViewStyle::vsIcon;
    bool FMultiSelect = false;
    // Item data by the key stored in the item's lParam.
    std::vector<std::pair<long, std::shared_ptr<void>>> FData;
    int FFirstColumnWidth = 0;  // as designed, in the screen's pixels once scaled
    long FNextKey = 1;
    int FUpdates = 0;
};
