#include "platform/ProtectedData.h"

#include <windows.h>
#include <wincrypt.h>

#include <string_view>

#include "core/Exceptions.h"
#include "platform/LateLibrary.h"

namespace {
// Ties the stored secrets to this program: another program of the same user that unprotects them
// without this tag gets nothing.
constexpr std::string_view kEntropy = "Bran-Service mailserver";

// Points into `bytes`, which must outlive the blob.
DATA_BLOB Blob(std::string_view bytes) {
    return {static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

// The output blob the platform allocated, taken over and freed.
std::string TakeBlob(DATA_BLOB& blob) {
    std::string bytes(reinterpret_cast<const char*>(blob.pbData), blob.cbData);
    SecureZeroMemory(blob.pbData, blob.cbData);
    LocalFree(blob.pbData);
    return bytes;
}
}  // namespace

std::string ProtectForCurrentUser(const std::string& secret) {
    DATA_BLOB in = Blob(secret), entropy = Blob(kEntropy), out{};
    const auto protect = BRAN_LATE(Crypt32(), CryptProtectData);
    if (!protect(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        throw EBrantel("ProtectedData", "Protect", "CryptProtectData: fout " + std::to_string(GetLastError()));
    return TakeBlob(out);
}

std::optional<std::string> UnprotectForCurrentUser(const std::string& stored) {
    if (stored.empty()) return std::nullopt;
    DATA_BLOB in = Blob(stored), entropy = Blob(kEntropy), out{};
    const auto unprotect = BRAN_LATE(Crypt32(), CryptUnprotectData);
    if (!unprotect(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out))
        return std::nullopt;
    return TakeBlob(out);
}
