#include "platform/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include "core/StrConv.h"

namespace {
TShellHook& Hook() {
    static TShellHook hook;
    return hook;
}

const wchar_t* OrNull(const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); }
}  // namespace

void SetShellHook(TShellHook hook) { Hook() = std::move(hook); }

intptr_t ShellStart(const TShellStart& start) {
    if (Hook()) return Hook()(start);
    std::wstring verb = Widen(start.Verb), file = Widen(start.File), params = Widen(start.Parameters),
                 folder = Widen(start.Folder);
    HINSTANCE h = ShellExecuteW(GetActiveWindow(), OrNull(verb), file.c_str(), OrNull(params), OrNull(folder),
                                start.ShowCmd);
    return reinterpret_cast<intptr_t>(h);
}
