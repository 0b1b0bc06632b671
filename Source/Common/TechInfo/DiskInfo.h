#pragma once
// TDiskInfo ("Drives"): every drive letter in use with its type, geometry, free and total space,
// volume name, serial number, long-name support, file system and, for a CD-ROM drive, its maker.
// A drive record is filled from what the platform answered for its root, so the lines can be
// checked from given answers.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

// The platform's answers for one drive root.
struct TDriveGeometry {
    uint32_t SectorsPerCluster = 0, BytesPerSector = 0, FreeClusters = 0, TotalClusters = 0;
};
struct TVolumeData {
    std::string Name;
    uint32_t Serial = 0;
    uint32_t MaxComponentLength = 0;
    std::string FileSystem;
};
struct TDriveRecord {
    unsigned Type = 0;                        // the platform's drive type code
    std::optional<TDriveGeometry> Geometry;   // nullopt: the free-space query failed
    std::optional<TVolumeData> Volume;        // nullopt: the volume query failed
};

// What the platform tells about "X:\".
TDriveRecord QueryDrive(char letter);

// "Manufacturer (Mfg)" of the CD-ROM drive with this letter from the Windows 9x device tree or, where
// that has none, "FriendlyName (Mfg)" of the device that the NT family's mount record of the drive
// names; empty when none matches.
std::string CdRomMakerOf(char letter);

// "1A2B-3C4D": the high and the low half of a volume serial number.
std::string SerialNumberText(uint32_t serial);

class TDiskDeviceInfo : public TBranObject {
public:
    // Queries the drive at once.
    explicit TDiskDeviceInfo(char letter);
    // From given answers; the CD-ROM maker is only asked for (through `cdRomMaker`) for a readable
    // CD-ROM drive.
    TDiskDeviceInfo(char letter, const TDriveRecord& record, std::string (*cdRomMaker)(char) = CdRomMakerOf);

    TSpaceUnit SpaceUnit = TSpaceUnit::Mb;
    bool Failed = false;
    char DriveLetter;
    std::string DriveType;
    uint32_t SectorsPerCluster = 0, BytesPerSector = 0, FreeClusters = 0;
    std::string FreeSpace, TotalSpace;  // "1234,56 Mb"
    std::string VolumeName, SerialNumber;
    bool LongNames = false;
    std::string FileSystem;
    std::string CdRomMaker;
};

class TDiskInfo : public TTechInfo {
public:
    TDiskInfo();

    std::vector<std::unique_ptr<TDiskDeviceInfo>> Drives;  // in drive-letter order

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
