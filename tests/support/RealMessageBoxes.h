#pragma once
// Real message boxes for a test: while the object lives no hook answers them; the box comes up with
// its own modal loop (which disables and later re-activates its owner) and a second thread presses
// its first button, as a user would. The texts of the boxes it closed are kept in order.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

class TRealMessageBoxes {
public:
    TRealMessageBoxes();
    ~TRealMessageBoxes();
    TRealMessageBoxes(const TRealMessageBoxes&) = delete;
    TRealMessageBoxes& operator=(const TRealMessageBoxes&) = delete;
    std::vector<std::string> Texts() const;

private:
    void Watch();
    void Answer(HWND box);

    DWORD FGuiThread;
    std::atomic<bool> FStop{false};
    mutable std::mutex FLock;
    std::vector<std::string> FTexts;
    std::set<HWND> FAnswered;
    std::thread FWatcher;
};
