#include "platform/gui/Application.h"

#include <commctrl.h>

#include "core/StrConv.h"
#include "platform/Shell.h"
#include "platform/gui/Form.h"
#include "platform/gui/Messages.h"

TApplication& Application() {
    static TApplication application;
    static bool commonControls = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)commonControls;
    return application;
}

const std::string& TApplication::Title() const { return ApplicationTitle(); }
void TApplication::SetTitle(const std::string& title) { SetApplicationTitle(title); }

void TApplication::Run(TForm& mainForm) {
    FMainForm = &mainForm;
    FTerminated = false;
    mainForm.Show();
    while (!FTerminated && HandleMessage()) {
    }
    FMainForm = nullptr;
}

void TApplication::Terminate() {
    FTerminated = true;
    PostQuitMessage(0);
}

void TApplication::DispatchOne(MSG& msg) {
    ++FMessagesHandled;
    TControl* target = nullptr;
    for (HWND h = msg.hwnd; h && !target; h = GetAncestor(h, GA_PARENT)) target = TControl::FromHandle(h);
    if (TForm* form = target ? target->ParentForm() : nullptr) {
        bool handled = false;
        ReportExceptions([&] { handled = form->PreTranslateMessage(msg); });
        if (handled) return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool TApplication::HandleMessage() {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
        FTerminated = true;
        return false;
    }
    DispatchOne(msg);
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

void TApplication::Activated(bool active) {
    if (active == FActive) return;
    FActive = active;
    FActivatedAtMessage = FMessagesHandled;
    ReportExceptions([&] {
        if (active && OnActivate) OnActivate(nullptr);
        if (!active && OnDeactivate) OnDeactivate(nullptr);
    });
}

bool TApplication::HelpContext(int context) {
    if (HelpFile.empty()) return false;
    TShellStart start;
    start.Verb = "open";
    start.File = "WinHelp.Exe";
    start.Parameters = "-n " + IntToStr(context) + " " + HelpFile;
    return ShellStartSucceeded(ShellStart(start));
}
