#pragma once
// Registry access with the read rules the program relies on:
//   - ReadString of a missing value gives "" ; of a value that is not a string it throws ERegistry;
//   - ReadInteger/ReadFloat/ReadBool/ReadBinary of a missing or wrong-typed value throw ERegistry;
//   - a float is stored as 8 bytes of IEEE double (REG_BINARY), a boolean as REG_DWORD 0/1, the
//     format existing installations already hold.
// A failed read leaves nothing changed. Names are UTF-8.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Exceptions.h"

class ERegistry : public EBrantel {
public:
    explicit ERegistry(const std::string& message) : EBrantel(message) {}
};

enum class TRegDataType { Unknown, String, ExpandString, Integer, Binary, MultiString };

// The values of one key as one enumeration found them (TRegKey::ReadValues), read by the same rules
// as the key's own reads. Names are compared without regard to case, as the registry does.
class TRegValues {
public:
    bool ValueExists(const std::string& name) const { return Find(name) != nullptr; }
    std::string ReadString(const std::string& name) const;
    int32_t ReadInteger(const std::string& name) const;
    // In the order the registry enumerated them.
    std::vector<std::string> GetValueNames() const;

private:
    friend class TRegKey;
    struct TValue {
        std::string Name, UpperName;
        DWORD Type;
        std::vector<uint8_t> Data;
    };
    const TValue* Find(const std::string& name) const;
    std::vector<TValue> FValues;
};

class TRegKey {
public:
    TRegKey() = default;
    ~TRegKey();
    TRegKey(TRegKey&& other) noexcept;
    TRegKey& operator=(TRegKey&& other) noexcept;
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;

    // Opens root\path (a leading "\" is allowed). With canCreate, missing keys are created.
    // readOnly asks only for read access, which also works where writing is not allowed.
    bool Open(HKEY root, const std::string& path, bool canCreate = false, bool readOnly = false);
    static TRegKey OpenReadOnly(HKEY root, const std::string& path);  // IsOpen() tells the result
    void Close();
    bool IsOpen() const { return FKey != nullptr; }
    HKEY Handle() const { return FKey; }

    bool ValueExists(const std::string& name) const;
    TRegDataType GetDataType(const std::string& name) const;  // Unknown when missing

    std::string ReadString(const std::string& name) const;
    int32_t ReadInteger(const std::string& name) const;
    double ReadFloat(const std::string& name) const;
    bool ReadBool(const std::string& name) const;
    std::vector<uint8_t> ReadBinary(const std::string& name) const;

    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, int32_t value);
    void WriteFloat(const std::string& name, double value);
    void WriteBool(const std::string& name, bool value);
    void WriteBinary(const std::string& name, const std::vector<uint8_t>& data);
    bool DeleteValue(const std::string& name);

    // Every value with its data, in one trip to the registry per value: cheaper than asking name by
    // name for a key whose values are read together.
    TRegValues ReadValues() const;

    // Names in the order the registry enumerates them.
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;
    bool HasSubKey(const std::string& name) const;

    // Removes root\path with everything below it; false when it did not exist or could not go.
    static bool DeleteKey(HKEY root, const std::string& path);
    static bool KeyExists(HKEY root, const std::string& path);

private:
    bool Query(const std::string& name, DWORD& type, std::vector<uint8_t>& data) const;
    void Put(const std::string& name, DWORD type, const void* data, DWORD size);
    HKEY FKey = nullptr;
};
