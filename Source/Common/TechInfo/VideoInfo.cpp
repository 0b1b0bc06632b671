#include "Source/Common/TechInfo/VideoInfo.h"

#include <windows.h>

#include <algorithm>
#include <charconv>

#include "Source/Common/TechInfo/FileVersionInfo.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Registry.h"
#include "platform/RegistryValues.h"
#include "platform/SysInfo.h"
#include "platform/gui/Graphics.h"  // TWindowDC

namespace {
const std::string ClassRoot = "\\System\\CurrentControlSet\\services\\class\\";

std::optional<std::string> ReadOptionalString(const TRegKey& key, const char* name) {
    if (!key.IsOpen() || !key.ValueExists(name)) return std::nullopt;
    try {
        return key.ReadString(name);
    } catch (const ERegistry&) {
        return std::nullopt;
    }
}

// A whole number as the registry keeps it in text, blanks around it allowed.
std::optional<long long> ToNumber(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    const std::string trimmed = Trim(*text);
    long long value = 0;
    const char* end = trimmed.data() + trimmed.size();
    const auto [stop, error] = std::from_chars(trimmed.data(), end, value);
    if (trimmed.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::string ModeText(size_t index, const TDisplayMode& mode) {
    return Format("Windows mode %d, %d x %d, %d bits", {index, mode.Width, mode.Height, mode.Bits});
}

std::optional<TDisplayMode> DisplaySetting(DWORD index, DEVMODEW* full = nullptr) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsW(nullptr, index, &mode)) return std::nullopt;
    if (full) *full = mode;
    return TDisplayMode{mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel};
}

// "\Registry\Machine\System\..." as the display devices name their driver key, below
// HKEY_LOCAL_MACHINE; empty for any other form.
std::string MachineKeyPath(const std::string& registryPath) {
    const std::string prefix = "\\Registry\\Machine\\";
    if (registryPath.size() <= prefix.size() || !SameText(registryPath.substr(0, prefix.size()), prefix)) return {};
    return registryPath.substr(prefix.size());
}

// The primary display adapter, its driver key and its first monitor as the NT family names them.
struct TDisplayDevices {
    std::string Adapter, DriverKey, Monitor;
};
TDisplayDevices PrimaryDisplayDevices() {
    TDisplayDevices result;
    DISPLAY_DEVICEW adapter{};
    adapter.cb = sizeof adapter;
    for (DWORD i = 0; EnumDisplayDevicesW(nullptr, i, &adapter, 0); ++i) {
        if (!(adapter.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE)) continue;
        result.Adapter = Narrow(adapter.DeviceString);
        result.DriverKey = MachineKeyPath(Narrow(adapter.DeviceKey));
        DISPLAY_DEVICEW monitor{};
        monitor.cb = sizeof monitor;
        if (EnumDisplayDevicesW(adapter.DeviceName, 0, &monitor, 0)) result.Monitor = Narrow(monitor.DeviceString);
        break;
    }
    return result;
}

}  // namespace

namespace {
// The driver key as the Windows 9x family's configuration manager names it.
std::string ConfigManagerDriverKey(const std::string& className) {
    const TRegKey configManager = TRegKey::OpenReadOnly(HKEY_DYN_DATA, "Config Manager\\Enum");
    if (!configManager.IsOpen()) return {};
    for (const std::string& device : configManager.GetKeyNames()) {
        const std::string hardwareKey = ReadStringOrEmpty(HKEY_DYN_DATA, "Config Manager\\Enum\\" + device, "HardWareKey");
        const std::string enumKey = "Enum\\" + hardwareKey;
        if (SameText(ReadStringOrEmpty(HKEY_LOCAL_MACHINE, enumKey, "Class"), className))
            return ReadStringOrEmpty(HKEY_LOCAL_MACHINE, enumKey, "Driver");
    }
    return {};
}
}  // namespace

std::string DeviceDriverKey(const std::string& className) {
    // Other platforms may have the configuration manager's key without its devices.
    if (std::string key = ConfigManagerDriverKey(className); !key.empty()) return key;
    const TRegKey classKey = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, ClassRoot + className);
    if (!classKey.IsOpen()) return {};
    const std::vector<std::string> drivers = SortedKeyNames(classKey);
    if (drivers.empty()) return {};
    return className + "\\" + drivers.back();
}

TVideoInfo::TVideoInfo() : TTechInfo("VideoSystem") {}

void TVideoInfo::AssignModes(const std::vector<TDisplayMode>& modes) {
    Modes.clear();
    VideoMemory.clear();
    if (modes.empty()) return;
    Modes.push_back(ModeText(0, modes[0]));
    // A driver may enumerate one mode several times (once per refresh rate): it is listed once,
    // under its first number.
    for (size_t i = 1; i < modes.size(); ++i) {
        const TDisplayMode& mode = modes[i];
        const bool seen = std::any_of(modes.begin() + 1, modes.begin() + static_cast<long>(i), [&](const TDisplayMode& m) {
            return m.Width == mode.Width && m.Height == mode.Height && m.Bits == mode.Bits;
        });
        if (!seen) Modes.push_back(ModeText(i, mode));
    }
    // A display that offers one mode only (a virtual screen) still tells the memory it needs.
    const TDisplayMode& last = modes.back();
    VideoMemory = WholeMegabytesText(static_cast<double>(last.Width) * last.Height * last.Bits / 8);
}

void TVideoInfo::AssignScreenSaver(const std::optional<std::string>& timeoutSeconds,
                                   const std::optional<std::string>& active) {
    if (auto seconds = ToNumber(timeoutSeconds)) ScreenSaverTimeout = static_cast<int>(*seconds / 60);
    ScreenSaverActive = ToNumber(active).value_or(0) != 0;
}

void TVideoInfo::GatherDevices() {
    const std::string monitorKey = DeviceDriverKey("Monitor");
    MonitorName = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, ClassRoot + monitorKey + "\\", "DriverDesc");
    MaxResolution = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, ClassRoot + monitorKey + "\\", "MaxResolution");
    const std::string displayKey = DeviceDriverKey("Display");
    AdapterName = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, ClassRoot + displayKey + "\\", "DriverDesc");
    RefreshRate = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, ClassRoot + displayKey + "\\DEFAULT", "RefreshRate");
    VideoDriver = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, ClassRoot + displayKey + "\\DEFAULT", "drv");
    TFileVersionInfo version;
    DriverVersion = !VideoDriver.empty() && version.LoadFromFile(VideoDriver) ? version.FileVersion : "Niet gevonden";
    FFromDisplayDevices = false;
    FAdapterMemory.reset();
    if (!monitorKey.empty() && !displayKey.empty()) return;

    const TDisplayDevices devices = PrimaryDisplayDevices();
    if (MonitorName.empty()) MonitorName = devices.Monitor;
    if (!displayKey.empty()) return;
    // Today's Windows keeps no 9x display class: the display device names its adapter, and its
    // driver key the driver, its version and, with most drivers, the memory on the card.
    FFromDisplayDevices = true;
    if (AdapterName.empty()) AdapterName = devices.Adapter;
    const TRegKey driver =
        devices.DriverKey.empty() ? TRegKey() : TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, devices.DriverKey);
    VideoDriver = ReadStringOrEmpty(driver, "DriverDesc");
    const std::string driverVersion = ReadStringOrEmpty(driver, "DriverVersion");
    if (!driverVersion.empty()) DriverVersion = driverVersion;
    FAdapterMemory = ReadNumberOrNone(driver, "HardwareInformation.qwMemorySize");
    if (!FAdapterMemory) FAdapterMemory = ReadNumberOrNone(driver, "HardwareInformation.MemorySize");
    if (FAdapterMemory == 0u) FAdapterMemory.reset();  // a driver that does not know
    DEVMODEW current{};
    if (RefreshRate.empty() && DisplaySetting(ENUM_CURRENT_SETTINGS, &current) && current.dmDisplayFrequency > 1)
        RefreshRate = IntToStr(current.dmDisplayFrequency);
}

void TVideoInfo::GatherScreenSaver() {
    if (IsWindowsNT()) {
        // The NT family keeps the user's own settings; ".Default" is the logon screen's.
        UINT seconds = 0;
        BOOL active = FALSE;
        const bool hasTimeout = SystemParametersInfoW(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
        const bool hasActive = SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        AssignScreenSaver(hasTimeout ? std::optional<std::string>(IntToStr(seconds)) : std::nullopt,
                          hasActive ? std::optional<std::string>(active ? "1" : "0") : std::nullopt);
        return;
    }
    const TRegKey desktop = TRegKey::OpenReadOnly(HKEY_USERS, ".Default\\Control Panel\\Desktop");
    AssignScreenSaver(ReadOptionalString(desktop, "ScreenSaveTimeOut"), ReadOptionalString(desktop, "ScreenSaveActive"));
}

void TVideoInfo::GatherInfo() {
    GatherDevices();
    GatherScreenSaver();

    CurrentMode.clear();
    if (HWND active = GetActiveWindow()) {
        const TWindowDC dc(active);
        if (dc.Get())
            CurrentMode = Format("%d x %d, %d bits", {GetDeviceCaps(dc.Get(), HORZRES), GetDeviceCaps(dc.Get(), VERTRES),
                                                      GetDeviceCaps(dc.Get(), BITSPIXEL)});
    }
    std::vector<TDisplayMode> modes;
    modes.push_back(DisplaySetting(0).value_or(TDisplayMode{}));
    for (DWORD i = 1;; ++i) {
        auto mode = DisplaySetting(i);
        if (!mode) break;
        modes.push_back(*mode);
    }
    AssignModes(modes);
    // The last mode tells only what one screen needs, not what the card holds.
    if (FFromDisplayDevices && !VideoMemory.empty())
        VideoMemory = FAdapterMemory ? WholeMegabytesText(static_cast<double>(*FAdapterMemory))
                                     : VideoMemory + " (schatting)";
    // Where the monitor's own limit is not recorded, the largest mode the display offers tells it.
    if (MaxResolution.empty()) {
        const auto largest = std::max_element(modes.begin(), modes.end(), [](const TDisplayMode& a, const TDisplayMode& b) {
            return static_cast<uint64_t>(a.Width) * a.Height < static_cast<uint64_t>(b.Width) * b.Height;
        });
        MaxResolution = Format("%d,%d", {largest->Width, largest->Height});
    }
}

const TStringList& TVideoInfo::BuildInfoText() {
    Lines = {
        LabelledLine("%s Monitor naam:%s %s", MonitorName),
        LabelledLine("%s Maximale resolutie:%s %s", MaxResolution),
        LabelledLine("%s Video geheugen:%s %s", VideoMemory),
        LabelledLine("%s Huidige verticale verversing:%s %s", RefreshRate),
        LabelledLine("%s Video driver:%s %s", VideoDriver),
        LabelledLine("%s Driver versie:%s %s", DriverVersion),
        LabelledLine("%s Screen saver is actief:%s %s", YesNoText(ScreenSaverActive)),
        LabelledLine("%s Screen saver timeout:%s %d Minute(s)", ScreenSaverTimeout),
        RtfPar,
        LabelledLine("%s Adapter naam:%s %s", AdapterName),
        LabelledLine("%s Huidige video mode:%s %s", CurrentMode),
        LabelOnlyLine("%s Ondersteunde modes:"),
        RtfPar,
    };
    for (const std::string& mode : Modes) Lines.insert(Lines.end(), {TextLine(mode), RtfPar});
    return Lines;
}
