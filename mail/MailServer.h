#pragma once
// Where and how the program hands its mail over: the server, the protection of the connection and
// the account to log in with. A server setting of only a host (or "host:port") is a plain
// connection without a log-in, as mail was always sent.
#include <string>

enum class TMailSecurity {
    None,      // plain SMTP, port 25
    StartTls,  // a plain start that the server must turn into TLS (STARTTLS), port 587
    Tls        // TLS from the first byte, port 465
};

struct TMailServer {
    TMailServer() = default;
    TMailServer(std::string server) : Server(std::move(server)) {}  // NOLINT: a setting of old
    TMailServer(const char* server) : Server(server) {}             // NOLINT

    std::string Server;  // a host, or host ":" port; without a port the security's standard port
    TMailSecurity Security = TMailSecurity::None;
    std::string UserName;  // empty: no log-in
    std::string Password;
};

// 25, 587 or 465.
int StandardPort(TMailSecurity security);
