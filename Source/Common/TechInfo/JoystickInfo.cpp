#include "Source/Common/TechInfo/JoystickInfo.h"

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/LateLibrary.h"

TJoyDevice::TJoyDevice(const JOYCAPSW& caps, MMRESULT positionResult)
    : ProductName(Narrow(caps.szPname)),
      OemDriver(Narrow(caps.szOEMVxD)),
      ButtonCount(static_cast<int>(caps.wNumButtons)),
      HasZ(caps.wCaps & JOYCAPS_HASZ),
      HasRudder(caps.wCaps & JOYCAPS_HASR),
      HasU(caps.wCaps & JOYCAPS_HASU),
      HasV(caps.wCaps & JOYCAPS_HASV),
      HasPov(caps.wCaps & JOYCAPS_HASPOV),
      PovDiscrete(caps.wCaps & JOYCAPS_POV4DIR),
      PovContinuous(caps.wCaps & JOYCAPS_POVCTS),
      Status(positionResult == JOYERR_UNPLUGGED ? "Not Connected" : "Connected") {}

TJoystickInfo::TJoystickInfo() : TTechInfo("Joystick") {}

void TJoystickInfo::GatherInfo() {
    Devices.clear();
    SupportedCount = static_cast<int>(BRAN_LATE(Winmm(), joyGetNumDevs)());
    for (UINT id = 0; static_cast<int>(id) < SupportedCount; ++id) {
        JOYCAPSW caps{};
        if (BRAN_LATE(Winmm(), joyGetDevCapsW)(id, &caps, sizeof caps) != JOYERR_NOERROR) break;
        JOYINFO position{};
        // a device that cannot be described is left out
        Attempt([&] {
            Devices.push_back(std::make_unique<TJoyDevice>(caps, BRAN_LATE(Winmm(), joyGetPos)(id, &position)));
        });
    }
}

const TStringList& TJoystickInfo::BuildInfoText() {
    Lines = {
        LabelledLine("%s Aantal joysticks ondersteund:%s %d", SupportedCount),
        LabelledLine("%s Aantal joysticks aangesloten:%s %d", static_cast<int>(Devices.size())),
        RtfPar,
    };
    for (const auto& device : Devices) {
        Lines.insert(Lines.end(), {
                                      LabelledLine("%s Joystick driver:%s %s", device->ProductName),
                                      LabelledLine("%s Joystick OEM driver:%s %s", device->OemDriver),
                                      LabelledLine("%s Aantal knoppen:%s %d", device->ButtonCount),
                                      LabelledLine("%s Heeft Z-Coordinaat:%s %s", YesNoText(device->HasZ)),
                                      LabelledLine("%s Heeft Rudder:%s %s", YesNoText(device->HasRudder)),
                                      LabelledLine("%s Heeft U-Coordinaat:%s %s", YesNoText(device->HasU)),
                                      LabelledLine("%s Heeft V-Coordinaat:%s %s", YesNoText(device->HasV)),
                                      LabelledLine("%s Heeft Point-of-view:%s %s", YesNoText(device->HasPov)),
                                      LabelledLine("%s Discrete Values Point-of-view:%s %s",
                                                   YesNoText(device->PovDiscrete)),
                                      LabelledLine("%s Continuous degree Bearings:%s %s",
                                                   YesNoText(device->PovContinuous)),
                                      LabelledLine("%s Huidige status:%s %s", device->Status),
                                      RtfPar,
                                  });
    }
    return Lines;
}
