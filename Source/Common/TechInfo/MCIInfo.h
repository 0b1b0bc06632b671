#pragma once
// TMCIInfo ("MCIdevices"): the devices of the media control interface with their type and
// capabilities. Every device is opened by its type name, asked and closed again before the next;
// none stays open.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

// The device type text of a capability answer; an unknown code or no answer is "Gebruiker".
std::string MciDeviceTypeText(std::optional<DWORD> code);

// Answers one device-capabilities item; nullopt when the query fails.
using TMciCapabilityQuery = std::function<std::optional<DWORD>(DWORD item)>;

class TMCIDeviceInfo : public TBranObject {
public:
    TMCIDeviceInfo() = default;
    // Asks the platform about device `number` (from 1).
    explicit TMCIDeviceInfo(DWORD number);

    // Takes the capabilities and the device type from the answers of an open device.
    void AssignCapabilities(const TMciCapabilityQuery& query);

    std::string Description, Alias, DeviceType;
    bool CanPlay = false, CanRecord = false, CanEject = false, HasAudio = false, HasVideo = false, Compound = false,
         UsesFiles = false, CanSave = false;
};

class TMCIInfo : public TTechInfo {
public:
    TMCIInfo();

    std::vector<std::unique_ptr<TMCIDeviceInfo>> Devices;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
