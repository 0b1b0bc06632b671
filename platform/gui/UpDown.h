#pragma once
// Up-down (spin) buttons next to another control.
#include "platform/gui/Control.h"

class TUpDown : public TControl {
public:
    explicit TUpDown(TControl* parent);
    // +1 for up, -1 for down.
    std::function<void(TControl* sender, int delta)> OnStep;

protected:
    bool Notify(NMHDR* header, LRESULT& result) override;
};
