#pragma once
// Radio button. The radio buttons with the same parent form one group: checking one unchecks the rest.
#include "platform/gui/Control.h"

class TRadioButton : public TControl {
public:
    explicit TRadioButton(TControl* parent, const std::string& caption = {});
    bool Checked() const;
    void SetChecked(bool value);

protected:
    bool Command(WORD code) override;
};
