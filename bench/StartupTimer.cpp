// Times the start of GUI programs side by side: from process creation until the program's first
// visible top-level window is there, the program waits for input, and (when the window holds a list
// view) the list is filled. Programs are started in turn, run after run, so that a busy machine
// slows them alike; each program is closed (WM_CLOSE) before the next one starts.
//
// For a program marked "refresh", it also times the application's activation after the start: the
// settled window is told that its program lost and then regained the activation (WM_ACTIVATEAPP),
// as when the user comes back from another program; the second message returns when the program
// has handled it.
//
//   startuptimer.exe <runs> <refreshes> <label>|<folder>|<command line>[|refresh] ...
//
// Prints one line per measurement ("start <label> <ms>", "refresh <label> <ms>"); the calling
// script summarises. A program that does not settle within 30 seconds is reported as "timeout".
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
struct TProgram {
    std::wstring Label, Folder, CommandLine;
    bool Refresh = false;
};

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / frequency;
}

struct TSearch {
    DWORD ProcessId;
    HWND Window;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) return TRUE;
    search->Window = window;
    return FALSE;
}

HWND VisibleTopLevelWindow(DWORD processId) {
    TSearch search{processId, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Window;
}

// A window without a list view counts as filled.
bool ListFilled(HWND window) {
    HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    if (!list) {
        // One level deeper: the list may sit on a panel.
        for (HWND child = GetWindow(window, GW_CHILD); child && !list; child = GetWindow(child, GW_HWNDNEXT))
            list = FindWindowExW(child, nullptr, WC_LISTVIEWW, nullptr);
    }
    if (!list) return true;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_BLOCK, 1000, &count)) return false;
    return count > 0;
}

void Close(PROCESS_INFORMATION& process, HWND window) {
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Measure(const TProgram& program, int refreshes) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = program.CommandLine;
    const double start = Now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.Folder.empty() ? nullptr : program.Folder.c_str(), &startup, &process)) {
        std::printf("start %ls failed %lu\n", program.Label.c_str(), GetLastError());
        return;
    }
    HWND window = nullptr;
    bool settled = false;
    while (Now() - start < 30000) {
        if (WaitForInputIdle(process.hProcess, 100) != 0) continue;
        window = VisibleTopLevelWindow(process.dwProcessId);
        if (window && ListFilled(window)) {
            settled = true;
            break;
        }
        Sleep(1);
    }
    if (settled)
        std::printf("start %ls %.1f\n", program.Label.c_str(), Now() - start);
    else
        std::printf("start %ls timeout\n", program.Label.c_str());
    for (int i = 0; settled && program.Refresh && i < refreshes; ++i) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window, WM_ACTIVATEAPP, FALSE, 0, SMTO_BLOCK, 30000, &result);
        const double before = Now();
        if (SendMessageTimeoutW(window, WM_ACTIVATEAPP, TRUE, 0, SMTO_BLOCK, 30000, &result))
            std::printf("refresh %ls %.1f\n", program.Label.c_str(), Now() - before);
    }
    std::fflush(stdout);
    Close(process, window);
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t begin = 0;
    for (size_t end; (end = text.find(separator, begin)) != std::wstring::npos; begin = end + 1)
        parts.push_back(text.substr(begin, end - begin));
    parts.push_back(text.substr(begin));
    return parts;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: startuptimer <runs> <refreshes> <label>|<folder>|<command line>[|refresh] ...\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    const int refreshes = _wtoi(argv[2]);
    std::vector<TProgram> programs;
    for (int i = 3; i < argc; ++i) {
        const auto parts = Split(argv[i], L'|');
        if (parts.size() < 3) {
            std::fprintf(stderr, "startuptimer: cannot read '%ls'\n", argv[i]);
            return 2;
        }
        programs.push_back({parts[0], parts[1], parts[2], parts.size() > 3 && parts[3] == L"refresh"});
    }
    // The timer's own first window call loads the display driver: not while a program is timed.
    VisibleTopLevelWindow(GetCurrentProcessId());
    for (int run = 0; run < runs; ++run)
        for (const TProgram& program : programs) Measure(program, refreshes);
    return 0;
}
