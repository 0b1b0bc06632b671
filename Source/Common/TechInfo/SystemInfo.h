#pragma once
// TSystemInfo ("SystemSummary"): a one-page profile of the PC: machine type, names, memory, language,
// Windows version, processor, firmware, monitor and adapter, ports, keyboard, mouse, network and
// speed flags, default browser and modems.
//
// The Windows 9x family describes its hardware under "Enum\Root" and its device classes; where that
// layout is absent the NT family's own places are read (the firmware description, the device map,
// the device class keys, the display devices), and only where both are silent the fallback texts
// stand.
#include <cstdint>
#include <string>

#include "Source/Common/TechInfo/TechInfo.h"

// The readers of the separate values, each with its fallback text.
std::string ReadMachineType();
std::string ReadBios();
// "%d COM / %d LPT"; throws ERegistry when a 9x "PortSubClass" is not binary.
std::string ReadPorts();
// The driver description of a device class: "Keyboard" or "Mouse".
std::string ReadDeviceClassDriver(const std::string& className);
std::string ReadBrowser();

class TSystemInfo : public TTechInfo {
public:
    TSystemInfo();

    std::string MachineType, ComputerName, UserName;
    TStringList ProcessorLines;  // description, speed (may be empty), vendor
    std::string Bios, Memory, Monitor, VideoAdapter, Ports, Keyboard, Mouse, WindowsVersion, Language, Browser;
    bool NetworkPresent = false, SlowMachine = false;  // stay false on the NT family
    TStringList Modems;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
