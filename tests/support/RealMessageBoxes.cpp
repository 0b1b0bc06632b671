#include "RealMessageBoxes.h"

#include "TestSupport.h"
#include "platform/gui/Messages.h"

TRealMessageBoxes::THookOff::THookOff() { SetMessageHook({}); }
TRealMessageBoxes::THookOff::~THookOff() { SetMessageHook(UnexpectedBox); }

std::vector<std::string> TRealMessageBoxes::Texts() const {
    std::vector<std::string> texts;
    for (const TWatchedWindow& box : FWatcher.Seen()) texts.push_back(box.Text);
    return texts;
}
