#include "platform/HttpClient.h"

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "core/StrConv.h"
#include "platform/Handles.h"
#include "platform/LateLibrary.h"
#include "platform/Sha256.h"

namespace {
const wchar_t kWindowClass[] = L"BranHttpClientWindow";
const UINT WM_HTTP_PROGRESS = WM_APP + 1;
const UINT WM_HTTP_END = WM_APP + 2;

// Sessions and requests of the internet functions; only this module holds them. A release looks
// nothing up that could fail: the library was bound when the handle was made, and stays loaded.
struct TInternetHandleTraits {
    using Handle = HINTERNET;
    static HINTERNET Empty() noexcept { return nullptr; }
    static bool IsValid(HINTERNET h) noexcept { return h != nullptr; }
    static void Free(HINTERNET h) noexcept {
        if (const auto close = BRAN_LATE_FIND(Wininet(), InternetCloseHandle)) close(h);
    }
};
using TInternetHandle = TOwnedHandle<TInternetHandleTraits>;

std::string CallFailure(const char* what, DWORD error) { return std::string(what) + " failed (" + IntToStr(error) + ")"; }
std::string LastErrorText(const char* what) { return CallFailure(what, GetLastError()); }

bool IsHttpAddress(const std::string& url) {
    const std::string lower = LowerCase(url.substr(0, 8));
    return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
}

// The internet library's refusals of a secure connection.
bool IsCertificateError(DWORD error) {
    switch (error) {
        case ERROR_INTERNET_INVALID_CA:
        case ERROR_INTERNET_SEC_CERT_CN_INVALID:
        case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
        case ERROR_INTERNET_SEC_CERT_ERRORS:
        case ERROR_INTERNET_SEC_CERT_NO_REV:
        case ERROR_INTERNET_SEC_CERT_REV_FAILED:
        case ERROR_INTERNET_SEC_CERT_REVOKED:
        case ERROR_INTERNET_SEC_INVALID_CERT:
        case ERROR_INTERNET_SECURITY_CHANNEL_ERROR:
        case ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED:
        case ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR:
            return true;
        default:
            return false;
    }
}

// A Content-Length as the server sent it: decimal digits, up to 64 bits; false for anything else.
bool ParseLength(const std::wstring& text, int64_t& length) {
    const std::string digits = Trim(Narrow(text));
    if (digits.empty()) return false;
    uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        if (value > (uint64_t(INT64_MAX) - (c - '0')) / 10) return false;
        value = value * 10 + (c - '0');
    }
    length = static_cast<int64_t>(value);
    return true;
}

// The temporary file, opened so that Windows deletes it when it is closed: by the transfer on any
// failure, by Windows when the process ends before the move.
TKernelHandle CreateProvisionalFile(const std::wstring& path) {
    TKernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, TRUNCATE_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (file && !SetFileInformationByHandle(file.Get(), FileDispositionInfo, &dispose, sizeof(dispose))) file.Reset();
    return file;
}

unsigned long NextTransferId() {
    static unsigned long id = 0;
    return ++id;
}
}  // namespace

struct THttpClient::TTransfer {
    unsigned long Id = 0;
    std::string Url;
    std::wstring TempFile, TargetFile;
    THttpExpectation Expect;
    TKernelHandle File;  // the temporary file; whoever finishes last closes it (see Run, Abandon)
    std::atomic<int64_t> Total{0}, Transferred{0};
    std::atomic<bool> ProgressPosted{false};

    // The asynchronous calls: the library signals Answered with the call's result; Cancel signals
    // Stopped. The library writes into Buffer, Read and Available when a call completes, perhaps
    // after the worker gave up waiting: they live as long as the transfer, and the transfer as long
    // as the library may still call back about it (see TCallbacks).
    TKernelHandle Answered{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    TKernelHandle Stopped{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<DWORD_PTR> AsyncResult{0};
    std::atomic<DWORD> AsyncError{0};
    std::atomic<HINTERNET> Request{nullptr};
    char Buffer[16384];
    DWORD Read = 0, Available = 0;

    std::mutex Lock;
    HWND Window = nullptr;  // null once the client abandoned the transfer
    bool WorkerDone = false;
    // The worker's verdict, read by the client after the end message.
    THttpFailure Failure = THttpFailure::Connection;
    int Status = 0;
    std::string Error;

    void Post(UINT msg) {
        std::lock_guard<std::mutex> guard(Lock);
        if (Window) PostMessageW(Window, msg, Id, 0);
    }

    bool Fail(THttpFailure failure, const std::string& error) {
        Failure = failure;
        Error = error;
        return false;
    }

    bool FailCall(const char* what, DWORD error) {
        return Fail(IsCertificateError(error) ? THttpFailure::Certificate : THttpFailure::Connection, CallFailure(what, error));
    }

    // Waits for the pending call; false when the transfer was cancelled meanwhile or the call failed.
    bool Await(const char* what) {
        const HANDLE events[] = {Answered.Get(), Stopped.Get()};
        if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0)
            return Fail(THttpFailure::Cancelled, "cancelled");
        return AsyncResult ? true : FailCall(what, AsyncError);
    }

    // A call that may complete later: true when it completed, now or after waiting.
    bool Completed(BOOL done, const char* what) {
        if (done) return true;
        const DWORD error = GetLastError();
        return error == ERROR_IO_PENDING ? Await(what) : FailCall(what, error);
    }

    static void Fetch(const std::shared_ptr<TTransfer>& self);
    bool FetchInto(HINTERNET session);
    bool ReadHeaders(HINTERNET request, bool& announced);
    bool ReadBody(HINTERNET request, TSha256* digest);
    bool CheckBody(bool announced, TSha256* digest);
    static void Run(std::shared_ptr<TTransfer> transfer);
};

namespace {
// The transfers the internet library may still call back about, by id. Never destroyed: the
// library's own threads may call back while the program exits.
class TCallbacks {
public:
    static TCallbacks& Instance() {
        static TCallbacks& callbacks = *new TCallbacks;
        return callbacks;
    }
    void Add(const std::shared_ptr<THttpClient::TTransfer>& transfer) {
        std::lock_guard<std::mutex> guard(FLock);
        FTransfers[transfer->Id] = transfer;
    }
    void Remove(unsigned long id) {
        std::lock_guard<std::mutex> guard(FLock);
        FTransfers.erase(id);
    }
    std::shared_ptr<THttpClient::TTransfer> Find(unsigned long id) {
        std::lock_guard<std::mutex> guard(FLock);
        auto found = FTransfers.find(id);
        return found == FTransfers.end() ? nullptr : found->second;
    }

    static void CALLBACK Status(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
        const auto transfer = Instance().Find(static_cast<unsigned long>(context));
        if (!transfer) return;
        const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        switch (status) {
            case INTERNET_STATUS_HANDLE_CREATED:
                // The request of InternetOpenUrl; its connection is created too, and closed with it.
                transfer->Request = reinterpret_cast<HINTERNET>(result->dwResult);
                break;
            case INTERNET_STATUS_REQUEST_COMPLETE:
                transfer->AsyncResult = result->dwResult;
                transfer->AsyncError = result->dwError;
                SetEvent(transfer->Answered.Get());
                break;
            case INTERNET_STATUS_HANDLE_CLOSING:
                // Nothing of the request is pending any more.
                if (handle == transfer->Request) Instance().Remove(transfer->Id);
                break;
            default:
                break;
        }
    }

private:
    std::mutex FLock;
    std::map<unsigned long, std::shared_ptr<THttpClient::TTransfer>> FTransfers;
};
}  // namespace

void THttpClient::TTransfer::Fetch(const std::shared_ptr<TTransfer>& self) {
    if (!self->Expect.Sha256.empty() && !IsSha256Text(self->Expect.Sha256)) {
        self->Fail(THttpFailure::Digest, "not a SHA-256 digest: " + self->Expect.Sha256);
        return;
    }
    TInternetHandle session(
        BRAN_LATE(Wininet(), InternetOpenW)(L"Bran-Service", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC));
    if (!session) {
        self->Fail(THttpFailure::Connection, LastErrorText("InternetOpen"));
        return;
    }
    BRAN_LATE(Wininet(), InternetSetStatusCallbackW)(session.Get(), &TCallbacks::Status);
    TCallbacks::Instance().Add(self);
    if (self->FetchInto(session.Get())) self->Failure = THttpFailure::None;
    // The request goes first; the library reports its end, after which the transfer is let go.
    if (HINTERNET request = self->Request.load()) {
        TInternetHandleTraits::Free(request);
    } else {
        TCallbacks::Instance().Remove(self->Id);
    }
}

bool THttpClient::TTransfer::FetchInto(HINTERNET session) {
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                        INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    HINTERNET request = BRAN_LATE(Wininet(), InternetOpenUrlW)(session, Widen(Url).c_str(), nullptr, 0, flags, Id);
    if (!Completed(request != nullptr, "InternetOpenUrl")) return false;
    if (!request) request = reinterpret_cast<HINTERNET>(AsyncResult.load());
    Request = request;

    bool announced = false;
    if (!ReadHeaders(request, announced)) return false;
    Post(WM_HTTP_PROGRESS);
    std::unique_ptr<TSha256> digest = Expect.Sha256.empty() ? nullptr : std::make_unique<TSha256>();
    return ReadBody(request, digest.get()) && CheckBody(announced, digest.get());
}

bool THttpClient::TTransfer::ReadHeaders(HINTERNET request, bool& announced) {
    const auto queryInfo = BRAN_LATE(Wininet(), HttpQueryInfoW);
    DWORD value = 0, size = sizeof(value);
    if (queryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
        Status = static_cast<int>(value);
    // An error page is a body too; it must never pass for the document asked for.
    if (Status < 200 || Status > 299) return Fail(THttpFailure::Connection, "HTTP status " + IntToStr(Status));

    // Read as text: a length past 32 bits does not fit the library's numbers.
    wchar_t text[64] = {};
    size = sizeof(text) - sizeof(wchar_t);
    if (queryInfo(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
        int64_t length = 0;
        if (!ParseLength(text, length)) return Fail(THttpFailure::Connection, "unreadable Content-Length: " + Narrow(text));
        announced = true;
        Total = length;
        if (Expect.MaxBytes > 0 && length > Expect.MaxBytes)
            return Fail(THttpFailure::Size, "announced " + IntToStr(length) + " bytes, at most " + IntToStr(Expect.MaxBytes) + " expected");
    } else if (GetLastError() != ERROR_HTTP_HEADER_NOT_FOUND) {
        return Fail(THttpFailure::Connection, LastErrorText("HttpQueryInfo(Content-Length)"));
    }
    return true;
}

bool THttpClient::TTransfer::ReadBody(HINTERNET request, TSha256* digest) {
    const auto queryAvailable = BRAN_LATE(Wininet(), InternetQueryDataAvailable);
    const auto readFile = BRAN_LATE(Wininet(), InternetReadFile);
    for (;;) {
        if (WaitForSingleObject(Stopped.Get(), 0) == WAIT_OBJECT_0) return Fail(THttpFailure::Cancelled, "cancelled");
        // Only what has arrived is read, so that a read never waits for a full buffer. Once data
        // arrived after a wait, asking again answers at once.
        Available = 0;
        const BOOL now = queryAvailable(request, &Available, 0, 0);
        if (!Completed(now, "InternetQueryDataAvailable")) return false;
        if (!now) continue;
        if (Available == 0) return true;
        Read = 0;
        if (!Completed(readFile(request, Buffer, std::min<DWORD>(Available, sizeof(Buffer)), &Read), "InternetReadFile"))
            return false;
        if (Read == 0) return true;
        DWORD written = 0;
        if (!WriteFile(File.Get(), Buffer, Read, &written, nullptr) || written != Read)
            return Fail(THttpFailure::Target, LastErrorText("WriteFile"));
        if (digest) digest->Update(Buffer, Read);
        Transferred += Read;
        if (Expect.MaxBytes > 0 && Transferred > Expect.MaxBytes)
            return Fail(THttpFailure::Size, "more than " + IntToStr(Expect.MaxBytes) + " bytes");
        if (!ProgressPosted.exchange(true)) Post(WM_HTTP_PROGRESS);
    }
}

bool THttpClient::TTransfer::CheckBody(bool announced, TSha256* digest) {
    const int64_t got = Transferred;
    if (announced && got != Total)
        return Fail(THttpFailure::Connection, "connection closed after " + IntToStr(got) + " of " + IntToStr(Total) + " bytes");
    if (got == 0) return Fail(THttpFailure::Connection, "empty body");
    if (!announced && Expect.RequireAnnouncedLength)
        return Fail(THttpFailure::Size, "no length announced, none known: " + IntToStr(got) + " bytes may be a part");
    if (got < Expect.MinBytes || (Expect.MaxBytes > 0 && got > Expect.MaxBytes))
        return Fail(THttpFailure::Size, IntToStr(got) + " bytes, expected " + IntToStr(Expect.MinBytes) + " to " +
                                            IntToStr(Expect.MaxBytes));
    if (digest) {
        const std::string actual = digest->HexDigest();
        if (actual != LowerCase(Expect.Sha256)) return Fail(THttpFailure::Digest, "SHA-256 " + actual);
    }
    return true;
}

void THttpClient::TTransfer::Run(std::shared_ptr<TTransfer> transfer) {
    try {
        Fetch(transfer);
    } catch (const std::exception& e) {
        // Nothing may leave a thread; the transfer simply failed.
        transfer->Fail(THttpFailure::Connection, e.what());
    } catch (...) {
        transfer->Fail(THttpFailure::Connection, "unknown failure");
    }
    std::lock_guard<std::mutex> guard(transfer->Lock);
    transfer->WorkerDone = true;
    if (transfer->Window) {
        PostMessageW(transfer->Window, WM_HTTP_END, transfer->Id, 0);
    } else {
        transfer->File.Reset();  // abandoned: closing deletes it
    }
}

THttpClient::THttpClient() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &THttpClient::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kWindowClass;
        RegisterClassW(&wc);
        registered = true;
    }
    FWindow.Reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

THttpClient::~THttpClient() {
    Abandon();
    if (FWindow) SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, 0);
}

void THttpClient::GetDoc(const std::string& url, const std::string& targetFile, const THttpExpectation& expect) {
    Abandon();
    FFailure = THttpFailure::Connection;
    FStatusCode = 0;
    FErrorText.clear();
    FBusy = true;
    auto transfer = std::make_shared<TTransfer>();
    transfer->Id = NextTransferId();
    transfer->Url = url;
    transfer->TargetFile = Widen(targetFile);
    transfer->Expect = expect;
    transfer->Window = FWindow.Get();
    FTransfer = transfer;

    const std::wstring target = transfer->TargetFile;
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
    wchar_t temp[MAX_PATH + 1] = {};
    if (!IsHttpAddress(url)) {
        transfer->Error = "not an http address: " + url;
    } else if (!GetTempFileNameW(folder.c_str(), L"~dl", 0, temp)) {
        transfer->Fail(THttpFailure::Target, LastErrorText("GetTempFileName"));
    } else if (!(transfer->File = CreateProvisionalFile(temp))) {
        transfer->Fail(THttpFailure::Target, LastErrorText("CreateFile"));
        DeleteFileW(temp);
    } else {
        transfer->TempFile = temp;
        std::thread(&TTransfer::Run, transfer).detach();
        return;
    }
    // Refused before it began: the end still comes from the message loop, as for any transfer.
    transfer->WorkerDone = true;
    PostMessageW(FWindow.Get(), WM_HTTP_END, transfer->Id, 0);
}

void THttpClient::Cancel() {
    Abandon();
    FFailure = THttpFailure::Cancelled;
}

void THttpClient::Abandon() {
    if (!FTransfer) return;
    std::shared_ptr<TTransfer> transfer = std::move(FTransfer);
    SetEvent(transfer->Stopped.Get());
    std::lock_guard<std::mutex> guard(transfer->Lock);
    transfer->Window = nullptr;
    // Whoever finishes last closes the temporary file, which deletes it: here when the worker ended.
    if (transfer->WorkerDone) transfer->File.Reset();
    FBusy = false;
}

void THttpClient::HandleProgress() {
    FTransfer->ProgressPosted = false;
    Fire({hdsTransferring, FTransfer->Total, FTransfer->Transferred});
}

void THttpClient::HandleEnd() {
    std::shared_ptr<TTransfer> transfer = std::move(FTransfer);
    {
        // The worker is done with the transfer; the lock orders what it wrote before this.
        std::lock_guard<std::mutex> guard(transfer->Lock);
        FFailure = transfer->Failure;
        FStatusCode = transfer->Status;
        FErrorText = transfer->Error;
    }
    if (FFailure == THttpFailure::None) {
        // Kept from here on: the deletion is called off just before the file takes the target's place.
        FILE_DISPOSITION_INFO keep{FALSE};
        if (!SetFileInformationByHandle(transfer->File.Get(), FileDispositionInfo, &keep, sizeof(keep))) {
            FFailure = THttpFailure::Target;
            FErrorText = LastErrorText("SetFileInformationByHandle");
        } else {
            transfer->File.Reset();
            if (!MoveFileExW(transfer->TempFile.c_str(), transfer->TargetFile.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                const DWORD error = GetLastError();
                FFailure = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ? THttpFailure::InUse
                                                                                            : THttpFailure::Target;
                FErrorText = CallFailure("MoveFileEx", error);
                DeleteFileW(transfer->TempFile.c_str());
            }
        }
    }
    transfer->File.Reset();
    FBusy = false;
    Fire({hdsEndOfDocument, transfer->Total, transfer->Transferred});
}

void THttpClient::Fire(const THttpDocOutput& output) {
    if (OnDocOutput) OnDocOutput(*this, output);
}

LRESULT CALLBACK THttpClient::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* client = reinterpret_cast<THttpClient*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (client && (msg == WM_HTTP_PROGRESS || msg == WM_HTTP_END)) {
        // Messages of a transfer that was abandoned meanwhile are left unanswered.
        if (!client->FTransfer || client->FTransfer->Id != wParam) return 0;
        try {
            if (msg == WM_HTTP_PROGRESS) {
                client->HandleProgress();
            } else {
                client->HandleEnd();
            }
        } catch (...) {
            // An event handler's failure must not unwind through the window procedure; the handler's
            // owner reports its own failures.
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}
