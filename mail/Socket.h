#pragma once
// A message-driven TCP client socket for the user-interface thread. Socket notifications, name
// lookups and a one-second time-out timer arrive as messages to a hidden message-only window; every
// wait serves the message loop, so the program's windows stay responsive while mail goes out.
// Each wait restarts a countdown of TimeOut seconds; when it runs out the wait fails with
// ETimedOutError and the connection is closed.
#include <winsock2.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "mail/MailStream.h"
#include "platform/Handles.h"

class TTlsChannel;

// Sockets close through the Winsock library the program loads at run time.
struct TSocketHandleTraits {
    using Handle = SOCKET;
    static SOCKET Empty() noexcept { return INVALID_SOCKET; }
    static bool IsValid(SOCKET s) noexcept { return s != INVALID_SOCKET; }
    static void Free(SOCKET s) noexcept;
};
using TSocketHandle = TOwnedHandle<TSocketHandleTraits>;

enum class TSocketState {
    NotConnected, Resolving, Connecting, Securing, Authenticating, Connected, Sending, Quitting
};

class TagSocket {
public:
    TagSocket();
    virtual ~TagSocket();
    TagSocket(const TagSocket&) = delete;
    TagSocket& operator=(const TagSocket&) = delete;

    std::string Server;  // a host, or host ":" port
    int DefaultPort = 0;
    std::string ServiceName;
    int TimeOut = 60;  // seconds without progress in one wait

    std::function<void()> OnOpen, OnClosing, OnClosed, OnCancel;
    std::function<void(const std::string& message)> OnError;

    bool WinsockLoaded() const;
    void SetWinsockLoaded(bool loaded);  // loads the process-wide library
    bool Connected() const { return FSocket.IsValid(); }
    TSocketState State() const { return FState; }
    // Ends the current wait with ECanceledError and closes the connection.
    void Cancel();

    // The port `Server` names, or -1 when it names none (or not a number from 0 to 65535).
    static int PortOf(const std::string& server);
    static std::string HostOf(const std::string& server);

protected:
    // Resolves the server, creates the socket and connects it.
    void Open();
    void Close();
    std::string ReadLine();  // without CR LF
    // Commands and message data go out through the connection's sink, which writes with SendBytes:
    // through the TLS channel once the connection is secured, else straight to the socket.
    TMailSink& Output() { return FOutput; }
    void SendLine(const std::string& text);
    void SendBytes(std::string_view bytes);
    // Turns the open connection into a TLS connection to the server's host (handshake and the
    // certificate check); every line after it travels encrypted. Throws ESecureMailError.
    void StartTls();
    bool Secured() const { return FTls != nullptr; }
    const std::string& LocalHostName() const { return FLocalHost; }
    // Lets waiting messages through once.
    void ServeMessages();
    // The one place where the protocol phase changes.
    void SetState(TSocketState state);
    void FireError(const std::string& message);

private:
    void Startup();
    unsigned long ResolveHost(const std::string& host);
    int ResolvePort();
    void RequireConnected() const;
    // The connection's own bytes, under any TLS: at least one and at most `most` bytes appended,
    // false once it closed.
    bool ReceiveRaw(std::string& into, size_t most);
    void SendRaw(std::string_view bytes);
    // Waits for the answer of a lookup started with TAsyncLookups and gives the lookup up when the
    // wait ends without it. A time-out is reported through OnError only when it is a failure.
    void AwaitLookup(HANDLE lookup, bool timeOutIsFailure);
    void LookupAnswered(int error, std::optional<unsigned long> value);
    // Serves the message loop until `done` holds; throws on cancel, time-out or a notified error.
    // A time-out that is a failure fires OnError first.
    void WaitFor(const std::function<bool()>& done, bool timeOutIsFailure = true);
    void OnTimer();
    LRESULT HandleMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    class TSocketOutput : public TMailSink {
    public:
        explicit TSocketOutput(TagSocket& socket) : FSocket(socket) {}
        void Write(std::string_view bytes) override { FSocket.SendBytes(bytes); }

    private:
        TagSocket& FSocket;
    };

    TWindowHandle FWindow;
    TSocketHandle FSocket;
    TSocketOutput FOutput{*this};
    std::unique_ptr<TTlsChannel> FTls;
    std::string FPlain;  // decrypted and not yet read
    // A failure inside the window procedure, handed to the waiting code (no exception may cross it).
    std::exception_ptr FCallbackFailure;
    TSocketState FState = TSocketState::NotConnected;
    int FStartups = 0;
    std::string FLocalHost;
    // Set by notifications while waiting.
    bool FReadable = false, FWritable = false, FConnectedEvent = false, FClosedEvent = false;
    bool FCanceled = false, FTimedOut = false;
    int FAsyncError = 0;
    HANDLE FLookup = nullptr;
    bool FLookupDone = false;
    int FLookupError = 0;
    std::optional<unsigned long> FLookupValue;  // the address or port found
    int FTicksLeft = 0;
    bool FCounting = false;
};
