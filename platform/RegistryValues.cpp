#include "platform/RegistryValues.h"

#include <algorithm>

#include "core/StrConv.h"

std::string ReadStringOrEmpty(const TRegKey& key, const std::string& name) {
    if (!key.IsOpen()) return {};
    try {
        return key.ReadString(name);
    } catch (const ERegistry&) {
        return {};
    }
}

std::string ReadStringOrEmpty(HKEY root, const std::string& path, const std::string& name) {
    return ReadStringOrEmpty(TRegKey::OpenReadOnly(root, path), name);
}

std::optional<uint64_t> ReadNumberOrNone(const TRegKey& key, const std::string& name) {
    if (!key.IsOpen()) return std::nullopt;
    DWORD type = 0;
    uint8_t data[8] = {};
    DWORD size = sizeof data;
    if (RegQueryValueExW(key.Handle(), Widen(name).c_str(), nullptr, &type, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    const bool number = type == REG_DWORD || type == REG_QWORD || type == REG_BINARY;
    if (!number || (size != 4 && size != 8)) return std::nullopt;
    uint64_t value = 0;
    for (DWORD i = size; i-- > 0;) value = value << 8 | data[i];
    return value;
}

std::vector<std::string> SortedKeyNames(const TRegKey& key) {
    std::vector<std::string> names = key.IsOpen() ? key.GetKeyNames() : std::vector<std::string>();
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); });
    return names;
}
