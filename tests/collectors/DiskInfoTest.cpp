#include <gtest/gtest.h>

#include "Source/Common/TechInfo/DiskInfo.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
std::string NoMaker(char) { return "niet gevraagd"; }

TDriveRecord Drive(unsigned type, TDriveGeometry geometry, TVolumeData volume) { return {type, geometry, volume}; }

// The drive's lines as the collector writes them (without the count line and its "\par").
TStringList LinesOf(const TDiskDeviceInfo& drive) {
    TDiskInfo disks;
    disks.CollectInfo(nullptr);
    disks.Drives.clear();
    disks.Drives.push_back(std::make_unique<TDiskDeviceInfo>(drive));
    TStringList lines = disks.GetInfoText();
    EXPECT_EQ(lines[0], "\\par Aantal stations:\\tab 1");
    EXPECT_EQ(lines[1], "\\par");
    return {lines.begin() + 2, lines.end()};
}
}  // namespace

TEST(DiskInfo, LinesFromDriveRecords) {
    const uint32_t fiveTerabytes = 1342177280;  // clusters of 4 Kb
    struct {
        char letter;
        TDriveRecord record;
        TStringList expected;
    } cases[] = {
        {'A',
         Drive(DRIVE_REMOVABLE, {8, 512, 1000, 2847}, {"DISKETTE", 0x1A2B3C4D, 12, "FAT"}),
         {"\\par Station-letter:\\tab A", "\\par Station-type:\\tab Verwisselbaar/Diskette",
          "\\par Bytes per sector:\\tab 512", "\\par Sectors per cluster:\\tab 8",
          "\\par Vrije schijfruimte:\\tab 3,91 Mb", "\\par Totale schijfruimte:\\tab 11,12 Mb",
          "\\par Volume naam:\\tab DISKETTE", "\\par Serie nummer:\\tab 1A2B-3C4D",
          "\\par Ondersteund lange namen:\\tab Nee", "\\par Bestand systeem:\\tab FAT", "\\par"}},
        // Far beyond what a 32-bit product of clusters and bytes can hold.
        {'D',
         Drive(DRIVE_FIXED, {8, 512, fiveTerabytes / 5, fiveTerabytes}, {"Archief", 0x0000FFFF, 255, "NTFS"}),
         {"\\par Station-letter:\\tab D", "\\par Station-type:\\tab Vast", "\\par Bytes per sector:\\tab 512",
          "\\par Sectors per cluster:\\tab 8", "\\par Vrije schijfruimte:\\tab 1048576,00 Mb",
          "\\par Totale schijfruimte:\\tab 5242880,00 Mb", "\\par Volume naam:\\tab Archief",
          "\\par Serie nummer:\\tab 0000-FFFF", "\\par Ondersteund lange namen:\\tab Ja",
          "\\par Bestand systeem:\\tab NTFS", "\\par"}},
        {'E',
         Drive(DRIVE_CDROM, {1, 2048, 0, 300000}, {"CD", 0xFEDC0001, 110, "CDFS"}),
         {"\\par Station-letter:\\tab E", "\\par Station-type:\\tab CD-ROM", "\\par Bytes per sector:\\tab 2048",
          "\\par Sectors per cluster:\\tab 1", "\\par Vrije schijfruimte:\\tab 0,00 Mb",
          "\\par Totale schijfruimte:\\tab 585,94 Mb", "\\par Volume naam:\\tab CD",
          "\\par Serie nummer:\\tab FEDC-0001", "\\par Ondersteund lange namen:\\tab Ja",
          "\\par Bestand systeem:\\tab CDFS", "\\par CD-Rom merk / driver:\\tab niet gevraagd", "\\par"}},
        // An empty CD drive or a lost network connection: listed, but not readable.
        {'F', {DRIVE_CDROM, std::nullopt, std::nullopt},
         {"\\par Station-letter:\\tab F", "\\par Station-type:\\tab CD-ROM",
          "\\par Schijfstation is niet toegankelijk/leesbaar.", "\\par"}},
        {'N', {DRIVE_REMOTE, std::nullopt, TVolumeData{"net", 1, 255, "NFS"}},
         {"\\par Station-letter:\\tab N", "\\par Station-type:\\tab Netwerk",
          "\\par Schijfstation is niet toegankelijk/leesbaar.", "\\par"}},
        {'R', Drive(DRIVE_RAMDISK, {1, 512, 10, 20}, {"", 0, 12, "FAT"}), {}},
        {'Q', Drive(0, {1, 512, 10, 20}, {"", 0, 12, "FAT"}), {}},
    };
    for (const auto& c : cases) {
        TDiskDeviceInfo drive(c.letter, c.record, NoMaker);
        if (c.expected.empty()) continue;
        EXPECT_EQ(LinesOf(drive), c.expected) << c.letter;
    }
    EXPECT_EQ(TDiskDeviceInfo('R', cases[5].record, NoMaker).DriveType, "RAM");
    EXPECT_EQ(TDiskDeviceInfo('Q', cases[6].record, NoMaker).DriveType, "Onbekend");
    // A drive that answers the free-space query but not the volume query counts as failed.
    TDiskDeviceInfo noVolume('G', {DRIVE_FIXED, TDriveGeometry{8, 512, 1, 2}, std::nullopt}, NoMaker);
    EXPECT_TRUE(noVolume.Failed);
    EXPECT_EQ(noVolume.SerialNumber, "");
    EXPECT_FALSE(TDiskDeviceInfo('A', cases[0].record, NoMaker).Failed);
}

TEST(DiskInfo, CdRomMakerFromTheDeviceTree) {
    TRegistrySandbox registry;
    struct TDevice {
        const char *path, *cls, *letter, *mfg, *manufacturer;
    } devices[] = {
        {"\\Enum\\SCSI\\DISK_1\\0000", "DiskDrive", "C", "(Standaard schijf)", "Maker A"},
        {"\\Enum\\SCSI\\CDROM_1\\ROOT&1", "CDROM", "E", "(Standaard CD-ROM)", "TEAC CD-532E"},
        {"\\Enum\\SCSI\\CDROM_2\\ROOT&2", "CDROM", "F", "Atapi", "Mitsumi"},
        {"\\Enum\\SCSI\\CDROM_3\\ROOT&3", "cdrom", "G", "x", "y"},  // the class must be exactly CDROM
    };
    for (const TDevice& d : devices) {
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, d.path, true));
        key.WriteString("Class", d.cls);
        key.WriteString("CurrentDriveLetterAssignment", d.letter);
        key.WriteString("Mfg", d.mfg);
        key.WriteString("Manufacturer", d.manufacturer);
    }
    TRegKey empty;
    ASSERT_TRUE(empty.Open(HKEY_LOCAL_MACHINE, "\\Enum\\SCSI\\AAA_NO_INSTANCES", true));
    EXPECT_EQ(CdRomMakerOf('E'), "TEAC CD-532E (Standaard CD-ROM)");  // not wrapped twice
    EXPECT_EQ(CdRomMakerOf('F'), "Mitsumi (Atapi)");
    EXPECT_EQ(CdRomMakerOf('G'), "");
    EXPECT_EQ(CdRomMakerOf('C'), "");
    EXPECT_EQ(CdRomMakerOf('X'), "");
}

TEST(DiskInfo, CdRomMakerOnTodaysWindows) {
    // What Windows 7 to 11 record: a drive's mount record names its device interface, the device's
    // key its names, the maker's group behind a setup-file reference.
    TRegistrySandbox registry;
    auto utf16 = [](const std::wstring& text) {
        std::vector<uint8_t> bytes;
        for (wchar_t c : text) bytes.insert(bytes.end(), {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)});
        return bytes;
    };
    const std::string cdRom = "{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}";
    struct {
        char letter;
        std::vector<uint8_t> mountRecord;
        const char *instance, *friendlyName, *deviceDesc, *mfg, *maker;
    } drives[] = {
        {'E', utf16(L"\\??\\SCSI#CdRom&Ven_NECVMWar&Prod_VMware_SATA_CD01#4&224f42ef&0&000001#" + Widen(cdRom)),
         "SCSI\\CdRom&Ven_NECVMWar&Prod_VMware_SATA_CD01\\4&224f42ef&0&000001", "NECVMWar VMware SATA CD01",
         "@cdrom.inf,%gencdrom_devdesc%;CD-ROM Drive", "@cdrom.inf,%std_mfg%;(Standard CD-ROM drives)",
         "NECVMWar VMware SATA CD01 (Standard CD-ROM drives)"},
        // Windows XP: no friendly name, plain texts.
        {'F', utf16(L"\\??\\IDE#CdRomTSSTcorp_DVD+-RW_TS-H653G#5&1f2a&0&1.0.0#" + Widen(cdRom)),
         "IDE\\CdRomTSSTcorp_DVD+-RW_TS-H653G\\5&1f2a&0&1.0.0", nullptr, "Cd-rom-station", "(Standaard cd-rom-stations)",
         "Cd-rom-station (Standaard cd-rom-stations)"},
        {'C', {0x12, 0x34, 0x56, 0x78, 0, 0, 0x10, 0, 0, 0, 0, 0}, nullptr, nullptr, nullptr, nullptr, ""},  // a partition
        {'Z', {'.', '.', '/', 'd', 0}, nullptr, nullptr, nullptr, nullptr, ""},  // Wine's own record of a folder
    };
    TRegKey mounted;
    ASSERT_TRUE(mounted.Open(HKEY_LOCAL_MACHINE, "SYSTEM\\MountedDevices", true));
    for (const auto& d : drives) {
        mounted.WriteBinary(std::string("\\DosDevices\\") + d.letter + ":", d.mountRecord);
        if (!d.instance) continue;
        TRegKey device;
        ASSERT_TRUE(device.Open(HKEY_LOCAL_MACHINE, std::string("SYSTEM\\CurrentControlSet\\Enum\\") + d.instance, true));
        if (d.friendlyName) device.WriteString("FriendlyName", d.friendlyName);
        if (d.deviceDesc) device.WriteString("DeviceDesc", d.deviceDesc);
        if (d.mfg) device.WriteString("Mfg", d.mfg);
    }
    for (const auto& d : drives) EXPECT_EQ(CdRomMakerOf(d.letter), d.maker) << d.letter;
    EXPECT_EQ(CdRomMakerOf('X'), "");
}

TEST(DiskInfo, RealDrives) {
    TDiskInfo disks;
    disks.CollectInfo(nullptr);
    // Wine's own drives: C: holds the Windows folder, Z: is the Linux root.
    const TDiskDeviceInfo* c = nullptr;
    for (const auto& drive : disks.Drives)
        if (drive->DriveLetter == GetWindowsFolder()[0]) c = drive.get();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->DriveType, "Vast");
    EXPECT_GT(c->SectorsPerCluster, 0u);
    EXPECT_GT(c->BytesPerSector, 0u);
    const uint64_t free = DiskFree(std::string(1, c->DriveLetter) + ":\\").value_or(0);
    ASSERT_GT(free, 0u);
    // The free space agrees with the platform's own 64-bit count (within what changes meanwhile).
    std::string number = c->FreeSpace.substr(0, c->FreeSpace.size() - 3);
    ASSERT_EQ(number[number.size() - 3], ',') << c->FreeSpace;  // the user's decimal separator
    number[number.size() - 3] = '.';
    const double freeMb = std::stod(number);
    EXPECT_NEAR(freeMb, static_cast<double>(free) / 1048576.0, 64.0) << c->FreeSpace;
    EXPECT_EQ(c->FreeSpace.substr(c->FreeSpace.size() - 3), " Mb");
    EXPECT_FALSE(c->FileSystem.empty());
    EXPECT_EQ(c->SerialNumber.size(), 9u);
    const TStringList& lines = disks.GetInfoText();
    EXPECT_EQ(lines[0], "\\par Aantal stations:\\tab " + IntToStr(static_cast<long long>(disks.Drives.size())));
}
