#pragma once
// Asynchronous Winsock name lookups whose result buffers outlive whoever asked for them.
//
// A lookup writes its answer into the caller's buffer when it completes, and it completes even
// after it was canceled (the cancel is not honoured everywhere) or its asker gave up on a time-out
// and went away. So the buffers belong to one process-wide hidden window that receives every
// completion and frees the buffer only then; a lookup whose completion never comes keeps its buffer
// for the rest of the process.
#include <winsock2.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/Handles.h"

class TAsyncLookups {
public:
    // Called with the lookup's error code (0 on success) and the buffer it wrote (a hostent or a
    // servent). The buffer is valid only during the call; the answer copies what it needs and must not
    // throw (it runs inside a window procedure).
    using TAnswer = std::function<void(int error, const char* result)>;

    // The lookups of the user-interface thread, whose messages deliver the answers. Made on first use
    // and never destroyed: a lookup may still write into a buffer while the process ends.
    static TAsyncLookups& Instance();
    TAsyncLookups(const TAsyncLookups&) = delete;
    TAsyncLookups& operator=(const TAsyncLookups&) = delete;

    // Start a lookup of a host's address or a service's port; null when it could not be started
    // (WSAGetLastError tells why). `answer` runs from the message loop when the lookup completes.
    HANDLE StartHost(const std::string& host, TAnswer answer);
    HANDLE StartService(const std::string& service, const std::string& protocol, TAnswer answer);
    // The asker no longer wants the answer: it will not be called, and the buffer is freed when the
    // lookup completes.
    void Abandon(HANDLE lookup);
    // Lookups started and not yet completed, abandoned ones included.
    size_t Pending() const { return FPending.size(); }

private:
    TAsyncLookups();
    struct TLookup {
        std::unique_ptr<char[]> Buffer;
        TAnswer Answer;
    };
    HANDLE Started(HANDLE lookup, std::unique_ptr<char[]> buffer, TAnswer answer);
    void Completed(HANDLE lookup, int error);
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    TWindowHandle FWindow;
    std::map<HANDLE, TLookup> FPending;
};
