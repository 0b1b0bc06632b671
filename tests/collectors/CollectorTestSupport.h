#pragma once
// What the collectors' tests share: a pretended platform family and the current directory restored.
#include <windows.h>

#include <optional>
#include <string>

#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/SysInfo.h"

struct TPlatformOverride {
    explicit TPlatformOverride(bool isNT) { SetPlatformOverride(isNT); }
    ~TPlatformOverride() { SetPlatformOverride(std::nullopt); }
    TPlatformOverride(const TPlatformOverride&) = delete;
    TPlatformOverride& operator=(const TPlatformOverride&) = delete;
};

struct TCurrentDirRestore {
    std::string Saved = GetCurrentDir();
    ~TCurrentDirRestore() { SetCurrentDir(Saved); }
};
