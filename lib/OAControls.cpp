#include "lib/OAControls.h"

#include <cstdio>

#include "core/StrConv.h"
#include "lib/AppObj.h"

// --- edit --------------------------------------------------------------------------------------

void TOAEditInterface::PropToControl() {
    auto& edit = static_cast<TEdit&>(Control());
    edit.SetText(AppProp() ? AppProp()->AsString() : std::string());
}

void TOAEditInterface::ControlToProp() { TextToProp(static_cast<TEdit&>(Control()).Text()); }

TOAEdit::TOAEdit(TControl* parent) : TEdit(parent) {}

void TOAEdit::DoEnter() {
    TEdit::DoEnter();
    FOAC.DoEnter();
}

void TOAEdit::DoExit() {
    FOAC.DoExit();
    TEdit::DoExit();
}

void TOAEdit::DoChange() {
    TEdit::DoChange();
    FOAC.DoChange();
}

// --- memo --------------------------------------------------------------------------------------

void TOAMemoInterface::PropToControl() {
    static_cast<TMemo&>(Control()).SetText(AppProp() ? AppProp()->AsString() : std::string());
}

void TOAMemoInterface::ControlToProp() { TextToProp(static_cast<TMemo&>(Control()).Text()); }

TOAMemo::TOAMemo(TControl* parent) : TBranCustomMemo(parent) {}

void TOAMemo::DoEnter() {
    TBranCustomMemo::DoEnter();
    FOAC.DoEnter();
}

void TOAMemo::DoExit() {
    FOAC.DoExit();
    TBranCustomMemo::DoExit();
}

void TOAMemo::DoChange() {
    TBranCustomMemo::DoChange();
    FOAC.DoChange();
}

// --- combo box ---------------------------------------------------------------------------------

void TOAComboBoxInterface::PropToControl() {
    static_cast<TComboBox&>(Control()).SetText(AppProp() ? AppProp()->AsString() : std::string());
}

void TOAComboBoxInterface::ControlToProp() { TextToProp(static_cast<TComboBox&>(Control()).Text()); }

TOAComboBox::TOAComboBox(TControl* parent, TComboBoxStyle style, bool sorted) : TComboBox(parent, style, sorted) {}

void TOAComboBox::DoEnter() {
    TComboBox::DoEnter();
    FOAC.DoEnter();
}

void TOAComboBox::DoExit() {
    FOAC.DoExit();
    TComboBox::DoExit();
}

void TOAComboBox::DoChange() {
    TComboBox::DoChange();
    FOAC.DoChange();
}

// --- check box ---------------------------------------------------------------------------------

void TOACheckBoxInterface::PropToControl() {
    auto& box = static_cast<TCheckBox&>(Control());
    box.SetChecked(AppProp() && !AppProp()->IsNull() && AppProp()->AsBoolean());
}

void TOACheckBoxInterface::ControlToProp() {
    AppProp()->SetAsVariant(TVariant(static_cast<TCheckBox&>(Control()).Checked()));
}

TOACheckBox::TOACheckBox(TControl* parent, const std::string& caption) : TCheckBox(parent, caption) {}

void TOACheckBox::Click() {
    TCheckBox::Click();
    FOAC.DoChange();
}

void TOACheckBox::DoEnter() {
    TCheckBox::DoEnter();
    FOAC.DoEnter();
}

void TOACheckBox::DoExit() {
    FOAC.DoExit();
    TCheckBox::DoExit();
}

// --- label -------------------------------------------------------------------------------------

void TOALabelInterface::PropToControl() {
    auto& label = static_cast<TOALabel&>(Control());
    if (!AppProp()) return;
    label.SetCaption(label.ShowCaption ? AppProp()->Desc().Caption() : AppProp()->AsString());
}

TOALabel::TOALabel(TControl* parent) : TLabel(parent) {}

// --- time spin edit ----------------------------------------------------------------------------

int ParseTimeOfDay(const std::string& text) {
    std::string t = Trim(text);
    int hours = 0, minutes = 0;
    char separator = 0, extra = 0;
    int fields = std::sscanf(t.c_str(), "%d%c%d%c", &hours, &separator, &minutes, &extra);
    if (fields == 1 && t.find_first_not_of("0123456789") == std::string::npos) {
        minutes = 0;
    } else if (fields != 3 || (separator != ':' && separator != '.')) {
        return -1;
    }
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return -1;
    return hours * 60 + minutes;
}

std::string FormatTimeOfDay(int minutes) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", (minutes / 60) % 24, minutes % 60);
    return buffer;
}

void TOATimeSpinEditInterface::PropToControl() {
    static_cast<TOATimeSpinEdit&>(Control()).SetText(AppProp() ? AppProp()->AsString() : std::string());
}

void TOATimeSpinEditInterface::ControlToProp() {
    auto& edit = static_cast<TOATimeSpinEdit&>(Control());
    int minutes = edit.Minutes();
    // A recognisable time is stored in one form; anything else goes to the property as typed, which
    // keeps or refuses it by its own rules.
    TextToProp(minutes >= 0 ? FormatTimeOfDay(minutes) : edit.Text());
}

TOATimeSpinEdit::TOATimeSpinEdit(TControl* parent) : TEdit(parent), FSpin(parent) {
    FSpin.OnStep = [this](TControl*, int delta) { StepBy(delta); };
    FSpin.SetTabStop(false);
}

void TOATimeSpinEdit::SetBounds(int left, int top, int width, int height) {
    int spinWidth = ScaleToScreen(16);
    TEdit::SetBounds(left, top, width - spinWidth, height);
    FSpin.SetBounds(left + width - spinWidth, top, spinWidth, height);
}

void TOATimeSpinEdit::SetVisible(bool visible) {
    TEdit::SetVisible(visible);
    FSpin.SetVisible(visible);
}

void TOATimeSpinEdit::SetEnabled(bool enabled) {
    TEdit::SetEnabled(enabled);
    FSpin.SetEnabled(enabled);
}

int TOATimeSpinEdit::Minutes() const { return ParseTimeOfDay(Text()); }

void TOATimeSpinEdit::SetMinutes(int minutes) {
    minutes = ((minutes % 1440) + 1440) % 1440;
    SetText(FormatTimeOfDay(minutes));
}

void TOATimeSpinEdit::StepBy(int steps) {
    int current = Minutes();
    if (current < 0) current = 0;
    // Steps land on multiples of the increment, as a clock's minute hand would.
    int next = steps > 0 ? (current / Increment + steps) * Increment : ((current + Increment - 1) / Increment + steps) * Increment;
    SetMinutes(next);
    SelectAll();
}

LRESULT TOATimeSpinEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        StepBy(wParam == VK_UP ? 1 : -1);
        return 0;
    }
    return TEdit::WndProc(msg, wParam, lParam);
}

void TOATimeSpinEdit::DoEnter() {
    TEdit::DoEnter();
    FOAC.DoEnter();
}

void TOATimeSpinEdit::DoExit() {
    FOAC.DoExit();
    TEdit::DoExit();
}

void TOATimeSpinEdit::DoChange() {
    TEdit::DoChange();
    FOAC.DoChange();
}
