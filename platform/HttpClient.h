#pragma once
// An HTTP GET into a file over the platform's own client (WinINet), for the user-interface thread.
//
// The transfer runs on a worker thread so that no call on the user-interface thread ever waits for
// the network; progress and the end of the document come back as messages to a hidden message-only
// window, so every event fires on the thread that started the transfer, from its message loop. The
// worker uses the client asynchronously and waits for either its answer or Cancel, so Cancel ends it
// at once even while the server is silent.
//
// The body goes into a temporary file beside the target (named "~dl*.tmp", which no "*.exe" search
// matches) and replaces the target only when the whole document arrived: a 2xx status, as many bytes
// as the server announced, and whatever the caller expects (THttpExpectation). The temporary file is
// marked for deletion from its creation until the move, so that Windows removes it when the process
// ends first. A failed or cancelled transfer leaves nothing under either name.
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

// What the caller knows of the document before it arrives; a body that does not fit is refused.
struct THttpExpectation {
    int64_t MinBytes = 1;  // an empty body is never a document
    int64_t MaxBytes = 0;  // 0: no upper limit
    // Refuse a body whose length the server did not announce (a body cut off in the middle of a
    // chunked transfer otherwise looks complete).
    bool RequireAnnouncedLength = false;
    std::string Sha256;  // 64 hexadecimal digits the body's digest must have; empty: not checked
};

// Why a transfer failed.
enum class THttpFailure {
    None,
    Connection,   // no connection, an error status, or a body shorter than announced
    Certificate,  // the secure connection was refused: the server's certificate is not trusted
    Size,         // the body is not of the expected size, or its length was required and not given
    Digest,       // the body's SHA-256 is not the expected one
    Target,       // the body could not be written
    InUse,        // the target is in use (a setup still running) and cannot be replaced
    Cancelled,
};

class THttpClient {
public:
    THttpClient();
    // A transfer still running is abandoned: its worker ends at once and removes its temporary file.
    ~THttpClient();
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    // Starts fetching an "http://" or "https://" address into targetFile and returns at once. The
    // target's folder must exist. Any other address, or a call while busy, ends at once as a failure
    // (the end of the document still comes as an event, from the message loop).
    void GetDoc(const std::string& url, const std::string& targetFile, const THttpExpectation& expect = {});
    // Stops the transfer; no further event comes for it and the target is not written.
    void Cancel();
    // True from GetDoc until the end of the document has been delivered (or Cancel).
    bool Busy() const { return FBusy; }

    // Set when the end of the document is delivered: whether the target now holds the whole body,
    // why not, the server's status (0 when none came) and a technical description of a failure.
    bool Succeeded() const { return FFailure == THttpFailure::None; }
    THttpFailure Failure() const { return FFailure; }
    int StatusCode() const { return FStatusCode; }
    const std::string& ErrorText() const { return FErrorText; }

    std::function<void(THttpClient& sender, const THttpDocOutput& output)> OnDocOutput;

    struct TTransfer;  // shared with the worker thread and the internet library's callbacks

private:
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HandleProgress();
    void HandleEnd();
    void Abandon();
    void Fire(const THttpDocOutput& output);

    TWindowHandle FWindow;
    std::shared_ptr<TTransfer> FTransfer;
    bool FBusy = false;
    THttpFailure FFailure = THttpFailure::Cancelled;
    int FStatusCode = 0;
    std::string FErrorText;
};
