#include "TextLayout.h"

#include <typeinfo>

#include "GuiTestSupport.h"
#include "core/StrConv.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/RadioButton.h"

namespace {
std::string Describe(const TControl& control) {
    std::string caption = StripAccelerator(control.Caption());
    if (caption.size() > 40) caption = caption.substr(0, 40) + "...";
    std::string name = typeid(control).name();
    return (control.Name.empty() ? "" : control.Name + " ") + "\"" + caption + "\" (" + name + ")";
}

std::string Describe(HWND window) {
    if (TControl* control = TControl::FromHandle(window)) return Describe(*control);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    return "a " + Narrow(className) + " window";
}

// Where a label draws its text, in screen coordinates.
RECT LabelTextRect(const TLabel& label, std::vector<std::string>& faults) {
    const RECT client = label.ClientRect();
    UINT flags = label.WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
    if (!label.ShowAccelChar) flags |= DT_NOPREFIX;
    const SIZE text = CaptionExtent(label, label.WordWrap() ? client.right : 0, flags);
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

// Every parent up to the form must show the text whole, and no window above the label (or above one
// of its parents) may lie over it.
void CheckUncovered(const TControl& control, const RECT& text, HWND form, std::vector<std::string>& faults) {
    for (HWND w = control.Handle(); w && w != form; w = GetParent(w)) {
        for (HWND above = GetWindow(w, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
            RECT bounds, overlap;
            if (IsWindowVisible(above) && GetWindowRect(above, &bounds) && IntersectRect(&overlap, &bounds, &text))
                faults.push_back(Describe(control) + ": covered by " + Describe(above));
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

void Walk(const TControl& control, HWND form, std::vector<std::string>& faults) {
    for (const TControl* child : control.Controls()) {
        if (!IsWindowVisible(child->Handle())) continue;
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
