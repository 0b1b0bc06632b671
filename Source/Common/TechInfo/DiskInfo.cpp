#include "Source/Common/TechInfo/DiskInfo.h"

#include <windows.h>

#include <algorithm>

#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Registry.h"
#include "platform/RegistryValues.h"

namespace {
std::string DriveTypeText(unsigned type) {
    switch (type) {
        case DRIVE_REMOVABLE: return "Verwisselbaar/Diskette";
        case DRIVE_FIXED: return "Vast";
        case DRIVE_REMOTE: return "Netwerk";
        case DRIVE_CDROM: return "CD-ROM";
        case DRIVE_RAMDISK: return "RAM";
        default: return "Onbekend";
    }
}

std::wstring RootOf(char letter) { return Widen(std::string(1, letter) + ":\\"); }

// Clusters times bytes per cluster in 64 bits: today's drives hold more than the 2 GB a 32-bit
// product can count.
std::string SpaceText(uint32_t clusters, const TDriveGeometry& geometry, TSpaceUnit unit) {
    const uint64_t bytes = static_cast<uint64_t>(clusters) * geometry.SectorsPerCluster * geometry.BytesPerSector;
    return Format("%.2f", {static_cast<double>(bytes) / SpaceUnitDivisors[static_cast<size_t>(TSpaceUnit::Mb)]}) +
           GetSpaceUnitString(unit);
}

}  // namespace

namespace {
// An empty floppy or CD drive must not make the platform ask the user to insert a disk.
class TQuietDriveErrors {
public:
    TQuietDriveErrors() : FSaved(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~TQuietDriveErrors() { SetErrorMode(FSaved); }
    TQuietDriveErrors(const TQuietDriveErrors&) = delete;
    TQuietDriveErrors& operator=(const TQuietDriveErrors&) = delete;

private:
    UINT FSaved;
};
}  // namespace

TDriveRecord QueryDrive(char letter) {
    const TQuietDriveErrors quiet;
    const std::wstring root = RootOf(letter);
    TDriveRecord record;
    record.Type = GetDriveTypeW(root.c_str());
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    if (GetDiskFreeSpaceW(root.c_str(), &sectors, &bytes, &freeClusters, &totalClusters))
        record.Geometry = TDriveGeometry{sectors, bytes, freeClusters, totalClusters};
    wchar_t name[50] = {}, fileSystem[50] = {};
    DWORD serial = 0, maxLength = 0, flags = 0;
    if (GetVolumeInformationW(root.c_str(), name, 50, &serial, &maxLength, &flags, fileSystem, 50))
        record.Volume = TVolumeData{Narrow(name), serial, maxLength, Narrow(fileSystem)};
    return record;
}

namespace {
// "(Mfg)": the maker's group as the device's setup file names it.
std::string Parenthesised(const std::string& mfg) { return mfg.rfind("(", 0) == 0 ? mfg : "(" + mfg + ")"; }

std::string Win9xCdRomMakerOf(char letter) {
    const std::string scsi = "\\Enum\\SCSI";
    const TRegKey devices = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, scsi);
    if (!devices.IsOpen()) return {};
    for (const std::string& device : devices.GetKeyNames()) {
        const TRegKey deviceKey = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, scsi + "\\" + device);
        const std::vector<std::string> instances = deviceKey.GetKeyNames();
        if (instances.empty()) continue;
        const TRegKey instance = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, scsi + "\\" + device + "\\" + instances[0]);
        if (ReadStringOrEmpty(instance, "Class") != "CDROM" ||
            ReadStringOrEmpty(instance, "CurrentDriveLetterAssignment") != std::string(1, letter))
            continue;
        return ReadStringOrEmpty(instance, "Manufacturer") + " " + Parenthesised(ReadStringOrEmpty(instance, "Mfg"));
    }
    return {};
}

// A device text as today's Windows stores it, "@cdrom.inf,%std_mfg%;(Standard CD-ROM drives)":
// the text after the setup file's reference.
std::string DeviceText(const std::string& value) {
    if (value.rfind("@", 0) != 0) return value;
    const size_t semicolon = value.rfind(';');
    return semicolon == std::string::npos ? std::string() : value.substr(semicolon + 1);
}

// The device instance of a device interface as a drive's mount record names it:
// "\??\SCSI#CdRom&Ven_X&Prod_Y#4&2a&0&000100#{53f5630d-...}" is "SCSI\CdRom&Ven_X&Prod_Y\4&2a&0&000100".
std::string DeviceInstanceOf(const std::vector<uint8_t>& mountRecord) {
    std::wstring link;
    for (size_t i = 0; i + 1 < mountRecord.size(); i += 2)
        link += static_cast<wchar_t>(mountRecord[i] | mountRecord[i + 1] << 8);
    if (link.rfind(L"\\??\\", 0) != 0 && link.rfind(L"\\\\?\\", 0) != 0) return {};
    const size_t lastPart = link.rfind(L"#{");
    if (lastPart == std::wstring::npos) return {};
    std::wstring instance = link.substr(4, lastPart - 4);
    std::replace(instance.begin(), instance.end(), L'#', L'\\');
    return Narrow(instance);
}

std::string NtCdRomMakerOf(char letter) {
    const TRegKey mounted = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "SYSTEM\\MountedDevices");
    const std::string drive = std::string("\\DosDevices\\") + letter + ":";
    if (!mounted.IsOpen() || mounted.GetDataType(drive) != TRegDataType::Binary) return {};
    const std::string instance = DeviceInstanceOf(mounted.ReadBinary(drive));
    if (instance.empty()) return {};
    const TRegKey device = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Enum\\" + instance);
    std::string name = DeviceText(ReadStringOrEmpty(device, "FriendlyName"));
    if (name.empty()) name = DeviceText(ReadStringOrEmpty(device, "DeviceDesc"));
    const std::string mfg = DeviceText(ReadStringOrEmpty(device, "Mfg"));
    return mfg.empty() ? name : Trim(name + " " + Parenthesised(mfg));
}
}  // namespace

std::string CdRomMakerOf(char letter) {
    // The 9x device tree where it is; today's Windows finds the drive's device through its mount
    // record instead.
    std::string maker = Win9xCdRomMakerOf(letter);
    return maker.empty() ? NtCdRomMakerOf(letter) : maker;
}

std::string SerialNumberText(uint32_t serial) {
    return Format("%.4x-%.4x", {serial >> 16, serial & 0xFFFF});
}

TDiskDeviceInfo::TDiskDeviceInfo(char letter) : TDiskDeviceInfo(letter, QueryDrive(letter)) {}

TDiskDeviceInfo::TDiskDeviceInfo(char letter, const TDriveRecord& record, std::string (*cdRomMaker)(char))
    : DriveLetter(letter), DriveType(DriveTypeText(record.Type)) {
    if (record.Geometry) {
        const TDriveGeometry& geometry = *record.Geometry;
        SectorsPerCluster = geometry.SectorsPerCluster;
        BytesPerSector = geometry.BytesPerSector;
        FreeClusters = geometry.FreeClusters;
        FreeSpace = SpaceText(geometry.FreeClusters, geometry, SpaceUnit);
        TotalSpace = SpaceText(geometry.TotalClusters, geometry, SpaceUnit);
        if (DriveType == "CD-ROM") CdRomMaker = cdRomMaker(letter);
    }
    // A volume that does not answer keeps its texts empty rather than showing a serial of zeros.
    Failed = !record.Volume;
    if (record.Volume) {
        VolumeName = record.Volume->Name;
        SerialNumber = SerialNumberText(record.Volume->Serial);
        LongNames = record.Volume->MaxComponentLength > 12;
        FileSystem = record.Volume->FileSystem;
    }
}

TDiskInfo::TDiskInfo() : TTechInfo("Drives") {}

void TDiskInfo::GatherInfo() {
    Drives.clear();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (GetDriveTypeW(RootOf(letter).c_str()) == DRIVE_NO_ROOT_DIR) continue;
        Drives.push_back(std::make_unique<TDiskDeviceInfo>(letter));
    }
}

const TStringList& TDiskInfo::BuildInfoText() {
    Lines = {LabelledLine("%s Aantal stations:%s %d", static_cast<int>(Drives.size())), RtfPar};
    for (const auto& drive : Drives) {
        Lines.push_back(LabelledLine("%s Station-letter:%s %s", std::string(1, drive->DriveLetter)));
        Lines.push_back(LabelledLine("%s Station-type:%s %s", drive->DriveType));
        if (drive->SectorsPerCluster != 0) {
            Lines.insert(Lines.end(), {
                                          LabelledLine("%s Bytes per sector:%s %d", drive->BytesPerSector),
                                          LabelledLine("%s Sectors per cluster:%s %d", drive->SectorsPerCluster),
                                          LabelledLine("%s Vrije schijfruimte:%s %s", drive->FreeSpace),
                                          LabelledLine("%s Totale schijfruimte:%s %s", drive->TotalSpace),
                                          LabelledLine("%s Volume naam:%s %s", drive->VolumeName),
                                          LabelledLine("%s Serie nummer:%s %s", drive->SerialNumber),
                                          LabelledLine("%s Ondersteund lange namen:%s %s", YesNoText(drive->LongNames)),
                                          LabelledLine("%s Bestand systeem:%s %s", drive->FileSystem),
                                      });
            if (drive->DriveType == "CD-ROM")
                Lines.push_back(LabelledLine("%s CD-Rom merk / driver:%s %s", drive->CdRomMaker));
        } else {
            Lines.push_back(LabelOnlyLine("%s Schijfstation is niet toegankelijk/leesbaar."));
        }
        Lines.push_back(RtfPar);
    }
    return Lines;
}
