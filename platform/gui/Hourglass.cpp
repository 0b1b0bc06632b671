#include "platform/gui/Hourglass.h"

namespace {
HCURSOR g_screenCursor = nullptr;
}

HCURSOR ScreenCursor() { return g_screenCursor; }

void SetScreenCursor(HCURSOR cursor) {
    g_screenCursor = cursor;
    SetCursor(cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW));
}

THourglass::THourglass() : FPrevious(g_screenCursor) { SetScreenCursor(LoadCursorW(nullptr, IDC_WAIT)); }
THourglass::~THourglass() { SetScreenCursor(FPrevious); }
