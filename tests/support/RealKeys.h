#pragma once
// Keys as the user types them. SendInput puts them into the system's input queue, so the program's
// own message loop gets WM_KEYDOWN, WM_CHAR and WM_SYSCHAR with the shift state GetKeyState reports:
// nothing is posted to a window and no handler is called by the test.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Control.h"

class TForm;

// Presses and releases a key with the modifiers (ssShift, ssCtrl, ssAlt) held down around it.
void TypeKey(WORD key, TShiftState shift = 0);
// Types the characters of a UTF-8 text.
void TypeText(const std::string& text);

using TKeyStep = std::function<void()>;

// Steps that type keys and check what they did, run in a form's real modal loop from a timer, each
// once everything typed before has been handled. A step that adds steps has them run right after
// itself, in the order added (a page's steps can depend on what the page shows).
class TKeyScript {
public:
    TKeyScript() = default;
    TKeyScript(std::initializer_list<TKeyStep> steps) : FSteps(steps) {}
    void Add(TKeyStep step);
    // Every step, those added while running included.
    size_t Count() const { return FSteps.size(); }
    // Shows the form modally and runs the steps. After the last one the form is cancelled unless a
    // step closed it; a run that takes longer than timeoutMs fails the test and is cancelled too.
    // Answers the number of steps that ran.
    size_t Run(TForm& form, DWORD timeoutMs = 30000);

private:
    std::vector<TKeyStep> FSteps;
    size_t FNext = 0;
    size_t FInsertAt = 0;  // while a step runs: where the steps it adds go
    bool FRunning = false;
};
