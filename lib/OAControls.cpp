#include "lib/OAControls.h"

#include <algorithm>
#include <cstdio>

#include "core/Format.h"
#include "core/StrConv.h"
#include "lib/AppObj.h"

// --- edit --------------------------------------------------------------------------------------

void TOACustomEditInterface::LimitInput(int maxLength) {
    // A limit the form chose itself may be tighter than the property's; it stays then.
    auto& edit = static_cast<TCustomEdit&>(Control());
    if (maxLength > 0 && (edit.MaxLength() == 0 || edit.MaxLength() > maxLength)) edit.SetMaxLength(maxLength);
}

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
    const std::string text = Trim(edit.Text());
    if (text.empty()) {
        TextToProp(text);
        return;
    }
    int minutes = edit.Minutes();
    if (minutes < 0)
        throw Refusal(Format("%s is geen geldige tijd.\r\nHet veld '%s' kan alleen tijden bevatten.",
                             {text, AppProp()->Desc().PlainCaption()}));
    // One form for every way of typing a time: "8.5" is stored and shown as "08:05".
    const std::string time = FormatTimeOfDay(minutes);
    TextToProp(time);
    if (edit.Text() != time) edit.SetText(time);
}

TOATimeSpinEdit::TOATimeSpinEdit(TControl* parent) : TEdit(parent) {
    // The spin buttons are a child of the edit: the edit must not paint over them.
    ModifyStyle(WS_CLIPCHILDREN);
    FSpin.OnStep = [this](TControl*, int delta) { StepBy(delta); };
    FSpin.SetTabStop(false);
    Resized();
}

void TOATimeSpinEdit::Resized() {
    TEdit::Resized();
    RECT client = ClientRect();
    const int spinWidth = std::min<int>(ScaleToScreen(16), client.right);
    FSpin.SetBounds(client.right - spinWidth, 0, spinWidth, client.bottom);
    // Text stops short of the spin buttons.
    SendMessageW(Handle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, spinWidth));
}

void TOATimeSpinEdit::ScaleBy(int, int) {
    // The spin buttons follow the edit's size, not a scale of their own.
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
