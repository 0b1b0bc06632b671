#pragma once
// Bevel: an etched box, frame or line.
#include "platform/gui/Control.h"

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

class TBevel : public TControl {
public:
    explicit TBevel(TControl* parent, TBevelShape shape = TBevelShape::bsBox);
    TBevelShape Shape() const { return FShape; }
    void SetShape(TBevelShape shape);
    TBevelStyle Style() const { return FStyle; }
    void SetStyle(TBevelStyle style);

protected:
    void Paint(HDC dc) override;

private:
    TBevelShape FShape;
    TBevelStyle FStyle = TBevelStyle::bsLowered;
};
