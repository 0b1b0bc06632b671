#pragma once
// Status bar at the bottom of a form: one simple text, or panels of given widths. It is one line of
// its font high, whatever height it is given.
#include <vector>

#include "platform/gui/Control.h"

class TStatusBar : public TControl {
public:
    explicit TStatusBar(TControl* parent);
    void SetSimpleText(const std::string& text);
    // The simple text last set (the control cannot be asked for it on every system).
    const std::string& SimpleText() const { return FSimpleText; }
    // Widths of the panels; -1 for the last panel stretches it to the right edge.
    void SetPanels(const std::vector<int>& widths);
    void SetPanelText(int panel, const std::string& text);
    std::string PanelText(int panel) const;

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void Resized() override;
    void FontChanged() override;

private:
    int LineHeight() const;
    std::string FSimpleText;
};
