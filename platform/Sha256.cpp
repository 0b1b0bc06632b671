#include "platform/Sha256.h"

#include <bcrypt.h>

#include <algorithm>
#include <cctype>

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/LateLibrary.h"

namespace {
void Check(NTSTATUS status, const char* what) {
    if (status < 0)
        throw EBrantel("TSha256", what, Format("%s failed (status %x)", {what, static_cast<unsigned long>(status)}));
}
}  // namespace

TSha256::TSha256() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    Check(BRAN_LATE(Bcrypt(), BCryptOpenAlgorithmProvider)(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0),
          "BCryptOpenAlgorithmProvider");
    FAlgorithm = algorithm;
    BCRYPT_HASH_HANDLE hash = nullptr;
    try {
        Check(BRAN_LATE(Bcrypt(), BCryptCreateHash)(algorithm, &hash, nullptr, 0, nullptr, 0, 0), "BCryptCreateHash");
    } catch (...) {
        BRAN_LATE_FIND(Bcrypt(), BCryptCloseAlgorithmProvider)(algorithm, 0);
        throw;
    }
    FHash = hash;
}

TSha256::~TSha256() {
    // Both functions were found when the digest began, so the library holds them.
    if (FHash) BRAN_LATE_FIND(Bcrypt(), BCryptDestroyHash)(FHash);
    if (FAlgorithm) BRAN_LATE_FIND(Bcrypt(), BCryptCloseAlgorithmProvider)(FAlgorithm, 0);
}

void TSha256::Update(const void* data, size_t size) {
    const auto hashData = BRAN_LATE(Bcrypt(), BCryptHashData);
    auto* bytes = static_cast<unsigned char*>(const_cast<void*>(data));
    // The call takes 32-bit lengths.
    while (size > 0) {
        const ULONG part = static_cast<ULONG>(std::min<size_t>(size, 1u << 30));
        Check(hashData(FHash, bytes, part, 0), "BCryptHashData");
        bytes += part;
        size -= part;
    }
}

std::string TSha256::HexDigest() {
    unsigned char digest[32];
    Check(BRAN_LATE(Bcrypt(), BCryptFinishHash)(FHash, digest, sizeof(digest), 0), "BCryptFinishHash");
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned char b : digest) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

std::string FileSha256(const std::string& path) {
    TKernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) throw EBrantel("TSha256", "FileSha256", Format("cannot open %s (%d)", {path, static_cast<int>(GetLastError())}));
    TSha256 digest;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr))
            throw EBrantel("TSha256", "FileSha256", Format("cannot read %s (%d)", {path, static_cast<int>(GetLastError())}));
        if (read == 0) return digest.HexDigest();
        digest.Update(buffer, read);
    }
}

bool IsSha256Text(const std::string& text) {
    if (text.size() != 64) return false;
    for (char c : text)
        if (!isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}
