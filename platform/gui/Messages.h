#pragma once
// The one routine through which every message box of the program goes.
//
// Boxes are modal, owned by the active window and titled with the application title. Tests install a
// hook (SetMessageHook below) that records each box and answers it instead of the user.
#include <functional>
#include <string>

enum class TMsgKind { Question, None, Error, Warning, Information, Exclamation };
enum class TMsgButtons { AbortRetryIgnore, OK, OKCancel, RetryCancel, YesNo, YesNoCancel };

// The answer: the Windows button identifier (IDOK, IDYES, IDNO, IDCANCEL, ...). Without a title the
// box is titled with the application title.
int ShowMessageBox(const std::string& text, TMsgKind kind, TMsgButtons buttons, const std::string& title = {});

// Shorthands used throughout the program.
void ShowInformation(const std::string& text);
void ShowWarning(const std::string& text);
void ShowError(const std::string& text);
bool AskYesNo(const std::string& text);  // true for "Ja"

// Reports an exception that reached a window procedure or event handler.
void ShowException(const std::exception& e);

const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

struct TMessageRecord {
    std::string Title;
    std::string Text;
    TMsgKind Kind;
    TMsgButtons Buttons;
};
using TMessageHook = std::function<int(const TMessageRecord&)>;

// Tests only: every message box is handed to the hook instead of being shown; its answer is the box's
// answer. An empty hook restores real boxes.
void SetMessageHook(TMessageHook hook);
