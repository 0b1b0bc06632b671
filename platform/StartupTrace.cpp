#include "platform/StartupTrace.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {
// The trace file's name, or empty when no one asked for a trace.
const std::wstring& TraceFile() {
    static const std::wstring file = [] {
        wchar_t name[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"BRAN_STARTUP_TRACE", name, MAX_PATH);
        return length > 0 && length < MAX_PATH ? std::wstring(name, length) : std::wstring();
    }();
    return file;
}

double MillisecondsSinceProcessCreation() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return -1;
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](const FILETIME& t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}
}  // namespace

void StartupMark(const char* phase) {
    if (TraceFile().empty()) return;
    const double ms = MillisecondsSinceProcessCreation();
    const std::unique_ptr<FILE, int (*)(FILE*)> file(_wfopen(TraceFile().c_str(), L"a"), std::fclose);
    if (file) std::fprintf(file.get(), "%s %.1f\n", phase, ms);
}
