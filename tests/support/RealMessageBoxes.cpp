#include "RealMessageBoxes.h"

#include <chrono>

#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/gui/Messages.h"

namespace {
// The static text of a message box carries this identifier.
const int kBoxTextId = 0xFFFF;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

BOOL CALLBACK CollectBox(HWND window, LPARAM data) {
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770") reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

BOOL CALLBACK FindFirstButton(HWND window, LPARAM data) {
    if (ClassOf(window) != L"Button") return TRUE;
    *reinterpret_cast<HWND*>(data) = window;
    return FALSE;
}
}  // namespace

TRealMessageBoxes::TRealMessageBoxes() : FGuiThread(GetCurrentThreadId()) {
    SetMessageHook({});
    FWatcher = std::thread([this] { Watch(); });
}

TRealMessageBoxes::~TRealMessageBoxes() {
    FStop = true;
    FWatcher.join();
    SetMessageHook(UnexpectedBox);
}

std::vector<std::string> TRealMessageBoxes::Texts() const {
    std::lock_guard<std::mutex> lock(FLock);
    return FTexts;
}

void TRealMessageBoxes::Watch() {
    while (!FStop) {
        std::vector<HWND> boxes;
        EnumThreadWindows(FGuiThread, CollectBox, reinterpret_cast<LPARAM>(&boxes));
        for (HWND box : boxes)
            if (FAnswered.insert(box).second) Answer(box);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void TRealMessageBoxes::Answer(HWND box) {
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, kBoxTextId, text, 1024);
    {
        std::lock_guard<std::mutex> lock(FLock);
        FTexts.push_back(Narrow(text));
    }
    HWND button = nullptr;
    EnumChildWindows(box, FindFirstButton, reinterpret_cast<LPARAM>(&button));
    if (button) PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}
