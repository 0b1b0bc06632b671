#pragma once
// Real message boxes for a test: while the object lives no hook answers them; the box comes up with
// its own modal loop (which disables and later re-activates its owner) and a second thread presses
// its first button, as a user would. The texts of the boxes it closed are kept in order.
#include <string>
#include <vector>

#include "ModalWatcher.h"

class TRealMessageBoxes {
public:
    TRealMessageBoxes() = default;
    std::vector<std::string> Texts() const;

private:
    // Lets boxes come up for real; created before the watcher and gone after it.
    struct THookOff {
        THookOff();
        ~THookOff();
    } FHookOff;
    TModalWatcher FWatcher{L"#32770", TModalWatcher::PressFirstButton()};
};
