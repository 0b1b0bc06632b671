#pragma once
// The object-aware controls: stock controls that own a binding (lib/OACInterface.h) and pass their
// enter, change and exit events to it.
//     TOAEdit txtUserLastName{&tabPersonal};
//     txtUserLastName.OACInterface().SetAppProp(&user.LastName());
#include "lib/OACInterface.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/ComboBox.h"
#include "platform/gui/Edit.h"
#include "platform/gui/Label.h"
#include "platform/gui/Memo.h"
#include "platform/gui/UpDown.h"

// The binding of the edit kinds (edit, memo, time edit): typing stops at the property's maximum.
class TOACustomEditInterface : public TOACInterface {
public:
    using TOACInterface::TOACInterface;

protected:
    void LimitInput(int maxLength) override;
};

class TOAEditInterface : public TOACustomEditInterface {
public:
    using TOACustomEditInterface::TOACustomEditInterface;
    const char* ClassName() const override { return "TOAEditInterface"; }

protected:
    void PropToControl() override;
    void ControlToProp() override;
};

class TOAEdit : public TEdit, public IOAControl {
public:
    explicit TOAEdit(TControl* parent);
    TOACInterface& OACInterface() override { return FOAC; }
    void SetAppProp(TAppProp* prop) { FOAC.SetAppProp(prop); }

protected:
    void DoEnter() override;
    void DoExit() override;
    void DoChange() override;

private:
    TOAEditInterface FOAC{*this};
};

// The memo base of the library: a memo whose text is one value (lines joined with CR LF).
class TBranCustomMemo : public TMemo {
public:
    using TMemo::TMemo;
};

class TOAMemoInterface : public TOACustomEditInterface {
public:
    using TOACustomEditInterface::TOACustomEditInterface;
    const char* ClassName() const override { return "TOAMemoInterface"; }

protected:
    void PropToControl() override;
    void ControlToProp() override;
};

class TOAMemo : public TBranCustomMemo, public IOAControl {
public:
    explicit TOAMemo(TControl* parent);
    TOACInterface& OACInterface() override { return FOAC; }
    void SetAppProp(TAppProp* prop) { FOAC.SetAppProp(prop); }

protected:
    void DoEnter() override;
    void DoExit() override;
    void DoChange() override;

private:
    TOAMemoInterface FOAC{*this};
};

class TOAComboBoxInterface : public TOACInterface {
public:
    using TOACInterface::TOACInterface;
    const char* ClassName() const override { return "TOAComboBoxInterface"; }

protected:
    void PropToControl() override;
    void ControlToProp() override;
};

class TOAComboBox : public TComboBox, public IOAControl {
public:
    explicit TOAComboBox(TControl* parent, TComboBoxStyle style = TComboBoxStyle::csDropDown, bool sorted = false);
    TOACInterface& OACInterface() override { return FOAC; }
    void SetAppProp(TAppProp* prop) { FOAC.SetAppProp(prop); }

protected:
    void DoEnter() override;
    void DoExit() override;
    void DoChange() override;

private:
    TOAComboBoxInterface FOAC{*this};
};

class TOACheckBoxInterface : public TOACInterface {
public:
    using TOACInterface::TOACInterface;
    const char* ClassName() const override { return "TOACheckBoxInterface"; }

protected:
    void PropToControl() override;
    void ControlToProp() override;
};

class TOACheckBox : public TCheckBox, public IOAControl {
public:
    explicit TOACheckBox(TControl* parent, const std::string& caption = {});
    TOACInterface& OACInterface() override { return FOAC; }
    void SetAppProp(TAppProp* prop) { FOAC.SetAppProp(prop); }
    void Click() override;

protected:
    void DoEnter() override;
    void DoExit() override;

private:
    TOACheckBoxInterface FOAC{*this};
};

class TOALabelInterface : public TOACInterface {
public:
    using TOACInterface::TOACInterface;
    const char* ClassName() const override { return "TOALabelInterface"; }
    bool TakesInput() const override { return false; }

protected:
    void PropToControl() override;
    void ControlToProp() override {}  // a label shows, it never writes
};

// Shows the property's value, or its caption when ShowCaption is set (a caption for a bound field).
class TOALabel : public TLabel, public IOAControl {
public:
    explicit TOALabel(TControl* parent);
    TOACInterface& OACInterface() override { return FOAC; }
    void SetAppProp(TAppProp* prop) { FOAC.SetAppProp(prop); }
    bool ShowCaption = false;

private:
    TOALabelInterface FOAC{*this};
};

class TOATimeSpinEditInterface : public TOACustomEditInterface {
public:
    using TOACustomEditInterface::TOACustomEditInterface;
    const char* ClassName() const override { return "TOATimeSpinEditInterface"; }

protected:
    void PropToControl() override;
    void ControlToProp() override;
};

// A time "HH:MM" with spin buttons (and the arrow keys) that step it by Increment minutes. The spin
// buttons sit inside the edit's own bounds, at its right edge, so the control measures what it
// shows. Text that is not a time of day is refused like any other invalid input.
class TOATimeSpinEdit : public TEdit, public IOAControl {
public:
    explicit TOATimeSpinEdit(TControl* parent);
    TOACInterface& OACInterface() override { return FOAC; }
    void SetAppProp(TAppProp* prop) { FOAC.SetAppProp(prop); }
    int Increment = 15;
    void SetEnabled(bool enabled) override;
    void ScaleBy(int m, int d) override;
    TUpDown& Spin() { return FSpin; }
    // Minutes since midnight of the text, or -1 when it is not a time.
    int Minutes() const;
    void SetMinutes(int minutes);
    void StepBy(int steps);

protected:
    void DoEnter() override;
    void DoExit() override;
    void DoChange() override;
    void Resized() override;
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    TUpDown FSpin{this};
    TOATimeSpinEditInterface FOAC{*this};
};

// "8:5" -> 485; -1 when the text is not a time of day.
int ParseTimeOfDay(const std::string& text);
std::string FormatTimeOfDay(int minutes);  // "08:05"
