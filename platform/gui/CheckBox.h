#pragma once
// Check box. OnClick fires when the user toggles it (not when the program sets Checked).
#include "platform/gui/Control.h"

class TCheckBox : public TControl {
public:
    explicit TCheckBox(TControl* parent, const std::string& caption = {});
    bool Checked() const;
    void SetChecked(bool value);

protected:
    bool Command(WORD code) override;
};
