#pragma once
// Multi-line edit box. Enter starts a new line instead of pressing the default button; Tab leaves the
// box as from any other control, and Ctrl+Tab types a tab.
#include <vector>

#include "platform/gui/Edit.h"

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit {
public:
    explicit TMemo(TControl* parent, TScrollStyle scrollBars = TScrollStyle::ssVertical, bool wordWrap = true);

    std::vector<std::string> Lines() const;
    void SetLines(const std::vector<std::string>& lines);
    void AddLine(const std::string& line);
    bool TypeTab() override;
};
