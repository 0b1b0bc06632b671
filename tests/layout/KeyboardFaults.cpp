#include "KeyboardFaults.h"

#include <map>

#include "TextLayout.h"
#include "core/StrConv.h"
#include "platform/gui/Form.h"

namespace {
void Collect(TControl& control, std::map<wchar_t, std::vector<std::string>>& owners, std::vector<std::string>& faults) {
    for (TControl* child : control.Controls()) {
        if (!IsWindowVisible(child->Handle())) continue;
        if (const wchar_t letter = child->AccelChar()) {
            owners[letter].push_back(Describe(*child));
            if (!child->AcceleratorTarget()) faults.push_back(Describe(*child) + ": its letter leads to no field");
        }
        Collect(*child, owners, faults);
    }
}

std::string Letter(wchar_t letter) { return Narrow(std::wstring(1, letter)); }

RECT ScreenRect(const TControl& control) {
    RECT r;
    GetWindowRect(control.Handle(), &r);
    return r;
}

// On one line: the middle of the lower of the two lies within the other's height.
bool SameRow(const RECT& a, const RECT& b) {
    const RECT& low = a.bottom - a.top <= b.bottom - b.top ? a : b;
    const RECT& high = &low == &a ? b : a;
    const LONG middle = (low.top + low.bottom) / 2;
    return middle >= high.top && middle < high.bottom;
}
}  // namespace

std::vector<std::string> ShortcutLetterFaults(TForm& form) {
    std::map<wchar_t, std::vector<std::string>> owners;
    std::vector<std::string> faults;
    Collect(form, owners, faults);
    if (HMENU bar = GetMenu(form.Handle())) {
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            wchar_t text[128] = {};
            GetMenuStringW(bar, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
            if (const wchar_t letter = AcceleratorOf(Narrow(text))) owners[letter].push_back("menu \"" + Narrow(text) + "\"");
        }
    }
    for (const auto& [letter, names] : owners) {
        if (names.size() < 2) continue;
        std::string fault = "Alt+" + Letter(letter) + " belongs to";
        for (const std::string& name : names) fault += " " + name;
        faults.push_back(fault);
    }
    return faults;
}

std::vector<std::string> TabOrderFaults(TForm& form) {
    std::vector<std::string> faults;
    const std::vector<TControl*> order = TForm::TabOrder(&form);
    for (size_t i = 0; i < order.size(); ++i)
        for (size_t j = i + 1; j < order.size(); ++j) {
            const RECT earlier = ScreenRect(*order[i]), later = ScreenRect(*order[j]);
            if (SameRow(earlier, later) && later.right <= earlier.left)
                faults.push_back("Tab goes from " + Describe(*order[i]) + " back to " + Describe(*order[j]) +
                                 " at its left");
        }
    return faults;
}
