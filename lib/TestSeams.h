#pragma once
// The few places where tests take over from the user or the machine. Only tests call these.
#include <functional>
#include <optional>
#include <string>

#include "lib/Messages.h"
#include "platform/Shell.h"

// Every message box is handed to the hook instead of being shown; its answer is the box's answer.
// An empty hook restores real boxes.
void SetMessageHook(TMessageHook hook);

// Shell starts are recorded by the hook instead of starting anything; its answer is the result.
void SetShellHook(TShellHook hook);

// The folder the program treats as its own (reports, updates, temporary downloads); empty resets it
// to the executable's folder.
void SetProgramFolder(const std::string& folder);

// Pretends to run on the NT family (true) or Windows 9x (false); nullopt asks the system again.
void SetPlatformOverride(std::optional<bool> isNT);
