#include "platform/SysInfo.h"

#include <windows.h>


namespace {
std::optional<bool>& Override() {
    static std::optional<bool> value;
    return value;
}
}  // namespace

void SetPlatformOverride(std::optional<bool> isNT) { Override() = isNT; }

bool IsWindowsNT() {
    if (Override()) return *Override();
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&info);
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}
