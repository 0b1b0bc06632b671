#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "LoopbackPeer.h"
#include "mail/AsyncLookup.h"
#include "mail/MailErrors.h"
#include "mail/Socket.h"

namespace {
// The socket's own connection set-up, open to the test.
class TTestSocket : public TagSocket {
public:
    TTestSocket() { SetWinsockLoaded(true); }
    using TagSocket::Open;
};

// Serves the message loop until no more than `pending` lookups are left or the seconds have passed.
bool PumpUntilLookupsLeft(size_t pending, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (TAsyncLookups::Instance().Pending() > pending) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(5);
    }
    return true;
}

// Ends a peer that is still waiting for its connection.
void ReleasePeer(const TLoopbackPeer& peer) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(peer.Port()));
    connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    closesocket(s);
}
}  // namespace

TEST(Socket, AnAbandonedLookupKeepsItsBufferUntilItCompletes) {
    const size_t before = TAsyncLookups::Instance().Pending();
    {
        TTestSocket socket;
        socket.Server = "localhost:25";
        // Gives up as soon as the host lookup has started, as a time-out or the user would.
        socket.OnOpen = [&] { socket.Cancel(); };
        EXPECT_THROW(socket.Open(), ECanceledError);
        EXPECT_EQ(TAsyncLookups::Instance().Pending(), before + 1) << "the lookup still has its buffer";
    }
    // The socket is gone, the lookup is not: its buffer is freed only when its answer arrives.
    ASSERT_TRUE(PumpUntilLookupsLeft(before, 20.0)) << "the lookup never completed";
}

TEST(Socket, APortLookupThatTimesOutIsNoFailure) {
    std::atomic<bool> reached{false};
    TLoopbackPeer peer([&](TPeerConnection& c) {
        reached = true;
        c.ReadAll();
    });
    // The service is looked up ("smtp" would be port 25); the socket's default port is the peer's, so
    // reaching the peer shows that the lookup timed out and sending went on without it.
    std::vector<std::string> errors;
    for (int attempt = 0; attempt < 3 && !reached; ++attempt) {
        TTestSocket socket;
        socket.Server = "127.0.0.1";
        socket.ServiceName = "smtp";
        socket.DefaultPort = peer.Port();
        socket.TimeOut = 1;  // the next tick of the one-second timer ends a wait
        socket.OnError = [&](const std::string& text) { errors.push_back(text); };
        Sleep(1100);  // that tick is due now: it comes before the lookup's answer can
        try {
            socket.Open();
        } catch (const ESocketError&) {
            // The lookup answered first (port 25, where nobody listens): try again.
        }
    }
    if (!reached) ReleasePeer(peer);
    peer.Join();
    EXPECT_TRUE(reached) << "the port lookup never timed out";
    EXPECT_EQ(errors, std::vector<std::string>{}) << "a time-out that changes nothing is no error";
}
