#pragma once
// Starting programs, documents and web pages through the shell.
#include <functional>
#include <string>

struct TShellStart {
    std::string Verb, File, Parameters, Folder;
    int ShowCmd = 1;
};
using TShellHook = std::function<intptr_t(const TShellStart&)>;

// Tests only: shell starts are recorded by the hook instead of starting anything; its answer is the
// result. An empty hook starts programs again.
void SetShellHook(TShellHook hook);

// ShellExecute: the result is above 32 on success.
intptr_t ShellStart(const TShellStart& start);
inline bool ShellStartSucceeded(intptr_t result) { return result > 32; }
