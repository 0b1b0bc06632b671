#pragma once
// The ZIP archive writer: PKZIP archives of files under their bare names, deflated unless deflate
// cannot shrink them (files that are compressed already). On a drive whose disks can be swapped, an
// archive that does not fit goes on over further disks in the PKZIP spanning layout, each further
// disk asked for through OnRequestBlankDisk. A disk that already holds a part of the archive is never
// written over, and a disk that cannot take a part (write-protected, full) is asked for once more,
// with the reason.
//
// No ZIP64: a file of 4 GB or more, or an archive whose offsets would pass 4 GB, cannot be written;
// such an item is reported through OnProcessItemFailure and the archive is not written.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Exceptions.h"

class TAbZipper;
class TZipVolume;

enum class TZipProcessType { ptAdd };
enum class TZipErrorClass { ecFileError, ecArchiveError };

// A failure of the archive writer. The archive it was writing is gone (not committed).
class EZipError : public EBrantel {
public:
    using EBrantel::EBrantel;
};

// Error codes of item failures beyond the platform's own.
constexpr int ZipErrorFileTooLarge = 223;  // as the platform's ERROR_FILE_TOO_LARGE
constexpr int ZipErrorFileChanged = 1006;  // as ERROR_FILE_INVALID: written to while it was stored

// Why a disk is asked for once more.
enum class TZipDiskProblem {
    dpNone,
    dpSameDisk,    // the disk in the drive holds a part of this archive (Part)
    dpCannotWrite, // the disk refused the archive's file (ErrorCode: write-protected, no disk, ...)
    dpFull,        // no room on the disk (FreeSpace bytes left)
};

// What OnRequestBlankDisk is asked for.
struct TZipDiskRequest {
    int Disk = 0;  // the number of the disk wanted, from 1
    TZipDiskProblem Problem = TZipDiskProblem::dpNone;
    int Part = 0;
    int ErrorCode = 0;
    uint64_t FreeSpace = 0;
};

struct TZipItem {
    std::string Path;      // full path of the file
    std::string Name;      // name in the archive (UTF-8)
    uint64_t Size = 0;
    unsigned Attr = 0;     // file attributes as found
    uint32_t DosDateTime = 0;
};

class TAbZipper {
public:
    TAbZipper() = default;
    TAbZipper(const TAbZipper&) = delete;
    TAbZipper& operator=(const TAbZipper&) = delete;

    // Opens a new archive at the path (empty: closes it). Nothing is written before Save.
    void SetFileName(const std::string& path);
    const std::string& FileName() const { return FFileName; }
    // The folder AddFiles searches, with or without trailing backslash.
    std::string BaseDirectory;
    // zlib's level: 1 fastest, 9 smallest.
    int CompressionLevel = 6;

    // abort := true ends the archive: the user has no further disk. The part on the disk in the drive,
    // if any, is then removed, as the archive it began is given up.
    std::function<void(TAbZipper& sender, bool& abort)> OnRequestBlankDisk;
    // While OnRequestBlankDisk runs: the disk asked for, and why it is asked for again.
    const TZipDiskRequest& DiskRequest() const { return FDiskRequest; }
    // While OnRequestBlankDisk runs: the disk now in the drive holds a part of this archive (it was
    // not swapped), so there is nothing of another archive to overwrite; it will be asked for again.
    bool InsertedDiskHoldsPart() const;
    std::function<void(TAbZipper& sender, const std::string& item, TZipProcessType processType,
                       TZipErrorClass errorClass, int errorCode)>
        OnProcessItemFailure;

    // Queues every file of BaseDirectory matching mask whose attributes the mask allows (faAnyFile:
    // hidden, system and read-only files too; never folders), under its bare name.
    void AddFiles(const std::string& mask, unsigned attrMask);
    const std::vector<TZipItem>& Items() const { return FItems; }

    // Writes the archive on the volume of FileName. Throws EZipError when it cannot be written, after
    // reporting a failing item, or when OnRequestBlankDisk aborts; nothing is then left under
    // FileName on the disk in the drive.
    void Save();
    // The same on a volume of the caller's (tests, measurements).
    void Save(TZipVolume& volume);
    // How many disks the last Save wrote.
    int DiskCount() const { return FDiskCount; }

private:
    std::string FFileName;
    std::vector<TZipItem> FItems;
    int FDiskCount = 0;
    TZipDiskRequest FDiskRequest;
    std::function<bool()> FHoldsPart;  // set while a spanned archive is written

    [[noreturn]] void ItemFailure(const TZipItem& item, int code);
};

// The DOS date and time of a ZIP header (high word date, low word time) for a local time.
uint32_t DosDateTimeOf(double localTime);
