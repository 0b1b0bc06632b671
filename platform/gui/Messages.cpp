#include "platform/gui/Messages.h"

#include <windows.h>

#include "core/Exceptions.h"
#include "core/StrConv.h"

namespace {
std::string& Title() {
    static std::string title;
    return title;
}

TMessageHook& Hook() {
    static TMessageHook hook;
    return hook;
}

UINT KindFlags(TMsgKind kind) {
    switch (kind) {
        case TMsgKind::Question: return MB_ICONQUESTION;
        case TMsgKind::None: return 0;
        case TMsgKind::Error: return MB_ICONERROR;
        case TMsgKind::Warning: return MB_ICONWARNING;
        case TMsgKind::Information: return MB_ICONINFORMATION;
        case TMsgKind::Exclamation: return MB_ICONEXCLAMATION;
    }
    return 0;
}

UINT ButtonFlags(TMsgButtons buttons) {
    switch (buttons) {
        case TMsgButtons::AbortRetryIgnore: return MB_ABORTRETRYIGNORE;
        case TMsgButtons::OK: return MB_OK;
        case TMsgButtons::OKCancel: return MB_OKCANCEL;
        case TMsgButtons::RetryCancel: return MB_RETRYCANCEL;
        case TMsgButtons::YesNo: return MB_YESNO;
        case TMsgButtons::YesNoCancel: return MB_YESNOCANCEL;
    }
    return MB_OK;
}
}  // namespace

const std::string& ApplicationTitle() { return Title(); }
void SetApplicationTitle(const std::string& title) { Title() = title; }

void SetMessageHook(TMessageHook hook) { Hook() = std::move(hook); }

int ShowMessageBox(const std::string& text, TMsgKind kind, TMsgButtons buttons, const std::string& title) {
    const std::string& caption = title.empty() ? Title() : title;
    if (Hook()) return Hook()(TMessageRecord{caption, text, kind, buttons});
    HWND owner = GetActiveWindow();
    int answer = MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(),
                             KindFlags(kind) | ButtonFlags(buttons) | MB_TASKMODAL);
    if (answer == 0) throw EBrantel("Niet genoeg geheugen om melding te tonen.");
    return answer;
}

void ShowInformation(const std::string& text) { ShowMessageBox(text, TMsgKind::Information, TMsgButtons::OK); }
void ShowWarning(const std::string& text) { ShowMessageBox(text, TMsgKind::Warning, TMsgButtons::OK); }
void ShowError(const std::string& text) { ShowMessageBox(text, TMsgKind::Error, TMsgButtons::OK); }
bool AskYesNo(const std::string& text) {
    return ShowMessageBox(text, TMsgKind::Question, TMsgButtons::YesNo) == IDYES;
}

void ShowException(const std::exception& e) {
    try {
        ShowError(ExceptionText(e));
    } catch (...) {
        // Nothing sensible is left to do when even the box fails.
    }
}
