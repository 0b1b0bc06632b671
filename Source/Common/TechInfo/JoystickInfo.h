#pragma once
// TJoystickInfo ("Joystick"): the game controllers the joystick driver knows.
#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

class TJoyDevice : public TBranObject {
public:
    // From the device's capabilities and the result of reading its position.
    TJoyDevice(const JOYCAPSW& caps, MMRESULT positionResult);

    std::string ProductName;
    std::string OemDriver;
    int ButtonCount = 0;
    bool HasZ = false, HasRudder = false, HasU = false, HasV = false, HasPov = false;
    bool PovDiscrete = false, PovContinuous = false;
    std::string Status;  // "Connected" or "Not Connected"
};

class TJoystickInfo : public TTechInfo {
public:
    TJoystickInfo();

    int SupportedCount = 0;
    std::vector<std::unique_ptr<TJoyDevice>> Devices;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
