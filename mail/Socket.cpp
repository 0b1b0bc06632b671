#include "mail/Socket.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "mail/AsyncLookup.h"
#include "mail/MailErrors.h"
#include "mail/TlsChannel.h"
#include "mail/Winsock.h"

namespace {
constexpr UINT WM_SOCKET_EVENT = WM_APP + 1;
constexpr UINT_PTR kTimerId = 1;
constexpr size_t kMaxLine = 255;
const wchar_t kWindowClass[] = L"BranMailSocketWindow";

void RegisterWindowClass(WNDPROC proc) {
    static bool registered = false;
    if (registered) return;
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    registered = true;
}

TagWinsock& Ws() { return TagWinsock::Instance(); }
}  // namespace

void TSocketHandleTraits::Free(SOCKET s) noexcept {
    try {
        TagWinsock::Instance().CloseSocket(s);
    } catch (const EBrantel&) {
        // The library is gone: so is the socket.
    }
}

TagSocket::TagSocket() {
    RegisterWindowClass(&TagSocket::WindowProc);
    FWindow.Reset(CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), this));
    if (!FWindow) throw ESocketError(WinsockErrorText(static_cast<int>(GetLastError())));
    SetTimer(FWindow.Get(), kTimerId, 1000, nullptr);
}

TagSocket::~TagSocket() {
    try {
        Close();
        for (; FStartups > 0; --FStartups) Ws().WSACleanup();
    } catch (...) {
        // Nothing sensible is left to do about a library that vanished.
    }
    KillTimer(FWindow.Get(), kTimerId);
    SetWindowLongPtrW(FWindow.Get(), GWLP_USERDATA, 0);
}

bool TagSocket::WinsockLoaded() const { return TagWinsock::Instance().Loaded(); }

void TagSocket::SetWinsockLoaded(bool loaded) {
    // The library is shared by the whole process and stays loaded until it ends.
    if (loaded) Ws().Load();
}

void TagSocket::SetState(TSocketState state) { FState = state; }

void TagSocket::FireError(const std::string& message) {
    if (OnError) OnError(message);
}

void TagSocket::Cancel() { FCanceled = true; }

std::string TagSocket::HostOf(const std::string& server) { return server.substr(0, server.find(':')); }

int TagSocket::PortOf(const std::string& server) {
    size_t colon = server.find(':');
    if (colon == std::string::npos) return -1;
    std::string digits = server.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    int port = std::atoi(digits.c_str());
    return port <= 65535 ? port : -1;
}

void TagSocket::Startup() {
    WSADATA data;
    if (Ws().WSAStartup(MAKEWORD(1, 1), &data) != 0) throw ESocketError(MailText::InvalidWinsockVersion);
    ++FStartups;
}

void TagSocket::Open() {
    if (OnOpen) OnOpen();
    if (Server.empty()) throw ESocketError(MailText::ServerRequired);
    Startup();
    std::string host = HostOf(Server);
    char name[512] = {};
    FLocalHost = Ws().GetHostName(name, sizeof name) == 0 ? std::string(name) : host;

    SetState(TSocketState::Resolving);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ResolveHost(host);
    address.sin_port = Ws().Htons(static_cast<u_short>(ResolvePort()));

    TSocketHandle s(Ws().Socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!s) throw ESocketError(WinsockErrorText(Ws().WSAGetLastError()));
    FSocket = std::move(s);
    FReadable = FWritable = FConnectedEvent = FClosedEvent = false;
    FAsyncError = 0;

    SetState(TSocketState::Connecting);
    if (Ws().WSAAsyncSelect(FSocket.Get(), FWindow.Get(), WM_SOCKET_EVENT, FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) != 0)
        throw ESocketError(WinsockErrorText(Ws().WSAGetLastError()));
    if (Ws().Connect(FSocket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        int error = Ws().WSAGetLastError();
        if (error != WSAEWOULDBLOCK) throw ESocketError(WinsockErrorText(error));
    }
    WaitFor([this] { return FConnectedEvent; });
}

unsigned long TagSocket::ResolveHost(const std::string& host) {
    unsigned long dotted = Ws().InetAddr(host.c_str());
    if (dotted != INADDR_NONE || host == "255.255.255.255") return dotted;

    HANDLE lookup = TAsyncLookups::Instance().StartHost(host, [this](int error, const char* result) {
        const auto* entry = reinterpret_cast<const hostent*>(result);
        std::optional<unsigned long> address;
        if (!error && entry->h_addr_list && entry->h_addr_list[0] && entry->h_length == 4) {
            unsigned long first;
            memcpy(&first, entry->h_addr_list[0], sizeof first);
            address = first;
        }
        LookupAnswered(error, address);
    });
    if (!lookup) throw ESocketError(WinsockErrorText(Ws().WSAGetLastError()));
    AwaitLookup(lookup, true);
    if (FLookupError) throw ESocketError(WinsockErrorText(FLookupError));
    if (!FLookupValue) throw ESocketError(MailText::ResolveFailed);
    return *FLookupValue;
}

int TagSocket::ResolvePort() {
    int port = PortOf(Server);
    if (port >= 0) return port;
    if (ServiceName.empty()) throw ESocketError(MailText::ServiceRequired);
    HANDLE lookup = TAsyncLookups::Instance().StartService(ServiceName, "tcp", [this](int error, const char* result) {
        const auto* entry = reinterpret_cast<const servent*>(result);
        std::optional<unsigned long> found;
        if (!error) found = static_cast<u_short>(((entry->s_port & 0xff) << 8) | ((entry->s_port >> 8) & 0xff));
        LookupAnswered(error, found);
    });
    // A service the lookup cannot find, or not in time, still has its well-known port: sending goes
    // on, so none of this is a failure to report.
    if (!lookup) return DefaultPort;
    try {
        AwaitLookup(lookup, false);
    } catch (const ECanceledError&) {
        throw;
    } catch (const ESocketError&) {
        return DefaultPort;
    }
    return FLookupError || !FLookupValue ? DefaultPort : static_cast<int>(*FLookupValue);
}

void TagSocket::AwaitLookup(HANDLE lookup, bool timeOutIsFailure) {
    FLookup = lookup;
    FLookupDone = false;
    FLookupError = 0;
    FLookupValue.reset();
    // A wait that ends without the answer (time-out, cancel, a notified error) gives the lookup up:
    // its answer then goes nowhere, and its buffer stays with the lookups until it completes.
    struct TGiveUp {
        HANDLE& Lookup;
        ~TGiveUp() {
            if (Lookup) TAsyncLookups::Instance().Abandon(std::exchange(Lookup, nullptr));
        }
    } giveUp{FLookup};
    WaitFor([this] { return FLookupDone; }, timeOutIsFailure);
}

void TagSocket::LookupAnswered(int error, std::optional<unsigned long> value) {
    FLookup = nullptr;
    FLookupDone = true;
    FLookupError = error;
    FLookupValue = value;
}

void TagSocket::Close() {
    if (!FSocket) return;
    if (OnClosing) OnClosing();
    TSocketHandle closing = std::move(FSocket);
    FTls.reset();
    FPlain.clear();
    SetState(TSocketState::NotConnected);
    closing.Reset();
    if (OnClosed) OnClosed();
}

void TagSocket::RequireConnected() const {
    if (!Connected()) throw ESocketError(MailText::NotConnected);
}

void TagSocket::ServeMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TagSocket::WaitFor(const std::function<bool()>& done, bool timeOutIsFailure) {
    FTicksLeft = TimeOut;
    FTimedOut = false;
    FCounting = true;
    struct TStopCounting {
        bool& counting;
        ~TStopCounting() { counting = false; }
    } stop{FCounting};
    for (;;) {
        if (done()) return;
        if (FCallbackFailure) std::rethrow_exception(std::exchange(FCallbackFailure, nullptr));
        if (FAsyncError) {
            int error = FAsyncError;
            FAsyncError = 0;
            throw ESocketError(WinsockErrorText(error));
        }
        if (FCanceled) {
            FCanceled = false;
            if (OnCancel) OnCancel();
            // Whoever canceled wants out now, not after a farewell the server may never answer.
            Close();
            throw ECanceledError();
        }
        if (FTimedOut) {
            if (timeOutIsFailure) FireError(MailText::TimedOut);
            Close();
            throw ETimedOutError();
        }
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            // The program is ending: give the quit message back to the main loop and stop waiting.
            PostQuitMessage(static_cast<int>(msg.wParam));
            FCanceled = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::string TagSocket::ReadLine() {
    RequireConnected();
    std::string line;
    if (FTls) {
        for (;;) {
            size_t end = FPlain.find('\n');
            if (end != std::string::npos) {
                line = FPlain.substr(0, end + 1);
                FPlain.erase(0, end + 1);
                break;
            }
            if (FPlain.size() > kMaxLine) throw ESocketError("Reply line longer than 255 characters");
            if (!FTls->Receive(FPlain)) {
                line = std::exchange(FPlain, {});
                Close();
                break;
            }
        }
    } else {
        // One byte at a time: nothing after the line is taken from the connection, so a server that
        // starts TLS right after its reply finds the handshake where it left it.
        for (;;) {
            std::string byte;
            if (!ReceiveRaw(byte, 1)) {
                // The server closed the connection: what arrived is the last line.
                Close();
                break;
            }
            line += byte;
            if (byte == "\n") break;
            if (line.size() > kMaxLine) throw ESocketError("Reply line longer than 255 characters");
        }
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

bool TagSocket::ReceiveRaw(std::string& into, size_t most) {
    RequireConnected();
    char buffer[16384];
    for (;;) {
        int n = Ws().Recv(FSocket.Get(), buffer, static_cast<int>(std::min(most, sizeof buffer)), 0);
        if (n > 0) {
            into.append(buffer, static_cast<size_t>(n));
            return true;
        }
        if (n == 0) return false;
        int error = Ws().WSAGetLastError();
        if (error != WSAEWOULDBLOCK) throw ESocketError(WinsockErrorText(error));
        if (FClosedEvent) return false;
        FReadable = false;
        WaitFor([this] { return FReadable || FClosedEvent; });
    }
}

void TagSocket::SendLine(const std::string& text) { Output().Write(text + "\r\n"); }

void TagSocket::SendBytes(std::string_view bytes) {
    RequireConnected();
    if (FTls) FTls->Send(bytes);
    else SendRaw(bytes);
}

void TagSocket::SendRaw(std::string_view bytes) {
    RequireConnected();
    while (!bytes.empty()) {
        int n = Ws().Send(FSocket.Get(), bytes.data(), static_cast<int>(bytes.size()), 0);
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        int error = Ws().WSAGetLastError();
        if (error != WSAEWOULDBLOCK) throw ESocketError(WinsockErrorText(error));
        FWritable = false;
        WaitFor([this] { return FWritable || FClosedEvent; });
        if (FClosedEvent && !FWritable) throw ESocketError(WinsockErrorText(WSAECONNRESET));
    }
}

void TagSocket::StartTls() {
    RequireConnected();
    SetState(TSocketState::Securing);
    auto channel = std::make_unique<TTlsChannel>(
        HostOf(Server), [this](std::string_view bytes) { SendRaw(bytes); },
        [this](std::string& into) { return ReceiveRaw(into, SIZE_MAX); });
    channel->Handshake();
    FTls = std::move(channel);
}

void TagSocket::OnTimer() {
    if (!FCounting || FTimedOut || --FTicksLeft > 0) return;
    // A pending lookup is given up by the wait that ends on this.
    FTimedOut = true;
    if (Ws().WSAIsBlocking()) Ws().WSACancelBlockingCall();
}

LRESULT TagSocket::HandleMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_SOCKET_EVENT: {
            if (static_cast<SOCKET>(wParam) != FSocket.Get()) return 0;  // a socket already closed
            int error = WSAGETSELECTERROR(lParam);
            switch (WSAGETSELECTEVENT(lParam)) {
                case FD_READ: FReadable = true; break;
                case FD_WRITE: FWritable = true; break;
                case FD_CLOSE: FClosedEvent = true; break;
                case FD_CONNECT:
                    if (error) FAsyncError = error;
                    else FConnectedEvent = true;
                    break;
            }
            return 0;
        }
        case WM_TIMER:
            if (wParam == kTimerId) OnTimer();
            return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

LRESULT CALLBACK TagSocket::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TagSocket*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
    try {
        return self->HandleMessage(wnd, msg, wParam, lParam);
    } catch (...) {
        // No exception may cross the window procedure: the wait that is serving messages raises it.
        self->FCallbackFailure = std::current_exception();
        return 0;
    }
}
