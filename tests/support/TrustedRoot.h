#pragma once
// A certificate authority of a test's own, trusted by the platform while the object lives: its
// certificate goes into the machine's root store (the sandboxed one inside a TRegistrySandbox),
// where the chain engine looks for trusted roots, and is removed again afterwards. The engine reads
// that store once per process, so make it before anything in the process checks a certificate.
#include <map>
#include <string>

class TTrustedRoot {
public:
    explicit TTrustedRoot(const std::string& derFile);
    ~TTrustedRoot();
    TTrustedRoot(const TTrustedRoot&) = delete;
    TTrustedRoot& operator=(const TTrustedRoot&) = delete;

private:
    std::string FCertificate;  // DER
};

// The servers of tests/checks/secure_mail.py by name, from BRAN_SECURE_SERVERS ("starttls=1234;tls=1235;...").
std::map<std::string, std::string> SecureServerPorts();
