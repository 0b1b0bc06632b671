#pragma once
// Shows the hourglass for the lifetime of the object and restores the previous screen cursor in every
// case, exceptions included. Windows of the program show the screen cursor while one is set.
#include <windows.h>

class THourglass {
public:
    THourglass();
    ~THourglass();
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

private:
    HCURSOR FPrevious;
};

// The cursor forced over the program's windows, or nullptr for each window's own.
HCURSOR ScreenCursor();
void SetScreenCursor(HCURSOR cursor);
