#pragma once
// A scripted TCP peer on 127.0.0.1 in a thread of its own: the SMTP and HTTP tests talk to it over
// real sockets. The script gets each accepted connection in turn; reads time out after a few seconds
// so that a script waiting for something that never comes ends instead of hanging the test.
#include <winsock2.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>

class TPeerConnection {
public:
    explicit TPeerConnection(SOCKET s) : FSocket(s) {}
    void Send(const std::string& bytes);
    // One line without its CR LF; empty optional-like "" with Closed() true at the end of the stream.
    std::string ReadLine();
    // Everything up to and including the terminator (e.g. "\r\n.\r\n"); what arrived when it never comes.
    std::string ReadUntil(const std::string& terminator);
    std::string ReadAll();  // until the other side closes
    // Reads past the terminator, keeping none of it (not in Received() either): large messages.
    // Answers how many bytes it read.
    uint64_t SkipUntil(const std::string& terminator);
    bool Closed() const { return FClosed; }
    // Everything received on this connection so far.
    const std::string& Received() const { return FReceived; }

private:
    bool Fill(bool keep = true);
    SOCKET FSocket;
    std::string FBuffer, FReceived;
    bool FClosed = false;
};

class TLoopbackPeer {
public:
    using TScript = std::function<void(TPeerConnection&)>;
    // Listens on an ephemeral port; serves `connections` connections with the script, one after another.
    explicit TLoopbackPeer(TScript script, int connections = 1);
    ~TLoopbackPeer();
    TLoopbackPeer(const TLoopbackPeer&) = delete;
    TLoopbackPeer& operator=(const TLoopbackPeer&) = delete;
    int Port() const { return FPort; }
    // Waits for the script to finish (the destructor does too).
    void Join();

private:
    SOCKET FListener = INVALID_SOCKET;
    int FPort = 0;
    std::thread FThread;
};

// An SMTP server that accepts every message and keeps none of it (large messages); `received`, when
// given, is the size of the last message's data.
TLoopbackPeer::TScript SwallowingSmtpServer(uint64_t* received = nullptr);
