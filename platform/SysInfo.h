#pragma once
// Which platform family the program runs on.

// True on the NT family (NT 4, 2000, XP and later), false on Windows 95/98/Me.
bool IsWindowsNT();
