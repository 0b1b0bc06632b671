#include <gtest/gtest.h>

#include "Source/Common/TechInfo/VideoInfo.h"
#include "TestSupport.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Registry.h"

TEST(VideoInfo, ModesAreListedOnceAndTheLastGivesTheVideoMemory) {
    struct {
        std::vector<TDisplayMode> modes;
        TStringList expected;
        const char* memory;
    } cases[] = {
        {{{1024, 768, 16}, {640, 480, 8}, {800, 600, 16}, {1024, 768, 16}},
         {"Windows mode 0, 1024 x 768, 16 bits", "Windows mode 1, 640 x 480, 8 bits", "Windows mode 2, 800 x 600, 16 bits",
          "Windows mode 3, 1024 x 768, 16 bits"},
         "2 Mb"},  // 1.5
        // The same mode once per refresh rate: listed under its first number.
        {{{800, 600, 32}, {800, 600, 16}, {800, 600, 16}, {640, 480, 32}, {800, 600, 16}},
         {"Windows mode 0, 800 x 600, 32 bits", "Windows mode 1, 800 x 600, 16 bits", "Windows mode 3, 640 x 480, 32 bits"},
         "1 Mb"},  // 0.92
        {{{640, 480, 4}}, {"Windows mode 0, 640 x 480, 4 bits"}, "0 Mb"},  // 0.15
        {{{1280, 1024, 32}}, {"Windows mode 0, 1280 x 1024, 32 bits"}, "5 Mb"},  // exactly 5.00
        {{{1920, 1080, 32}, {1920, 1080, 32}}, {"Windows mode 0, 1920 x 1080, 32 bits", "Windows mode 1, 1920 x 1080, 32 bits"},
         "8 Mb"},  // 7.91
    };
    TVideoInfo video;
    for (const auto& c : cases) {
        video.AssignModes(c.modes);
        EXPECT_EQ(video.Modes, c.expected);
        EXPECT_EQ(video.VideoMemory, c.memory);
    }
}

TEST(VideoInfo, ScreenSaverValues) {
    struct {
        std::optional<std::string> timeout, active;
        int minutes;
        bool isActive;
    } cases[] = {
        {"90", "1", 1, true},      {"600", "0", 10, false}, {" 59 ", "2", 0, true},
        {"veel", "ja", 0, false},  // the timeout stays as it was
        {std::nullopt, std::nullopt, 0, false},
        {"3600", "", 60, false},
    };
    TVideoInfo video;
    for (const auto& c : cases) {
        video.AssignScreenSaver(c.timeout, c.active);
        EXPECT_EQ(video.ScreenSaverTimeout, c.minutes) << c.timeout.value_or("-");
        EXPECT_EQ(video.ScreenSaverActive, c.isActive) << c.active.value_or("-");
    }
    video.AssignScreenSaver("300", "1");
    video.AssignScreenSaver("vijf", "1");
    EXPECT_EQ(video.ScreenSaverTimeout, 5);
}

TEST(VideoInfo, DriverKeysOfTheDeviceClasses) {
    TRegistrySandbox registry;
    TRegKey key;
    for (const char* path : {"\\System\\CurrentControlSet\\services\\class\\Monitor\\0001",
                             "\\System\\CurrentControlSet\\services\\class\\Monitor\\0000",
                             "\\System\\CurrentControlSet\\services\\class\\Display\\0000"})
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, path, true));
    EXPECT_EQ(DeviceDriverKey("Monitor"), "Monitor\\0001");
    EXPECT_EQ(DeviceDriverKey("Display"), "Display\\0000");
    EXPECT_EQ(DeviceDriverKey("Keyboard"), "");
}

TEST(VideoInfo, LinesFromGivenFindings) {
    TVideoInfo video;
    video.CollectInfo(nullptr);
    video.MonitorName = "Standaard VGA {monitor}";
    video.MaxResolution = "1024,768";
    video.RefreshRate = "0";
    video.VideoDriver = "S3.DRV";
    video.DriverVersion = "Niet gevonden";
    video.AdapterName = "S3 Trio64V+";
    video.CurrentMode = "1024 x 768, 16 bits";
    video.AssignScreenSaver("90", "1");
    video.AssignModes({{1024, 768, 16}, {640, 480, 8}, {1024, 768, 16}});
    EXPECT_EQ(video.GetInfoText(), (TStringList{
                                       "\\par Monitor naam:\\tab Standaard VGA \\{monitor\\}",
                                       "\\par Maximale resolutie:\\tab 1024,768",
                                       "\\par Video geheugen:\\tab 2 Mb",
                                       "\\par Huidige verticale verversing:\\tab 0",
                                       "\\par Video driver:\\tab S3.DRV",
                                       "\\par Driver versie:\\tab Niet gevonden",
                                       "\\par Screen saver is actief:\\tab Ja",
                                       "\\par Screen saver timeout:\\tab 1 Minute(s)",
                                       "\\par",
                                       "\\par Adapter naam:\\tab S3 Trio64V+",
                                       "\\par Huidige video mode:\\tab 1024 x 768, 16 bits",
                                       "\\par Ondersteunde modes:",
                                       "\\par",
                                       "Windows mode 0, 1024 x 768, 16 bits",
                                       "\\par",
                                       "Windows mode 1, 640 x 480, 8 bits",
                                       "\\par",
                                       "Windows mode 2, 1024 x 768, 16 bits",
                                       "\\par",
                                   }));
}

TEST(VideoInfo, RealDisplay) {
    TVideoInfo video;
    video.CollectInfo(nullptr);
    DEVMODEW current{};
    current.dmSize = sizeof current;
    ASSERT_TRUE(EnumDisplaySettingsW(nullptr, 0, &current));
    ASSERT_FALSE(video.Modes.empty());
    EXPECT_EQ(video.Modes[0], Format("Windows mode 0, %d x %d, %d bits", {static_cast<unsigned>(current.dmPelsWidth),
                                                                         static_cast<unsigned>(current.dmPelsHeight),
                                                                         static_cast<unsigned>(current.dmBitsPerPel)}));
    // The NT family names its adapter and monitor through the display devices.
    DISPLAY_DEVICEW adapter{};
    adapter.cb = sizeof adapter;
    ASSERT_TRUE(EnumDisplayDevicesW(nullptr, 0, &adapter, 0));
    EXPECT_EQ(video.AdapterName, Narrow(adapter.DeviceString));
    EXPECT_FALSE(video.AdapterName.empty());
    EXPECT_FALSE(video.MonitorName.empty());
    EXPECT_EQ(video.DriverVersion, "Niet gevonden");  // no 9x driver file named
    UINT seconds = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0));
    EXPECT_EQ(video.ScreenSaverTimeout, static_cast<int>(seconds / 60));
    EXPECT_EQ(video.CurrentMode, "");  // no active window in this test
    // The largest mode tells the resolution where no monitor driver records it; the last mode the
    // memory it needs.
    DEVMODEW mode{}, largest{}, last{};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &mode); ++i) {
        if (mode.dmPelsWidth * mode.dmPelsHeight > largest.dmPelsWidth * largest.dmPelsHeight) largest = mode;
        last = mode;
    }
    EXPECT_EQ(video.MaxResolution, Format("%d,%d", {static_cast<unsigned>(largest.dmPelsWidth),
                                                    static_cast<unsigned>(largest.dmPelsHeight)}));
    TVideoInfo lastOnly;
    lastOnly.AssignModes({{last.dmPelsWidth, last.dmPelsHeight, last.dmBitsPerPel}});
    EXPECT_NE(lastOnly.VideoMemory, "");
    // Wine's driver key gives the card's name but not its memory or driver version.
    EXPECT_EQ(video.VideoMemory, lastOnly.VideoMemory + " (schatting)");
    EXPECT_EQ(video.VideoDriver, "Wine Adapter");
}

TEST(VideoInfo, DriverAndMemoryFromTheDisplayDevicesDriverKey) {
    DISPLAY_DEVICEW adapter{};
    adapter.cb = sizeof adapter;
    for (DWORD i = 0; EnumDisplayDevicesW(nullptr, i, &adapter, 0); ++i)
        if (adapter.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE) break;
    const std::string deviceKey = Narrow(adapter.DeviceKey);
    const std::string machine = "\\Registry\\Machine\\";
    ASSERT_TRUE(SameText(deviceKey.substr(0, machine.size()), machine)) << deviceKey;
    const std::string driverKey = deviceKey.substr(machine.size());

    // What the driver keys of Windows 10 and of Windows 7 hold; one without the card's memory.
    struct {
        const char *driver, *version;
        DWORD memoryType;
        uint64_t memory;
        const char *driverVersion, *videoMemory;
    } cases[] = {
        {"NVIDIA GeForce RTX 3060 {OC}", "31.0.15.3623", REG_QWORD, 12ull << 30, "31.0.15.3623", "12288 Mb"},
        {"Intel(R) HD Graphics", nullptr, REG_BINARY, 128ull << 20, "Niet gevonden", "128 Mb"},
        {"Basic Display", nullptr, REG_DWORD, 0, "Niet gevonden", nullptr},  // a driver that does not know
    };
    for (const auto& c : cases) {
        TRegistrySandbox registry;
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, driverKey, true));
        key.WriteString("DriverDesc", c.driver);
        if (c.version) key.WriteString("DriverVersion", c.version);
        const bool wide = c.memoryType == REG_QWORD;
        RegSetValueExW(key.Handle(), wide ? L"HardwareInformation.qwMemorySize" : L"HardwareInformation.MemorySize", 0,
                       c.memoryType, reinterpret_cast<const BYTE*>(&c.memory), wide ? 8 : 4);
        TVideoInfo video;
        video.CollectInfo(nullptr);
        EXPECT_EQ(video.GetInfoText()[4], "\\par Video driver:\\tab " + RtfEscape(c.driver));
        EXPECT_EQ(video.DriverVersion, c.driverVersion);
        if (c.videoMemory) {
            EXPECT_EQ(video.VideoMemory, c.videoMemory);
        } else {
            EXPECT_EQ(video.VideoMemory.substr(video.VideoMemory.size() - 15), " Mb (schatting)") << video.VideoMemory;
        }
        EXPECT_EQ(video.AdapterName, Narrow(adapter.DeviceString));
    }
}
