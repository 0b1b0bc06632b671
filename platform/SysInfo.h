#pragma once
// Which platform family the program runs on.
#include <optional>

// True on the NT family (NT 4, 2000, XP and later), false on Windows 95/98/Me.
bool IsWindowsNT();

// Tests only: pretends to run on the NT family (true) or Windows 9x (false); nullopt asks the system
// again.
void SetPlatformOverride(std::optional<bool> isNT);
