#include "Source/Common/TechInfo/SystemInfo.h"

#include <windows.h>

#include <algorithm>

#include "Source/Common/TechInfo/Country.h"
#include "Source/Common/TechInfo/MemoryInfo.h"
#include "Source/Common/TechInfo/VideoInfo.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/RegistryValues.h"
#include "platform/SysInfo.h"

namespace {
const char* NotFound = "Niet gevonden";
const std::string MachineEnumKey = "\\Enum\\Root\\*PNP0C01";
const std::string FirmwareKey = "HARDWARE\\DESCRIPTION\\System\\BIOS";

// The last of the sorted subkeys of HKEY_LOCAL_MACHINE\path, or empty when it has none.
std::string LastSubKey(const std::string& path) {
    const std::vector<std::string> names = SortedKeyNames(TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, path));
    return names.empty() ? std::string() : path + "\\" + names.back();
}

// Firmware texts are often padded with blanks.
std::string Joined(const std::string& a, const std::string& b) { return Trim(Trim(a) + " " + Trim(b)); }

// The NT family's firmware description.
std::string Firmware(const char* name) {
    return ReadStringOrEmpty(HKEY_LOCAL_MACHINE, FirmwareKey, name);
}

int ValueCount(const std::string& path) {
    const TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, path);
    return key.IsOpen() ? static_cast<int>(key.GetValueNames().size()) : -1;
}

// Device classes of the NT family.
std::string DeviceClassGuid(const std::string& className) {
    if (SameText(className, "Keyboard")) return "{4D36E96B-E325-11CE-BFC1-08002BE10318}";
    if (SameText(className, "Mouse")) return "{4D36E96F-E325-11CE-BFC1-08002BE10318}";
    return {};
}

// "winebrowser" of "\"C:\\windows\\system32\\winebrowser.exe\" \"%1\"".
std::string ProgramNameOf(const std::string& command) {
    std::string program = Trim(command);
    if (program.empty()) return {};
    if (program[0] == '"') {
        program = program.substr(1, program.find('"', 1) - 1);
    } else {
        program = program.substr(0, program.find(' '));
    }
    const std::string name = ExtractFileName(program);
    return name.substr(0, name.size() - ExtractFileExt(name).size());
}
}  // namespace

std::string ReadMachineType() {
    const std::string subKey = LastSubKey(MachineEnumKey);
    if (!subKey.empty()) {
        const TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, subKey);
        const std::string setup = ReadStringOrEmpty(key, "SetupMachineType");
        return setup.empty() ? ReadStringOrEmpty(key, "MachineType") : setup;
    }
    std::string machine = Joined(Firmware("SystemManufacturer"), Firmware("SystemProductName"));
    if (machine.empty())
        machine = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System", "Identifier");
    return machine.empty() ? NotFound : machine;
}

std::string ReadBios() {
    const std::string subKey = LastSubKey(MachineEnumKey);
    if (!subKey.empty()) {
        const TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, subKey);
        if (!key.IsOpen()) return {};
        return Trim(Format("%s %s  %s", {ReadStringOrEmpty(key, "BIOSName"), ReadStringOrEmpty(key, "BIOSVersion"),
                                         ReadStringOrEmpty(key, "BIOSDate")}));
    }
    const std::string bios =
        Trim(Format("%s %s  %s", {Firmware("BIOSVendor"), Firmware("BIOSVersion"), Firmware("BIOSReleaseDate")}));
    return bios.empty() ? NotFound : bios;
}

std::string ReadPorts() {
    const std::string path = "\\System\\CurrentControlSet\\services\\class\\ports";
    const std::vector<std::string> names = SortedKeyNames(TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, path));
    int serial = 0, parallel = 0;
    if (!names.empty()) {
        for (const std::string& name : names) {
            const TRegKey port = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, path + "\\" + name);
            if (!port.IsOpen() || !port.ValueExists("PortSubClass")) continue;
            const std::vector<uint8_t> subClass = port.ReadBinary("PortSubClass");
            if (subClass.size() != 1) continue;
            ++(subClass[0] ? serial : parallel);
        }
    } else {
        serial = ValueCount("HARDWARE\\DEVICEMAP\\SERIALCOMM");
        parallel = ValueCount("HARDWARE\\DEVICEMAP\\PARALLEL PORTS");
        if (serial < 0 && parallel < 0) return NotFound;
        serial = std::max(serial, 0);
        parallel = std::max(parallel, 0);
    }
    return Format("%d COM / %d LPT", {serial, parallel});
}

std::string ReadDeviceClassDriver(const std::string& className) {
    std::string subKey = LastSubKey("\\System\\CurrentControlSet\\services\\class\\" + className);
    if (subKey.empty()) {
        const std::string classPath = "System\\CurrentControlSet\\Control\\Class\\" + DeviceClassGuid(className);
        std::vector<std::string> names = SortedKeyNames(TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, classPath));
        names.erase(std::remove_if(names.begin(), names.end(), [](const std::string& n) { return !IsDriverKeyName(n); }),
                    names.end());
        if (DeviceClassGuid(className).empty() || names.empty()) return NotFound;
        const std::string driver =
            ReadStringOrEmpty(HKEY_LOCAL_MACHINE, classPath + "\\" + names.back(), "DriverDesc");
        return driver.empty() ? NotFound : driver;
    }
    return ReadStringOrEmpty(HKEY_LOCAL_MACHINE, subKey, "driverdesc");
}

namespace {
// The browser the user chose for web addresses (Windows Vista on): its name as it gives it, else its
// program's; the ProgId itself when neither is there (an app without a program of its own).
std::string ChosenBrowser() {
    const std::string progId = ReadStringOrEmpty(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
        "ProgId");
    if (progId.empty()) return {};
    // "@{Package?ms-resource://...}" names a resource string, not a name.
    const std::string name = ReadStringOrEmpty(HKEY_CLASSES_ROOT, progId + "\\Application", "ApplicationName");
    if (!name.empty() && name[0] != '@') return name;
    const std::string program =
        ProgramNameOf(ReadStringOrEmpty(HKEY_CLASSES_ROOT, progId + "\\shell\\open\\command", ""));
    return program.empty() ? progId : program;
}
}  // namespace

std::string ReadBrowser() {
    // Today's Windows keeps the htmlfile class naming the browser it came with, whatever the user
    // chose.
    if (std::string chosen = ChosenBrowser(); !chosen.empty()) return chosen;
    const TRegKey dde = TRegKey::OpenReadOnly(HKEY_CLASSES_ROOT, "\\htmlfile\\shell\\open\\ddeexec\\Application");
    if (dde.IsOpen()) return ReadStringOrEmpty(dde, "");
    const std::string program = ProgramNameOf(
        ReadStringOrEmpty(HKEY_CLASSES_ROOT, "\\htmlfile\\shell\\open\\command", ""));
    return program.empty() ? "Niet aanwezig" : program;
}

TSystemInfo::TSystemInfo() : TTechInfo("SystemSummary") {}

void TSystemInfo::GatherInfo() {
    MachineType = ReadMachineType();
    wchar_t computer[16] = {};
    DWORD computerLength = 16;
    ComputerName = GetComputerNameW(computer, &computerLength) ? Narrow(computer) : std::string();
    wchar_t user[51] = {};
    DWORD userLength = 51;
    UserName = GetUserNameW(user, &userLength) ? Narrow(user) : std::string();
    GetProcessorInfo(ProcessorLines);
    Bios = ReadBios();
    Memory = WholeMegabytesText(static_cast<double>(QueryMemoryStatus().TotalPhys));
    Ports = ReadPorts();
    Keyboard = ReadDeviceClassDriver("Keyboard");
    Mouse = ReadDeviceClassDriver("Mouse");
    WindowsVersion = GetWindowsVersionText();
    Language = GetUserLocaleText(TLocaleInfo::SENGLANGUAGE);
    Browser = ReadBrowser();
    GetModems(Modems);
    {
        TVideoInfo video;
        video.CollectInfo(nullptr);
        Monitor = video.MonitorName;
        VideoAdapter = video.AdapterName;
    }
    if (!IsWindowsNT()) {
        NetworkPresent = GetSystemMetrics(SM_NETWORK) & 1;
        SlowMachine = GetSystemMetrics(SM_SLOWMACHINE) != 0;
    }
}

const TStringList& TSystemInfo::BuildInfoText() {
    Lines = {
        LabelledLine("%s Computer type:%s %s", MachineType),
        LabelledLine("%s Computer naam:%s %s", ComputerName),
        LabelledLine("%s Gebruiker naam:%s %s", UserName),
        LabelledLine("%s Geheugen:%s %s", Memory),
        LabelledLine("%s Taal:%s %s", Language),
        LabelledLine("%s Windows versie:%s %s", WindowsVersion),
        LabelledLine("%s Processor:%s %s", ProcessorLines.size() > 0 ? ProcessorLines[0] : std::string()),
    };
    if (ProcessorLines.size() > 1 && !ProcessorLines[1].empty()) Lines.push_back(ContinuationLine(ProcessorLines[1]));
    Lines.push_back(ContinuationLine(ProcessorLines.size() > 2 ? ProcessorLines[2] : std::string()));
    Lines.insert(Lines.end(), {
                                  LabelledLine("%s Bios:%s %s", Bios),
                                  LabelledLine("%s Monitor:%s %s", Monitor),
                                  LabelledLine("%s Video adapter:%s %s", VideoAdapter),
                                  LabelledLine("%s Seriële/Parallele poorten:%s %s", Ports),
                                  LabelledLine("%s Toetsenbord:%s %s", Keyboard),
                                  LabelledLine("%s Muis:%s %s", Mouse),
                              });
    if (!IsWindowsNT()) {
        Lines.push_back(LabelledLine("%s Netwerk geinstalleerd:%s %s", YesNoText(NetworkPresent)));
        Lines.push_back(LabelledLine("%s Langzame Machine:%s %s", YesNoText(SlowMachine)));
    }
    Lines.push_back(LabelledLine("%s Standaard Internet browser: %s %s", Browser));
    for (size_t i = 0; i < Modems.size(); ++i)
        Lines.push_back(i == 0 ? LabelledLine("%s Geïnstalleerde Modem(s): %s %s", Modems[i]) : ContinuationLine(Modems[i]));
    return Lines;
}
