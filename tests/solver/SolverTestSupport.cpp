#include "SolverTestSupport.h"

#include <mutex>

#include "core/StrConv.h"

namespace {
std::mutex TextLock;

struct TFoundBox {
    DWORD Process;
    HWND Box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data) {
    auto* found = reinterpret_cast<TFoundBox*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (process == found->Process && IsWindowVisible(window) && std::wstring(className) == L"#32770") {
        found->Box = window;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

TRealBoxCloser::TRealBoxCloser(int button) {
    SetMessageHook({});
    FThread = std::thread([this, button] {
        while (!FStop) {
            TFoundBox found{GetCurrentProcessId()};
            EnumWindows(FindBox, reinterpret_cast<LPARAM>(&found));
            if (found.Box) {
                wchar_t text[1024] = {};
                GetDlgItemTextW(found.Box, 0xFFFF, text, 1024);
                {
                    std::lock_guard<std::mutex> lock(TextLock);
                    FText = Narrow(text);
                }
                Sleep(100);  // long enough for the box to run its own loop for a moment
                PostMessageW(found.Box, WM_COMMAND, static_cast<WPARAM>(button), 0);
                return;
            }
            Sleep(20);
        }
    });
}

TRealBoxCloser::~TRealBoxCloser() {
    FStop = true;
    FThread.join();
    // A recorder's end puts back the hook that fails a test at any unexpected box.
    TMessageRecorder restore;
}

std::string TRealBoxCloser::Text() {
    std::lock_guard<std::mutex> lock(TextLock);
    return FText;
}
