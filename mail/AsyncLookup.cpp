#include "mail/AsyncLookup.h"

#include "core/Exceptions.h"
#include "mail/Winsock.h"

namespace {
constexpr UINT WM_LOOKUP_DONE = WM_APP + 1;
const wchar_t kWindowClass[] = L"BranMailLookupWindow";
}  // namespace

TAsyncLookups& TAsyncLookups::Instance() {
    static TAsyncLookups* lookups = new TAsyncLookups();  // never freed, see the header
    return *lookups;
}

TAsyncLookups::TAsyncLookups() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TAsyncLookups::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    FWindow.Reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HANDLE TAsyncLookups::StartHost(const std::string& host, TAnswer answer) {
    auto buffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
    HANDLE lookup = TagWinsock::Instance().WSAAsyncGetHostByName(FWindow.Get(), WM_LOOKUP_DONE, host.c_str(),
                                                                 buffer.get(), MAXGETHOSTSTRUCT);
    return Started(lookup, std::move(buffer), std::move(answer));
}

HANDLE TAsyncLookups::StartService(const std::string& service, const std::string& protocol, TAnswer answer) {
    auto buffer = std::make_unique<char[]>(MAXGETHOSTSTRUCT);
    HANDLE lookup = TagWinsock::Instance().WSAAsyncGetServByName(FWindow.Get(), WM_LOOKUP_DONE, service.c_str(),
                                                                 protocol.c_str(), buffer.get(), MAXGETHOSTSTRUCT);
    return Started(lookup, std::move(buffer), std::move(answer));
}

HANDLE TAsyncLookups::Started(HANDLE lookup, std::unique_ptr<char[]> buffer, TAnswer answer) {
    // The answer cannot come before this is recorded: it arrives as a message to this thread.
    if (lookup) FPending[lookup] = TLookup{std::move(buffer), std::move(answer)};
    return lookup;
}

void TAsyncLookups::Abandon(HANDLE lookup) {
    auto it = FPending.find(lookup);
    if (it == FPending.end()) return;
    it->second.Answer = nullptr;
    // Where the cancel is honoured no completion follows and the buffer stays for good; a small
    // price next to a lookup writing into freed memory.
    Attempt([&] { TagWinsock::Instance().WSACancelAsyncRequest(lookup); });
}

void TAsyncLookups::Completed(HANDLE lookup, int error) {
    auto it = FPending.find(lookup);
    if (it == FPending.end()) return;
    TLookup done = std::move(it->second);
    FPending.erase(it);
    if (done.Answer) done.Answer(error, done.Buffer.get());
}

LRESULT CALLBACK TAsyncLookups::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TAsyncLookups*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (msg != WM_LOOKUP_DONE || !self) return DefWindowProcW(wnd, msg, wParam, lParam);
    // The answers only copy what they need out of the buffer; nothing here throws across the
    // window procedure.
    self->Completed(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
    return 0;
}
