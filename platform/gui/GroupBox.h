#pragma once
// Group box: a captioned frame around related controls (their parent).
#include "platform/gui/Control.h"

class TGroupBox : public TControl {
public:
    explicit TGroupBox(TControl* parent, const std::string& caption = {});

protected:
    // The stock group box leaves its inside unpainted.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};
