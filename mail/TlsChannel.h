#pragma once
// A TLS client over a connection someone else carries (the platform's own TLS: Schannel through
// SSPI). The channel only encrypts and decrypts; the bytes travel through the two functions it is
// given, so the socket keeps its waits, time-out and cancel. The server's certificate is checked by
// the platform's certificate chain for the server's name before anything is sent through it.
#include <windows.h>
#define SECURITY_WIN32
#include <security.h>
#include <schannel.h>

#include <functional>
#include <string>
#include <string_view>

class TTlsChannel {
public:
    // Sends every byte or throws.
    using TSendRaw = std::function<void(std::string_view bytes)>;
    // Appends at least one received byte to `into`; false when the peer closed the connection.
    using TReceiveRaw = std::function<bool(std::string& into)>;

    TTlsChannel(std::string serverName, TSendRaw send, TReceiveRaw receive);
    ~TTlsChannel();
    TTlsChannel(const TTlsChannel&) = delete;
    TTlsChannel& operator=(const TTlsChannel&) = delete;

    // The handshake and the certificate check. Throws ESecureMailError: Tls when no protected
    // connection comes about, Certificate when the server's certificate does not check.
    void Handshake();
    void Send(std::string_view plain);
    // Appends decrypted bytes (at least one) to `plain`; false when the peer ended the connection.
    bool Receive(std::string& plain);

private:
    void HandshakeLoop(bool haveInput);
    void CheckCertificate();
    bool ReadMore();

    std::string FServerName;
    TSendRaw FSendRaw;
    TReceiveRaw FReceiveRaw;
    CredHandle FCredentials{};
    CtxtHandle FContext{};
    bool FHaveCredentials = false, FHaveContext = false;
    SecPkgContext_StreamSizes FSizes{};
    std::string FIncoming;  // received and not yet decrypted
};
