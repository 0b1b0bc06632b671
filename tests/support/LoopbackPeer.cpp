#include "LoopbackPeer.h"

#include <ws2tcpip.h>

#include <gtest/gtest.h>

namespace {
constexpr DWORD kReadTimeoutMs = 8000;

struct TWinsock {
    TWinsock() {
        WSADATA d;
        WSAStartup(MAKEWORD(2, 2), &d);
    }
    ~TWinsock() { WSACleanup(); }
};

void EnsureWinsock() { static TWinsock winsock; }
}  // namespace

void TPeerConnection::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        int n = send(FSocket, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}

bool TPeerConnection::Fill(bool keep) {
    if (FClosed) return false;
    char buf[65536];
    int n = recv(FSocket, buf, sizeof buf, 0);
    if (n <= 0) {
        FClosed = true;
        return false;
    }
    FBuffer.append(buf, static_cast<size_t>(n));
    if (keep) FReceived.append(buf, static_cast<size_t>(n));
    return true;
}

uint64_t TPeerConnection::SkipUntil(const std::string& terminator) {
    uint64_t skipped = 0;
    for (;;) {
        size_t pos = FBuffer.find(terminator);
        if (pos != std::string::npos) {
            FBuffer.erase(0, pos + terminator.size());
            return skipped + pos + terminator.size();
        }
        // Only what may be the terminator's beginning stays.
        size_t drop = FBuffer.size() - std::min(FBuffer.size(), terminator.size() - 1);
        FBuffer.erase(0, drop);
        skipped += drop;
        if (!Fill(false)) return skipped + FBuffer.size();
    }
}

std::string TPeerConnection::ReadLine() {
    std::string line = ReadUntil("\r\n");
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
    return line;
}

std::string TPeerConnection::ReadUntil(const std::string& terminator) {
    for (;;) {
        size_t pos = FBuffer.find(terminator);
        if (pos != std::string::npos) {
            std::string out = FBuffer.substr(0, pos + terminator.size());
            FBuffer.erase(0, pos + terminator.size());
            return out;
        }
        if (!Fill()) {
            std::string out;
            out.swap(FBuffer);
            return out;
        }
    }
}

std::string TPeerConnection::ReadAll() {
    while (Fill()) {
    }
    std::string out;
    out.swap(FBuffer);
    return out;
}

TLoopbackPeer::TLoopbackPeer(TScript script, int connections) {
    EnsureWinsock();
    FListener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    bind(FListener, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    listen(FListener, 4);
    int len = sizeof addr;
    getsockname(FListener, reinterpret_cast<sockaddr*>(&addr), &len);
    FPort = ntohs(addr.sin_port);
    FThread = std::thread([this, script = std::move(script), connections] {
        for (int i = 0; i < connections; ++i) {
            // Never wait for ever for a client that does not come.
            fd_set set;
            FD_ZERO(&set);
            FD_SET(FListener, &set);
            timeval tv{static_cast<long>(kReadTimeoutMs / 1000), 0};
            if (select(0, &set, nullptr, nullptr, &tv) <= 0) return;
            SOCKET s = accept(FListener, nullptr, nullptr);
            if (s == INVALID_SOCKET) return;
            DWORD timeout = kReadTimeoutMs;
            setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
            TPeerConnection c(s);
            try {
                script(c);
            } catch (const std::exception& e) {
                ADD_FAILURE() << "peer script failed: " << e.what();
            }
            shutdown(s, SD_BOTH);
            closesocket(s);
        }
    });
}

void TLoopbackPeer::Join() {
    if (FThread.joinable()) FThread.join();
}

TLoopbackPeer::~TLoopbackPeer() {
    Join();
    closesocket(FListener);
}

TLoopbackPeer::TScript SwallowingSmtpServer(uint64_t* received) {
    return [received](TPeerConnection& c) {
        c.Send("220 welkom\r\n");
        while (!c.Closed()) {
            std::string line = c.ReadLine();
            if (c.Closed()) break;
            if (line == "DATA") {
                c.Send("354 ga je gang\r\n");
                uint64_t size = c.SkipUntil("\r\n.\r\n");
                if (received) *received = size;
            }
            c.Send(line == "QUIT" ? "221 tot ziens\r\n" : "250 ok\r\n");
        }
    };
}
