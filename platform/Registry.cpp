#include "platform/Registry.h"

#include <algorithm>
#include <cstring>

#include "core/StrConv.h"

namespace {
std::wstring KeyPath(const std::string& path) {
    std::string p = path;
    while (!p.empty() && p.front() == '\\') p.erase(p.begin());
    while (!p.empty() && p.back() == '\\') p.pop_back();
    return Widen(p);
}

[[noreturn]] void ReadError(const std::string& name) {
    throw ERegistry("Ongeldig gegevenstype voor '" + name + "'");
}

// The read rules of the header, shared by a key's own reads and its enumerated values.
std::string DecodeString(const std::string& name, DWORD type, const std::vector<uint8_t>& data) {
    if (type != REG_SZ && type != REG_EXPAND_SZ) ReadError(name);
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
    // Stored strings may or may not carry their terminator.
    size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return Narrow(text);
}

int32_t DecodeInteger(const std::string& name, DWORD type, const std::vector<uint8_t>& data) {
    if (type != REG_DWORD || data.size() != sizeof(int32_t)) ReadError(name);
    int32_t value;
    std::memcpy(&value, data.data(), sizeof value);
    return value;
}
}  // namespace

const TRegValues::TValue* TRegValues::Find(const std::string& name) const {
    const std::string upper = UpperCase(name);
    for (const TValue& value : FValues)
        if (value.UpperName == upper) return &value;
    return nullptr;
}

std::string TRegValues::ReadString(const std::string& name) const {
    const TValue* value = Find(name);
    return value ? DecodeString(name, value->Type, value->Data) : std::string();
}

int32_t TRegValues::ReadInteger(const std::string& name) const {
    const TValue* value = Find(name);
    if (!value) ReadError(name);
    return DecodeInteger(name, value->Type, value->Data);
}

std::vector<std::string> TRegValues::GetValueNames() const {
    std::vector<std::string> names;
    for (const TValue& value : FValues) names.push_back(value.Name);
    return names;
}

TRegKey::~TRegKey() { Close(); }

TRegKey::TRegKey(TRegKey&& other) noexcept : FKey(other.FKey) { other.FKey = nullptr; }

TRegKey& TRegKey::operator=(TRegKey&& other) noexcept {
    if (this != &other) {
        Close();
        FKey = other.FKey;
        other.FKey = nullptr;
    }
    return *this;
}

void TRegKey::Close() {
    if (FKey) RegCloseKey(FKey);
    FKey = nullptr;
}

bool TRegKey::Open(HKEY root, const std::string& path, bool canCreate, bool readOnly) {
    Close();
    const REGSAM access = readOnly ? KEY_READ : KEY_READ | KEY_WRITE;
    HKEY key = nullptr;
    LONG rc;
    if (canCreate)
        rc = RegCreateKeyExW(root, KeyPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    else
        rc = RegOpenKeyExW(root, KeyPath(path).c_str(), 0, access, &key);
    if (rc != ERROR_SUCCESS) return false;
    FKey = key;
    return true;
}

TRegKey TRegKey::OpenReadOnly(HKEY root, const std::string& path) {
    TRegKey key;
    key.Open(root, path, false, true);
    return key;
}

bool TRegKey::Query(const std::string& name, DWORD& type, std::vector<uint8_t>& data) const {
    if (!FKey) return false;
    std::wstring wname = Widen(name);
    // Most values fit the first buffer, so one call usually does; every call is a trip to the
    // registry's owner. The value may also grow between calls: retry until it fits.
    data.assign(512, 0);
    for (;;) {
        DWORD got = static_cast<DWORD>(data.size());
        LONG rc = RegQueryValueExW(FKey, wname.c_str(), nullptr, &type, data.data(), &got);
        if (rc == ERROR_MORE_DATA) {
            data.assign(std::max<size_t>(got, data.size() * 2), 0);
            continue;
        }
        if (rc != ERROR_SUCCESS) return false;
        data.resize(got);
        return true;
    }
}

bool TRegKey::ValueExists(const std::string& name) const {
    return FKey && RegQueryValueExW(FKey, Widen(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

TRegDataType TRegKey::GetDataType(const std::string& name) const {
    DWORD type = 0;
    if (!FKey || RegQueryValueExW(FKey, Widen(name).c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return TRegDataType::Unknown;
    switch (type) {
        case REG_SZ: return TRegDataType::String;
        case REG_EXPAND_SZ: return TRegDataType::ExpandString;
        case REG_DWORD: return TRegDataType::Integer;
        case REG_BINARY: return TRegDataType::Binary;
        case REG_MULTI_SZ: return TRegDataType::MultiString;
        default: return TRegDataType::Unknown;
    }
}

std::string TRegKey::ReadString(const std::string& name) const {
    DWORD type = 0;
    std::vector<uint8_t> data;
    if (!Query(name, type, data)) return {};
    return DecodeString(name, type, data);
}

int32_t TRegKey::ReadInteger(const std::string& name) const {
    DWORD type = 0;
    std::vector<uint8_t> data;
    if (!Query(name, type, data)) ReadError(name);
    return DecodeInteger(name, type, data);
}

double TRegKey::ReadFloat(const std::string& name) const {
    DWORD type = 0;
    std::vector<uint8_t> data;
    if (!Query(name, type, data) || type != REG_BINARY || data.size() != sizeof(double)) ReadError(name);
    double value;
    std::memcpy(&value, data.data(), sizeof value);
    return value;
}

bool TRegKey::ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }

std::vector<uint8_t> TRegKey::ReadBinary(const std::string& name) const {
    DWORD type = 0;
    std::vector<uint8_t> data;
    if (!Query(name, type, data) || type != REG_BINARY) ReadError(name);
    return data;
}

void TRegKey::Put(const std::string& name, DWORD type, const void* data, DWORD size) {
    LONG rc = FKey ? RegSetValueExW(FKey, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), size)
                   : ERROR_INVALID_HANDLE;
    if (rc != ERROR_SUCCESS) throw ERegistry("Kan de waarde '" + name + "' niet schrijven");
}

void TRegKey::WriteString(const std::string& name, const std::string& value) {
    std::wstring w = Widen(value);
    Put(name, REG_SZ, w.c_str(), static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
}

void TRegKey::WriteExpandString(const std::string& name, const std::string& value) {
    std::wstring w = Widen(value);
    Put(name, REG_EXPAND_SZ, w.c_str(), static_cast<DWORD>((w.size() + 1) * sizeof(wchar_t)));
}

void TRegKey::WriteInteger(const std::string& name, int32_t value) { Put(name, REG_DWORD, &value, sizeof value); }
void TRegKey::WriteFloat(const std::string& name, double value) { Put(name, REG_BINARY, &value, sizeof value); }
void TRegKey::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegKey::WriteBinary(const std::string& name, const std::vector<uint8_t>& data) {
    Put(name, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
}

bool TRegKey::DeleteValue(const std::string& name) {
    return FKey && RegDeleteValueW(FKey, Widen(name).c_str()) == ERROR_SUCCESS;
}

TRegValues TRegKey::ReadValues() const {
    TRegValues values;
    DWORD count = 0, maxName = 0, maxData = 0;
    if (!FKey || RegQueryInfoKeyW(FKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName,
                                  &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return values;
    std::wstring name(maxName + 1, L'\0');
    std::vector<uint8_t> data(std::max<DWORD>(maxData, 1));
    for (DWORD i = 0; i < count;) {
        DWORD nameLength = static_cast<DWORD>(name.size()), size = static_cast<DWORD>(data.size()), type = 0;
        const LONG rc = RegEnumValueW(FKey, i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
        if (rc == ERROR_MORE_DATA) {  // a value grew since we asked: make room and ask again
            name.resize(std::max<size_t>(name.size() * 2, 16384));
            data.resize(std::max<size_t>(size, data.size() * 2));
            continue;
        }
        if (rc != ERROR_SUCCESS) break;  // values went meanwhile: what we have is what there is
        std::string text = Narrow(std::wstring_view(name.data(), nameLength));
        std::string upper = UpperCase(text);
        values.FValues.push_back({std::move(text), std::move(upper), type, {data.begin(), data.begin() + size}});
        ++i;
    }
    return values;
}

std::vector<std::string> TRegKey::GetKeyNames() const {
    std::vector<std::string> names;
    if (!FKey) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t buffer[256];
        DWORD len = 256;
        if (RegEnumKeyExW(FKey, i, buffer, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(Narrow(std::wstring_view(buffer, len)));
    }
    return names;
}

std::vector<std::string> TRegKey::GetValueNames() const {
    std::vector<std::string> names;
    if (!FKey) return names;
    for (DWORD i = 0;; ++i) {
        wchar_t buffer[16384];
        DWORD len = 16384;
        if (RegEnumValueW(FKey, i, buffer, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.push_back(Narrow(std::wstring_view(buffer, len)));
    }
    return names;
}

bool TRegKey::HasSubKey(const std::string& name) const {
    return FKey && OpenReadOnly(FKey, name).IsOpen();
}

bool TRegKey::KeyExists(HKEY root, const std::string& path) {
    return OpenReadOnly(root, path).IsOpen();
}

bool TRegKey::DeleteKey(HKEY root, const std::string& path) {
    std::wstring wpath = KeyPath(path);
    if (wpath.empty()) return false;
    {
        TRegKey key;
        if (!key.Open(root, path)) return false;
        for (const std::string& sub : key.GetKeyNames()) DeleteKey(key.Handle(), sub);
    }
    return RegDeleteKeyW(root, wpath.c_str()) == ERROR_SUCCESS;
}
