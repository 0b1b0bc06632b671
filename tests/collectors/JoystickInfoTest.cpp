#include <gtest/gtest.h>

#include "Source/Common/TechInfo/JoystickInfo.h"
#include "core/StrConv.h"

namespace {
JOYCAPSW Caps(const wchar_t* name, const wchar_t* oem, UINT buttons, UINT flags) {
    JOYCAPSW caps{};
    wcscpy(caps.szPname, name);
    wcscpy(caps.szOEMVxD, oem);
    caps.wNumButtons = buttons;
    caps.wCaps = flags;
    return caps;
}
}  // namespace

TEST(JoystickInfo, CapabilityFlags) {
    struct {
        UINT flag;
        bool TJoyDevice::*field;
    } cases[] = {
        {0x01, &TJoyDevice::HasZ},   {0x02, &TJoyDevice::HasRudder},   {0x04, &TJoyDevice::HasU},
        {0x08, &TJoyDevice::HasV},   {0x10, &TJoyDevice::HasPov},      {0x20, &TJoyDevice::PovDiscrete},
        {0x40, &TJoyDevice::PovContinuous},
    };
    for (const auto& c : cases) {
        TJoyDevice device(Caps(L"Pad", L"", 2, c.flag), JOYERR_NOERROR);
        for (const auto& other : cases) EXPECT_EQ(device.*other.field, other.flag == c.flag) << c.flag;
    }
}

TEST(JoystickInfo, LinesFromDeviceRecords) {
    TJoystickInfo joysticks;
    joysticks.CollectInfo(nullptr);
    joysticks.SupportedCount = 2;
    joysticks.Devices.clear();
    EXPECT_EQ(joysticks.GetInfoText(), (TStringList{"\\par Aantal joysticks ondersteund:\\tab 2",
                                                    "\\par Aantal joysticks aangesloten:\\tab 0", "\\par"}));

    joysticks.Devices.push_back(
        std::make_unique<TJoyDevice>(Caps(L"Stuurwiel Ω", L"VJOYD.VXD", 4, 0x31), JOYERR_UNPLUGGED));
    joysticks.Devices.push_back(std::make_unique<TJoyDevice>(Caps(L"Gamepad", L"", 10, 0x02), JOYERR_NOERROR));
    const TStringList device1 = {
        "\\par Joystick driver:\\tab Stuurwiel Ω", "\\par Joystick OEM driver:\\tab VJOYD.VXD",
        "\\par Aantal knoppen:\\tab 4",           "\\par Heeft Z-Coordinaat:\\tab Ja",
        "\\par Heeft Rudder:\\tab Nee",           "\\par Heeft U-Coordinaat:\\tab Nee",
        "\\par Heeft V-Coordinaat:\\tab Nee",     "\\par Heeft Point-of-view:\\tab Ja",
        "\\par Discrete Values Point-of-view:\\tab Ja", "\\par Continuous degree Bearings:\\tab Nee",
        "\\par Huidige status:\\tab Not Connected", "\\par",
    };
    const TStringList& lines = joysticks.GetInfoText();
    ASSERT_EQ(lines.size(), 3u + 2 * 12);
    EXPECT_EQ(lines[1], "\\par Aantal joysticks aangesloten:\\tab 2");
    EXPECT_EQ(TStringList(lines.begin() + 3, lines.begin() + 15), device1);
    EXPECT_EQ(lines[15], "\\par Joystick driver:\\tab Gamepad");
    EXPECT_EQ(lines[17], "\\par Aantal knoppen:\\tab 10");
    EXPECT_EQ(lines[19], "\\par Heeft Rudder:\\tab Ja");
    EXPECT_EQ(lines[25], "\\par Huidige status:\\tab Connected");
}

TEST(JoystickInfo, RealMachine) {
    TJoystickInfo joysticks;
    joysticks.Devices.push_back(std::make_unique<TJoyDevice>(Caps(L"oud", L"", 1, 0), JOYERR_NOERROR));
    joysticks.CollectInfo(nullptr);
    EXPECT_GE(joysticks.SupportedCount, 0);
    EXPECT_LE(joysticks.Devices.size(), static_cast<size_t>(joysticks.SupportedCount));
    for (const auto& device : joysticks.Devices) EXPECT_NE(device->ProductName, "oud");
    const TStringList& lines = joysticks.GetInfoText();
    EXPECT_EQ(lines.size(), 3 + 12 * joysticks.Devices.size());
    EXPECT_EQ(lines[0], "\\par Aantal joysticks ondersteund:\\tab " + IntToStr(joysticks.SupportedCount));
}
