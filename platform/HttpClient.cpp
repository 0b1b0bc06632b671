#include "platform/HttpClient.h"

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

#include "core/StrConv.h"
#include "platform/Handles.h"
#include "platform/LateLibrary.h"

namespace {
const wchar_t kWindowClass[] = L"BranHttpClientWindow";
const UINT WM_HTTP_PROGRESS = WM_APP + 1;
const UINT WM_HTTP_END = WM_APP + 2;

// Sessions and requests of the internet functions; only this module holds them.
struct TInternetHandleTraits {
    using Handle = HINTERNET;
    static HINTERNET Empty() noexcept { return nullptr; }
    static bool IsValid(HINTERNET h) noexcept { return h != nullptr; }
    static void Free(HINTERNET h) noexcept { BRAN_LATE(Wininet(), InternetCloseHandle)(h); }
};
using TInternetHandle = TOwnedHandle<TInternetHandleTraits>;

std::string LastErrorText(const char* what) { return std::string(what) + " failed (" + IntToStr(GetLastError()) + ")"; }

bool IsHttpAddress(const std::string& url) {
    const std::string lower = LowerCase(url.substr(0, 8));
    return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
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
    std::atomic<int64_t> Total{0}, Transferred{0};
    std::atomic<bool> ProgressPosted{false};
    std::atomic<bool> Abandoned{false};

    std::mutex Lock;
    HWND Window = nullptr;  // null once the client abandoned the transfer
    bool WorkerDone = false;
    // The worker's verdict, read by the client after the end message.
    bool Complete = false;
    int Status = 0;
    std::string Error;

    void Post(UINT msg) {
        std::lock_guard<std::mutex> guard(Lock);
        if (Window) PostMessageW(Window, msg, Id, 0);
    }

    // Writes the body into the temporary file; true when the whole document arrived with a 2xx status.
    bool Fetch() {
        const TLateLibrary& inet = Wininet();
        TInternetHandle session(
            BRAN_LATE(inet, InternetOpenW)(L"Bran-Service", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        if (!session) return Fail(LastErrorText("InternetOpen"));
        const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                            INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
        TInternetHandle request(
            BRAN_LATE(inet, InternetOpenUrlW)(session.Get(), Widen(Url).c_str(), nullptr, 0, flags, 0));
        if (!request) return Fail(LastErrorText("InternetOpenUrl"));

        const auto queryInfo = BRAN_LATE(inet, HttpQueryInfoW);
        DWORD value = 0, size = sizeof(value);
        if (queryInfo(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
            Status = static_cast<int>(value);
        bool announced = false;
        size = sizeof(value);
        if (queryInfo(request.Get(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr)) {
            announced = true;
            Total = value;
        }
        // An error page is a body too; it must never pass for the document asked for.
        if (Status < 200 || Status > 299) return Fail("HTTP status " + IntToStr(Status));
        Post(WM_HTTP_PROGRESS);

        TKernelHandle file(CreateFileW(TempFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return Fail(LastErrorText("CreateFile"));
        char buffer[16384];
        while (!Abandoned) {
            // A read of a whole buffer would wait until it is full; ask only for what has arrived.
            DWORD available = 0, read = 0;
            if (!BRAN_LATE(inet, InternetQueryDataAvailable)(request.Get(), &available, 0, 0))
                return Fail(LastErrorText("InternetQueryDataAvailable"));
            if (available == 0) break;
            const DWORD wanted = std::min<DWORD>(available, sizeof(buffer));
            if (!BRAN_LATE(inet, InternetReadFile)(request.Get(), buffer, wanted, &read))
                return Fail(LastErrorText("InternetReadFile"));
            if (read == 0) break;
            DWORD written = 0;
            if (!WriteFile(file.Get(), buffer, read, &written, nullptr) || written != read)
                return Fail(LastErrorText("WriteFile"));
            Transferred += read;
            if (!ProgressPosted.exchange(true)) Post(WM_HTTP_PROGRESS);
        }
        file.Reset();
        if (Abandoned) return Fail("cancelled");
        if (announced && Transferred != Total)
            return Fail("connection closed after " + IntToStr(Transferred) + " of " + IntToStr(Total) + " bytes");
        return true;
    }

    bool Fail(const std::string& error) {
        Error = error;
        return false;
    }

    static void Run(std::shared_ptr<TTransfer> transfer) {
        bool complete = false;
        try {
            complete = transfer->Fetch();
        } catch (const std::exception& e) {
            // Nothing may leave a thread; the transfer simply failed.
            transfer->Error = e.what();
        } catch (...) {
        }
        std::lock_guard<std::mutex> guard(transfer->Lock);
        transfer->WorkerDone = true;
        transfer->Complete = complete;
        if (transfer->Window) {
            PostMessageW(transfer->Window, WM_HTTP_END, transfer->Id, 0);
        } else {
            DeleteFileW(transfer->TempFile.c_str());
        }
    }
};

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

void THttpClient::GetDoc(const std::string& url, const std::string& targetFile) {
    Abandon();
    FSucceeded = false;
    FStatusCode = 0;
    FErrorText.clear();
    FBusy = true;
    auto transfer = std::make_shared<TTransfer>();
    transfer->Id = NextTransferId();
    transfer->Url = url;
    transfer->TargetFile = Widen(targetFile);
    transfer->Window = FWindow.Get();
    FTransfer = transfer;

    const std::wstring target = transfer->TargetFile;
    const size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash + 1);
    wchar_t temp[MAX_PATH + 1] = {};
    if (!IsHttpAddress(url)) {
        transfer->Error = "not an http address: " + url;
    } else if (!GetTempFileNameW(folder.c_str(), L"~dl", 0, temp)) {
        transfer->Error = LastErrorText("GetTempFileName");
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
    FSucceeded = false;
}

void THttpClient::Abandon() {
    if (!FTransfer) return;
    std::shared_ptr<TTransfer> transfer = std::move(FTransfer);
    transfer->Abandoned = true;
    std::lock_guard<std::mutex> guard(transfer->Lock);
    transfer->Window = nullptr;
    // Whoever finishes last removes the temporary file: here when the worker already ended.
    if (transfer->WorkerDone && !transfer->TempFile.empty()) DeleteFileW(transfer->TempFile.c_str());
    FBusy = false;
}

void THttpClient::HandleProgress() {
    FTransfer->ProgressPosted = false;
    Fire({hdsTransferring, FTransfer->Total, FTransfer->Transferred});
}

void THttpClient::HandleEnd() {
    std::shared_ptr<TTransfer> transfer = std::move(FTransfer);
    bool complete;
    {
        std::lock_guard<std::mutex> guard(transfer->Lock);
        complete = transfer->Complete;
        FStatusCode = transfer->Status;
        FErrorText = transfer->Error;
    }
    if (complete && !MoveFileExW(transfer->TempFile.c_str(), transfer->TargetFile.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        complete = false;
        FErrorText = LastErrorText("MoveFileEx");
    }
    if (!complete && !transfer->TempFile.empty()) DeleteFileW(transfer->TempFile.c_str());
    FSucceeded = complete;
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
