#pragma once
// SHA-256 digests by the platform's own cryptography (CNG, "bcrypt.dll", bound at the first use).
#include <cstddef>
#include <string>

#include "platform/Handles.h"

class TSha256 {
public:
    // Throws EBrantel when the platform offers no SHA-256.
    TSha256();
    ~TSha256();
    TSha256(const TSha256&) = delete;
    TSha256& operator=(const TSha256&) = delete;

    void Update(const void* data, size_t size);
    // The digest of everything added, as 64 lower-case hexadecimal digits; ends the digest.
    std::string HexDigest();

private:
    void* FAlgorithm = nullptr;
    void* FHash = nullptr;
};

// The digest of a whole file; throws EBrantel when the file cannot be read.
std::string FileSha256(const std::string& path);

// Whether text is a digest as an index names it: 64 hexadecimal digits, either case.
bool IsSha256Text(const std::string& text);
