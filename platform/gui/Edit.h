#pragma once
// Single-line edit box (TEdit) and the behaviour it shares with the memo (TCustomEdit).
#include "platform/gui/Control.h"

class TCustomEdit : public TControl {
public:
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int length);  // 0: no limit
    bool ReadOnly() const;
    void SetReadOnly(bool value);
    void SelectAll();
    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    bool Modified() const;
    void SetModified(bool value);
    // Shows every character as `mask` (a secret being typed); 0 shows the text again.
    void SetPasswordChar(wchar_t mask);
    // Lets only digits be typed.
    void SetNumbersOnly(bool value);

    // Fired at every change of the text, by the user or the program.
    TNotifyEvent OnChange;
    // Fired when typed or pasted text was cut at MaxLength (the user lost what came after it).
    TNotifyEvent OnMaxText;

protected:
    TCustomEdit(TControl* parent, DWORD style);
    bool Command(WORD code) override;
    virtual void DoChange();

private:
    int FMaxLength = 0;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TControl* parent);
    void FocusFromKeyboard() override;
};
