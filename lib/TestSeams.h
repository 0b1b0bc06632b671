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

// Modal windows: ShowModal calls the hook once the window is visible; the hook fills fields and presses
// buttons, and the modal loop then ends on the window's own result (mrNone when nothing closed it).
// An empty hook restores the real modal loop.
class TForm;
using TModalHook = std::function<void(TForm& form)>;
void SetModalHook(TModalHook hook);

// Common dialogs: the hooks answer instead of the user. The file hook answers the chosen path or
// nullopt (cancelled); the print hook edits the request and answers true for OK. Empty hooks restore
// the real dialogs.
struct TFileDialogRequest;
struct TPrintDialogRequest;
using TFileDialogHook = std::function<std::optional<std::string>(const TFileDialogRequest& request)>;
using TPrintDialogHook = std::function<bool(TPrintDialogRequest& request)>;
void SetFileDialogHook(TFileDialogHook hook);
void SetPrintDialogHook(TPrintDialogHook hook);
