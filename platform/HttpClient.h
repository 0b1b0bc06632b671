#pragma once
// An HTTP GET into a file over the platform's own client (WinINet), for the user-interface thread.
//
// The transfer runs on a worker thread so that no call on the user-interface thread ever waits for
// the network; progress and the end of the document come back as messages to a hidden message-only
// window, so every event fires on the thread that started the transfer, from its message loop.
//
// The body goes into a temporary file beside the target (named "~dl*.tmp", which no "*.exe" search
// matches) and replaces the target only when the whole document arrived: a 2xx status, and as many
// bytes as the server announced. A failed or cancelled transfer leaves nothing under the target name.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Handles.h"

// The document's state as the events report it; hdsEndOfDocument comes once per transfer, after
// success or failure.
enum THttpDocState : int { hdsTransferring = 3, hdsEndOfDocument = 5 };

struct THttpDocOutput {
    THttpDocState State = hdsTransferring;
    int64_t BytesTotal = 0;        // as the server announced it; 0 when it announced none
    int64_t BytesTransferred = 0;  // so far
};

class THttpClient {
public:
    THttpClient();
    // A transfer still running is abandoned: its worker ends on its own and removes its temporary file.
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    // Starts fetching an "http://" or "https://" address into targetFile and returns at once. The
    // target's folder must exist. Any other address, or a call while busy, ends at once as a failure
    // (the end of the document still comes as an event, from the message loop).
    void GetDoc(const std::string& url, const std::string& targetFile);
    // Stops the transfer; no further event comes for it and the target is not written.
    void Cancel();
    // True from GetDoc until the end of the document has been delivered (or Cancel).
    bool Busy() const { return FBusy; }

    // Set when the end of the document is delivered: whether the target now holds the whole body,
    // the server's status (0 when none came) and a technical description of a failure.
    bool Succeeded() const { return FSucceeded; }
    int StatusCode() const { return FStatusCode; }
    const std::string& ErrorText() const { return FErrorText; }

    std::function<void(THttpClient& sender, const THttpDocOutput& output)> OnDocOutput;

    struct TTransfer;  // shared with the worker thread

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HandleProgress();
    void HandleEnd();
    void Abandon();
    void Fire(const THttpDocOutput& output);

    TWindowHandle FWindow;
    std::shared_ptr<TTransfer> FTransfer;
    bool FBusy = false;
    bool FSucceeded = false;
    int FStatusCode = 0;
    std::string FErrorText;
};
