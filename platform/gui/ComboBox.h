#pragma once
// Combo box: an editable box with a list (csDropDown) or a pick list only (csDropDownList).
#include "platform/gui/Control.h"

enum class TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TControl {
public:
    explicit TComboBox(TControl* parent, TComboBoxStyle style = TComboBoxStyle::csDropDown, bool sorted = false);

    TComboBoxStyle Style() const { return FStyle; }
    bool Sorted() const { return FSorted; }
    // The height given is the height of the closed box; the list drops below it.
    void SetBounds(int left, int top, int width, int height) override;
    int DropDownCount = 8;

    int AddItem(const std::string& text, intptr_t data = 0);
    // Replaces the entries and clears the selection. Entries that already read exactly so are kept
    // as they are: emptying and refilling the box costs far more than comparing.
    void SetItems(const std::vector<std::string>& items);
    void DeleteItem(int index);
    void Clear();
    int Count() const;
    std::string Item(int index) const;
    intptr_t ItemData(int index) const;
    int IndexOf(const std::string& text) const;  // exact text, case-insensitive; -1 when absent
    int ItemIndex() const;
    void SetItemIndex(int index);
    // In a pick list, setting the text selects the matching item (or none).
    void SetCaption(const std::string& text) override;
    bool DroppedDown() const;

    // Fired when the user picks an item or edits the text.
    TNotifyEvent OnChange;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool Command(WORD code) override;
    virtual void DoChange();

private:
    // The opening list is made wide enough for its longest entry (never narrower than the box).
    void FitDropDownWidth();
    TComboBoxStyle FStyle;
    bool FSorted;
};
