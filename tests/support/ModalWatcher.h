#pragma once
// Real modal windows in tests: a second thread waits for the message boxes, common dialogs or pop-up
// menus that the test thread opens and answers them as a user would, so that the program's own modal
// loops, activation and focus changes run exactly as they do for the user.
#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// What the watcher saw of one window it answered.
struct TWatchedWindow {
    HWND Handle = nullptr;
    std::string Title;  // the window text (a box's caption)
    std::string Text;   // a message box's message
};

class TModalWatcher {
public:
    // Watches the windows of the calling thread whose class is className ("#32770" for message
    // boxes and common dialogs, "#32768" for menus). Each one that becomes visible is answered once
    // by `answer`, on the watcher's thread, until the watcher is destroyed.
    TModalWatcher(std::wstring className, std::function<void(HWND window)> answer);
    ~TModalWatcher();
    TModalWatcher(const TModalWatcher&) = delete;
    TModalWatcher& operator=(const TModalWatcher&) = delete;

    std::vector<TWatchedWindow> Seen() const;

    // Answers for a message box or dialog: press the button with this identifier (IDOK, IDYES...).
    static std::function<void(HWND)> Press(int buttonId);
    // Presses the window's first button, whatever its identifier (a box's only or default choice).
    static std::function<void(HWND)> PressFirstButton();

private:
    void Run();

    const DWORD FThread;
    const std::wstring FClassName;
    const std::function<void(HWND)> FAnswer;
    std::atomic<bool> FStop{false};
    mutable std::mutex FLock;
    std::vector<TWatchedWindow> FSeen;
    std::thread FWatcher;
};
