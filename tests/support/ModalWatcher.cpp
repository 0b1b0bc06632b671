#include "ModalWatcher.h"

#include <algorithm>

#include "core/StrConv.h"

namespace {
std::string WindowText(HWND window) {
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return Narrow(text);
}

struct TFindVisible {
    const std::wstring* ClassName;
    std::vector<HWND> Found;
};

BOOL CALLBACK FindFirstButton(HWND window, LPARAM data) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) != L"Button") return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM data) {
    auto* find = reinterpret_cast<TFindVisible*>(data);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (IsWindowVisible(window) && *find->ClassName == name) find->Found.push_back(window);
    return TRUE;
}
}  // namespace

TModalWatcher::TModalWatcher(std::wstring className, std::function<void(HWND)> answer)
    : FThread(GetCurrentThreadId()), FClassName(std::move(className)), FAnswer(std::move(answer)),
      FWatcher([this] { Run(); }) {}

TModalWatcher::~TModalWatcher() {
    FStop = true;
    FWatcher.join();
}

std::vector<TWatchedWindow> TModalWatcher::Seen() const {
    std::lock_guard<std::mutex> lock(FLock);
    return FSeen;
}

void TModalWatcher::Run() {
    std::vector<HWND> answered;
    while (!FStop) {
        TFindVisible find{&FClassName, {}};
        EnumThreadWindows(FThread, CollectVisible, reinterpret_cast<LPARAM>(&find));
        for (HWND window : find.Found) {
            if (std::find(answered.begin(), answered.end(), window) != answered.end()) continue;
            answered.push_back(window);
            // A message box shows its message in the static control with the identifier 0xFFFF.
            TWatchedWindow seen{window, WindowText(window), WindowText(GetDlgItem(window, 0xFFFF))};
            {
                std::lock_guard<std::mutex> lock(FLock);
                FSeen.push_back(seen);
            }
            FAnswer(window);
        }
        Sleep(50);
    }
}

std::function<void(HWND)> TModalWatcher::Press(int buttonId) {
    return [buttonId](HWND window) {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, buttonId)));
    };
}

std::function<void(HWND)> TModalWatcher::PressFirstButton() {
    return [](HWND window) {
        HWND button = nullptr;
        EnumChildWindows(window, FindFirstButton, reinterpret_cast<LPARAM>(&button));
        if (button)
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    };
}
