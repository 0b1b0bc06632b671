// Program start-up: the application title, the main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "Source/Common/Shell/MainForm.h"
#include "core/StrConv.h"
#include "platform/StartupTrace.h"
#include "platform/gui/Application.h"
#include "platform/gui/Messages.h"

namespace {
// The arguments after the program's own name.
std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) return args;
    for (int i = 1; i < count; ++i) args.push_back(Narrow(argv[i]));
    LocalFree(argv);
    return args;
}
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    StartupMark("loaded");
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    Application().SetTitle("Bran-Service");
    try {
        auto main = CreateForm<TfrmMain>(CommandLineArguments());
        StartupMark("created");
        Application().Run(*main);
    } catch (const std::exception& e) {
        ShowException(e);
        return 1;
    }
    return 0;
}
