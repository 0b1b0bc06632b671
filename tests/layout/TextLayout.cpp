#include "TextLayout.h"

#include <windows.h>
#include <commctrl.h>

#include <typeinfo>

#include "GuiTestSupport.h"
#include "core/StrConv.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListView.h"
#include "platform/gui/RadioButton.h"
#include "platform/gui/StatusBar.h"

std::string Describe(const TControl& control) {
    std::string caption = StripAccelerator(control.Caption());
    if (caption.size() > 40) caption = caption.substr(0, 40) + "...";
    std::string name = typeid(control).name();
    return (control.Name.empty() ? "" : control.Name + " ") + "\"" + caption + "\" (" + name + ")";
}

namespace {
std::string Describe(HWND window) {
    if (TControl* control = TControl::FromHandle(window)) return Describe(*control);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    return "a " + Narrow(className) + " window";
}

// Where a label draws its text, in screen coordinates.
RECT LabelTextRect(const TLabel& label, std::vector<std::string>& faults) {
    const RECT client = label.ClientRect();
    const SIZE text = label.TextExtent();
    if (text.cx > client.right || text.cy > client.bottom)
        faults.push_back(Describe(label) + ": needs " + std::to_string(text.cx) + "x" + std::to_string(text.cy) +
                         " pixels, has " + std::to_string(client.right) + "x" + std::to_string(client.bottom));
    int x = 0, y = 0;
    if (label.Alignment == TAlignment::taCenter) x = (client.right - text.cx) / 2;
    if (label.Alignment == TAlignment::taRightJustify) x = client.right - text.cx;
    if (label.Layout == TTextLayout::tlCenter) y = (client.bottom - text.cy) / 2;
    if (label.Layout == TTextLayout::tlBottom) y = client.bottom - text.cy;
    RECT r{x, y, x + std::min<LONG>(text.cx, client.right), y + std::min<LONG>(text.cy, client.bottom)};
    MapWindowPoints(label.Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Overlaps(HWND window, const RECT& text) {
    RECT bounds, overlap;
    return IsWindowVisible(window) && GetWindowRect(window, &bounds) && IntersectRect(&overlap, &bounds, &text);
}

// Every parent up to the form must show the text whole; no window above the label (or above one of
// its parents) may lie over it, and no field or button below it may run under it.
void CheckUncovered(const TControl& control, const RECT& text, HWND form, std::vector<std::string>& faults) {
    for (HWND w = control.Handle(); w && w != form; w = GetParent(w)) {
        for (HWND above = GetWindow(w, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
            if (Overlaps(above, text)) faults.push_back(Describe(control) + ": covered by " + Describe(above));
        for (HWND below = GetWindow(w, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
            const TControl* sibling = TControl::FromHandle(below);
            if (sibling && (sibling->TabStop() || sibling->IsPushButton()) && Overlaps(below, text))
                faults.push_back(Describe(control) + ": runs under " + Describe(below));
        }
        HWND parent = GetParent(w);
        RECT client;
        GetClientRect(parent, &client);
        MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT inside;
        IntersectRect(&inside, &client, &text);
        if (!EqualRect(&inside, &text)) faults.push_back(Describe(control) + ": cut off by " + Describe(parent));
    }
}

// A check box or radio button: the box, a gap and the caption on one line.
void CheckBoxCaption(const TControl& box, std::vector<std::string>& faults) {
    const SIZE text = CaptionExtent(box, 0, DT_SINGLELINE);
    const int needed = GetSystemMetrics(SM_CXMENUCHECK) + ScaleToScreen(4) + text.cx;
    if (needed > box.Width())
        faults.push_back(Describe(box) + ": needs " + std::to_string(needed) + " pixels, has " + std::to_string(box.Width()));
    if (text.cy > box.Height())
        faults.push_back(Describe(box) + ": text " + std::to_string(text.cy) + " pixels high, box " +
                         std::to_string(box.Height()));
}

int LineHeight(const TControl& control) { return CaptionExtent(control, 0, DT_SINGLELINE).cy; }

// A status bar holds one line of text, at every density.
void CheckStatusBar(const TStatusBar& bar, std::vector<std::string>& faults) {
    const int line = LineHeight(bar);
    if (bar.Height() < line || bar.Height() > line + ScaleToScreen(10))
        faults.push_back(Describe(bar) + ": " + std::to_string(bar.Height()) + " pixels high for a line of " +
                         std::to_string(line));
}

// Every entry's text shows whole: in the details view within the first column, with the picture
// before it; in the large-icon view on at most two lines of the space between icons, no word broken.
// (The list view gives a label the spacing less 12 pixels.)
void CheckListView(const TListView& list, std::vector<std::string>& faults) {
    TWindowDC dc(list.Handle());
    TSelectObject font(dc.Get(), SharedFont(list.Font()));
    const HWND h = list.Handle();
    const int line = LineHeight(list);
    for (int i = 0; i < list.Count(); ++i) {
        const std::wstring text = Widen(list.ItemCaption(i));
        auto fault = [&](const std::string& what) {
            faults.push_back(Describe(list) + ": \"" + list.ItemCaption(i) + "\" " + what);
        };
        if (list.ViewStyle() == TViewStyle::vsReport) {
            RECT label{LVIR_LABEL, 0, 0, 0};
            SendMessageW(h, LVM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&label));
            const int needed = static_cast<int>(SendMessageW(h, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
            if (needed + ScaleToScreen(4) > label.right - label.left)
                fault("needs " + std::to_string(needed) + " pixels, its column gives " + std::to_string(label.right - label.left));
        } else if (list.ViewStyle() == TViewStyle::vsIcon) {
            const int spacing = LOWORD(SendMessageW(h, LVM_GETITEMSPACING, FALSE, 0)), width = spacing - 12;
            if (spacing > list.ClientWidth()) fault("stands in a space wider than the list");
            RECT r{0, 0, width, 0};
            DrawTextW(dc.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_CENTER);
            if (r.right > width || r.bottom > 2 * line)
                fault("needs " + std::to_string(r.right) + "x" + std::to_string(r.bottom) + " pixels, has " +
                      std::to_string(width) + "x" + std::to_string(2 * line));
        }
    }
}

void Walk(const TControl& control, HWND form, std::vector<std::string>& faults) {
    for (const TControl* child : control.Controls()) {
        if (!IsWindowVisible(child->Handle())) continue;
        if (auto* bar = dynamic_cast<const TStatusBar*>(child)) CheckStatusBar(*bar, faults);
        if (auto* list = dynamic_cast<const TListView*>(child)) CheckListView(*list, faults);
        if (!child->Caption().empty()) {
            if (auto* label = dynamic_cast<const TLabel*>(child))
                CheckUncovered(*label, LabelTextRect(*label, faults), form, faults);
            else if (dynamic_cast<const TCheckBox*>(child) || dynamic_cast<const TRadioButton*>(child))
                CheckBoxCaption(*child, faults);
        }
        Walk(*child, form, faults);
    }
}
}  // namespace

std::vector<std::string> TextLayoutFaults(TForm& form) {
    std::vector<std::string> faults;
    Walk(form, form.Handle(), faults);
    return faults;
}
