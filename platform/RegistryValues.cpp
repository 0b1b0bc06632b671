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

std::vector<std::string> SortedKeyNames(const TRegKey& key) {
    std::vector<std::string> names = key.IsOpen() ? key.GetKeyNames() : std::vector<std::string>();
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return UpperCase(a) < UpperCase(b); });
    return names;
}
