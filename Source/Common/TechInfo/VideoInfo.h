#pragma once
// TVideoInfo ("VideoSystem"): monitor, display adapter, video driver, screen saver and the current
// and supported display modes. The system summary also runs it on its own for the monitor and
// adapter names.
//
// The Windows 9x family keeps these under its device classes. Where those keys are absent (the NT
// family), the primary display device names monitor and adapter, its driver key the driver, its
// version and the memory on the card, and the current display settings the refresh rate; without
// the card's memory, that of the last display mode is given as an estimate.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

struct TDisplayMode {
    uint32_t Width = 0, Height = 0, Bits = 0;
};

// The registry key below the device classes of the driver of a device class ("Monitor",
// "Display"), e.g. "Monitor\0000"; empty when there is none.
std::string DeviceDriverKey(const std::string& className);

class TVideoInfo : public TTechInfo {
public:
    TVideoInfo();

    // Mode 0 first, then the modes the platform enumerates from 1 on, in its order: sets Modes and
    // VideoMemory (that of the last mode).
    void AssignModes(const std::vector<TDisplayMode>& modes);
    // The screen-saver values as the registry holds them (text); nullopt for a missing value.
    void AssignScreenSaver(const std::optional<std::string>& timeoutSeconds, const std::optional<std::string>& active);

    std::string MonitorName, MaxResolution, AdapterName, VideoMemory, CurrentMode, RefreshRate, VideoDriver,
        DriverVersion;
    bool ScreenSaverActive = false;
    int ScreenSaverTimeout = 0;  // minutes
    TStringList Modes;

    // The current mode is that of the program's active window, which only the window's own thread sees.
    bool GathersOnWindowThread() const override { return true; }

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;

private:
    void GatherDevices();
    void GatherScreenSaver();

    bool FFromDisplayDevices = false;         // the adapter came from the NT family's display devices
    std::optional<uint64_t> FAdapterMemory;  // bytes, as the driver key gives them
};
