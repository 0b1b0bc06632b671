#pragma once
// What the collectors' tests share: a pretended platform family, a temporarily changed environment
// variable and the current directory restored (some collectors change it).
#include <windows.h>

#include <optional>
#include <string>

#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/SysInfo.h"

struct TPlatformOverride {
    explicit TPlatformOverride(bool isNT) { SetPlatformOverride(isNT); }
    ~TPlatformOverride() { SetPlatformOverride(std::nullopt); }
    TPlatformOverride(const TPlatformOverride&) = delete;
    TPlatformOverride& operator=(const TPlatformOverride&) = delete;
};

// Sets an environment variable for the lifetime of the object.
class TEnvironment {
public:
    TEnvironment(const wchar_t* name, const std::string& value) : FName(name) {
        std::wstring saved(GetEnvironmentVariableW(name, nullptr, 0), L'\0');
        FHad = !saved.empty();
        if (FHad) saved.resize(GetEnvironmentVariableW(name, saved.data(), static_cast<DWORD>(saved.size())));
        FSaved = saved;
        SetEnvironmentVariableW(name, Widen(value).c_str());
    }
    ~TEnvironment() { SetEnvironmentVariableW(FName, FHad ? FSaved.c_str() : nullptr); }
    TEnvironment(const TEnvironment&) = delete;
    TEnvironment& operator=(const TEnvironment&) = delete;

private:
    const wchar_t* FName;
    std::wstring FSaved;
    bool FHad = false;
};

struct TCurrentDirRestore {
    std::string Saved = GetCurrentDir();
    ~TCurrentDirRestore() { SetCurrentDir(Saved); }
};
