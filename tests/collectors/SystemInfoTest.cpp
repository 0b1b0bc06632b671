#include <gtest/gtest.h>

#include "CollectorTestSupport.h"
#include "Source/Common/TechInfo/SystemInfo.h"
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "platform/Registry.h"

namespace {

TRegKey Key(HKEY root, const std::string& path) {
    TRegKey key;
    EXPECT_TRUE(key.Open(root, path, true)) << path;
    return key;
}

const std::string ClassKey = "\\System\\CurrentControlSet\\services\\class\\";

// The Windows 9x family's own layout.
void Write9xLayout() {
    TRegKey first = Key(HKEY_LOCAL_MACHINE, "\\Enum\\Root\\*PNP0C01\\0000");
    first.WriteString("MachineType", "Oud");
    first.WriteString("BIOSName", "Oud BIOS");
    TRegKey last = Key(HKEY_LOCAL_MACHINE, "\\Enum\\Root\\*PNP0C01\\0001");
    last.WriteString("MachineType", "IBM PC/AT");
    last.WriteString("BIOSName", "Award");
    last.WriteString("BIOSVersion", "4.51 PG");
    last.WriteString("BIOSDate", "");
    struct {
        const char* name;
        std::vector<uint8_t> subClass;
    } ports[] = {{"0000", {1}}, {"0001", {1}}, {"0002", {0}}, {"0003", {1, 0}}, {"0004", {}}};
    for (const auto& p : ports) {
        TRegKey port = Key(HKEY_LOCAL_MACHINE, ClassKey + "ports\\" + p.name);
        if (!p.subClass.empty()) port.WriteBinary("PortSubClass", p.subClass);
    }
    Key(HKEY_LOCAL_MACHINE, ClassKey + "Keyboard\\0000").WriteString("driverdesc", "Standaard 101/102-toetsen");
    Key(HKEY_LOCAL_MACHINE, ClassKey + "Mouse\\0000").WriteString("driverdesc", "Seriële muis");
    Key(HKEY_LOCAL_MACHINE, ClassKey + "Mouse\\0001").WriteString("driverdesc", "PS/2-muis");
    Key(HKEY_CLASSES_ROOT, "\\htmlfile\\shell\\open\\ddeexec\\Application").WriteString("", "IExplore");
}

// What the NT family keeps instead.
void WriteNTLayout() {
    TRegKey bios = Key(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\BIOS");
    bios.WriteString("SystemManufacturer", "Bakker Computers ");
    bios.WriteString("SystemProductName", "Werkstation 5");
    bios.WriteString("BIOSVendor", "Phoenix");
    bios.WriteString("BIOSVersion", "1.2");
    bios.WriteString("BIOSReleaseDate", "03/15/2024");
    TRegKey serial = Key(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM");
    serial.WriteString("\\Device\\Serial0", "COM1");
    serial.WriteString("\\Device\\Serial1", "COM2");
    Key(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\PARALLEL PORTS").WriteString("\\Device\\Parallel0", "\\DosDevices\\LPT1");
    const std::string classes = "System\\CurrentControlSet\\Control\\Class\\";
    Key(HKEY_LOCAL_MACHINE, classes + "{4D36E96B-E325-11CE-BFC1-08002BE10318}\\0000").WriteString("DriverDesc", "Standaard PS/2-toetsenbord");
    Key(HKEY_LOCAL_MACHINE, classes + "{4D36E96F-E325-11CE-BFC1-08002BE10318}\\0000").WriteString("DriverDesc", "HID-muis");
    Key(HKEY_LOCAL_MACHINE, classes + "{4D36E96F-E325-11CE-BFC1-08002BE10318}\\Properties").WriteString("Security", "x");
    Key(HKEY_CLASSES_ROOT, "\\htmlfile\\shell\\open\\command").WriteString("", "\"C:\\Programma's\\Surfer\\surfer.exe\" -url \"%1\"");
}
}  // namespace

TEST(SystemInfo, ValuesFromEachRegistryLayout) {
    struct {
        const char* layout;
        void (*write)();
        const char *machine, *bios, *ports, *keyboard, *mouse, *browser;
    } cases[] = {
        {"9x", Write9xLayout, "IBM PC/AT", "Award 4.51 PG", "2 COM / 1 LPT", "Standaard 101/102-toetsen", "PS/2-muis",
         "IExplore"},
        {"NT", WriteNTLayout, "Bakker Computers Werkstation 5", "Phoenix 1.2  03/15/2024", "2 COM / 1 LPT",
         "Standaard PS/2-toetsenbord", "HID-muis", "surfer"},
        {"neither", [] {}, "Niet gevonden", "Niet gevonden", "Niet gevonden", "Niet gevonden", "Niet gevonden",
         "Niet aanwezig"},
    };
    for (const auto& c : cases) {
        TRegistrySandbox registry;
        c.write();
        EXPECT_EQ(ReadMachineType(), c.machine) << c.layout;
        EXPECT_EQ(ReadBios(), c.bios) << c.layout;
        EXPECT_EQ(ReadPorts(), c.ports) << c.layout;
        EXPECT_EQ(ReadDeviceClassDriver("Keyboard"), c.keyboard) << c.layout;
        EXPECT_EQ(ReadDeviceClassDriver("Mouse"), c.mouse) << c.layout;
        EXPECT_EQ(ReadBrowser(), c.browser) << c.layout;
    }
}

TEST(SystemInfo, TheBrowserTheUserChoseBeforeTheOneThatCameWithWindows) {
    const std::string edgeApp = "AppXq0fevzme2pys62n3e0fbqa7peapykr8v";
    struct {
        const char *progId, *applicationName, *command, *browser;
    } cases[] = {
        {"ChromeHTML", "Google Chrome", "\"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe\" --single-argument %1",
         "Google Chrome"},
        // A packaged app names itself by a resource and has no program of its own.
        {edgeApp.c_str(), "@{Microsoft.MicrosoftEdge_44.19041.1266.0_neutral__8wekyb3d8bbwe?ms-resource://MicrosoftEdge/Resources/AppName}",
         nullptr, edgeApp.c_str()},
        {nullptr, nullptr, nullptr, "IExplore"},  // no choice recorded: the htmlfile class
    };
    for (const auto& c : cases) {
        TRegistrySandbox registry;
        // As on Windows 10 and 11: the htmlfile class names the browser that came with Windows.
        Key(HKEY_CLASSES_ROOT, "\\htmlfile\\shell\\open\\ddeexec\\Application").WriteString("", "IExplore");
        if (c.progId)
            Key(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice")
                .WriteString("ProgId", c.progId);
        if (c.applicationName)
            Key(HKEY_CLASSES_ROOT, std::string(c.progId) + "\\Application").WriteString("ApplicationName", c.applicationName);
        if (c.command) Key(HKEY_CLASSES_ROOT, std::string(c.progId) + "\\shell\\open\\command").WriteString("", c.command);
        EXPECT_EQ(ReadBrowser(), c.browser) << (c.progId ? c.progId : "-");
    }
    // Wine records its own browser as the user's choice, with a program but no name.
    EXPECT_EQ(ReadBrowser(), "winebrowser");
}

TEST(SystemInfo, NTMachinesWithoutAMakersName) {
    TRegistrySandbox registry;
    TRegKey bios = Key(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\BIOS");
    bios.WriteString("SystemManufacturer", "");
    bios.WriteString("BIOSVendor", "");
    Key(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System").WriteString("Identifier", "AT compatible");
    Key(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM");
    EXPECT_EQ(ReadMachineType(), "AT compatible");
    EXPECT_EQ(ReadBios(), "Niet gevonden");
    EXPECT_EQ(ReadPorts(), "0 COM / 0 LPT");
}

TEST(SystemInfo, APortSubClassThatIsNoBinaryValueIsAnError) {
    TRegistrySandbox registry;
    Key(HKEY_LOCAL_MACHINE, ClassKey + "ports\\0000").WriteString("PortSubClass", "1");
    EXPECT_THROW(ReadPorts(), ERegistry);
}

TEST(SystemInfo, MemoryInWholeMegabytesRoundedOnce) {
    struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {130560ull * 1024, "128 Mb"},  // 127.5: a half goes up
        {128ull << 20, "128 Mb"},
        {127ull << 20, "127 Mb"},
        {(129ull << 20), "129 Mb"},
        {(24105ull << 20) + (200ull << 10), "24105 Mb"},  // 24,105.2: not rounded twice
        {(16ull << 30) - (300ull << 20) + (700ull << 10), "16085 Mb"},  // past 4 GB
    };
    for (const auto& c : cases) EXPECT_EQ(WholeMegabytesText(static_cast<double>(c.bytes)), c.text) << c.bytes;
}

TEST(SystemInfo, LinesOnBothPlatformFamilies) {
    // The lines of given findings, without a collection (which would take the machine's own).
    struct TRender : TSystemInfo {
        using TSystemInfo::BuildInfoText;
    } system;
    EXPECT_THROW(system.GetInfoText(), EBranAssertion);
    system.MachineType = "IBM PC/AT";
    system.ComputerName = "KANTOOR";
    system.UserName = "Jan";
    system.Memory = "128 Mb";
    system.Language = "Dutch";
    system.WindowsVersion = "Windows 98 4.10.2222 A";
    system.ProcessorLines = {"Intel Pentium II", "467 Mhz.", "GenuineIntel"};
    system.Bios = "Award 4.51 PG";
    system.Monitor = "Standaard VGA";
    system.VideoAdapter = "S3 Trio64V+";
    system.Ports = "2 COM / 1 LPT";
    system.Keyboard = "Standaard 101/102-toetsen";
    system.Mouse = "PS/2-muis";
    system.NetworkPresent = true;
    system.Browser = "IExplore";
    system.Modems = {"Hayes Accura 56K (COM2)", "ISDN {intern} (COM3)"};
    TStringList win9x = {
        "\\par Computer type:\\tab IBM PC/AT",
        "\\par Computer naam:\\tab KANTOOR",
        "\\par Gebruiker naam:\\tab Jan",
        "\\par Geheugen:\\tab 128 Mb",
        "\\par Taal:\\tab Dutch",
        "\\par Windows versie:\\tab Windows 98 4.10.2222 A",
        "\\par Processor:\\tab Intel Pentium II",
        "\\par \\tab 467 Mhz.",
        "\\par \\tab GenuineIntel",
        "\\par Bios:\\tab Award 4.51 PG",
        "\\par Monitor:\\tab Standaard VGA",
        "\\par Video adapter:\\tab S3 Trio64V+",
        "\\par Seriële/Parallele poorten:\\tab 2 COM / 1 LPT",
        "\\par Toetsenbord:\\tab Standaard 101/102-toetsen",
        "\\par Muis:\\tab PS/2-muis",
        "\\par Netwerk geinstalleerd:\\tab Ja",
        "\\par Langzame Machine:\\tab Nee",
        "\\par Standaard Internet browser: \\tab IExplore",
        "\\par Geïnstalleerde Modem(s): \\tab Hayes Accura 56K (COM2)",
        "\\par \\tab ISDN \\{intern\\} (COM3)",
    };
    {
        TPlatformOverride family(false);
        EXPECT_EQ(system.BuildInfoText(), win9x);
    }
    TPlatformOverride family(true);
    system.ProcessorLines[1] = "";  // speed unknown: two processor lines
    system.Modems.clear();
    TStringList nt = win9x;
    nt.erase(nt.begin() + 18, nt.end());
    nt.erase(nt.begin() + 15, nt.begin() + 17);
    nt.erase(nt.begin() + 7);
    EXPECT_EQ(system.BuildInfoText(), nt);
}

TEST(SystemInfo, RealMachineUnderTheNTFamily) {
    TSystemInfo system;
    system.CollectInfo(nullptr);
    EXPECT_NE(system.MachineType, "");
    EXPECT_FALSE(system.ComputerName.empty());
    EXPECT_FALSE(system.UserName.empty());
    EXPECT_EQ(system.ProcessorLines.size(), 3u);
    EXPECT_NE(system.Memory, "0 Mb");
    EXPECT_EQ(system.WindowsVersion.rfind("Windows NT ", 0), 0u);
    EXPECT_FALSE(system.VideoAdapter.empty());
    EXPECT_FALSE(system.NetworkPresent || system.SlowMachine);
    const TStringList& lines = system.GetInfoText();
    EXPECT_EQ(lines.front(), "\\par Computer type:\\tab " + system.MachineType);
    EXPECT_EQ(lines[1], "\\par Computer naam:\\tab " + system.ComputerName);
}
