#pragma once
// Windows gives the controls this program draws itself (labels, pictures) no click of their own:
// they are clicked as a button is, the left button pressed over the control and released over it.
#include <windows.h>

class TControl;

// Called by such a control's window procedure before its default handling.
void TrackMouseClick(TControl& control, UINT msg, LPARAM lParam);
