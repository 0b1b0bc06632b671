#pragma once
// Where the bytes of a ZIP archive go: a sink per disk, and the drive that holds the disks. The
// archive writer asks a drive whether its disks can be swapped, how much the inserted one still
// takes and what it already holds under the archive's name, so that tests span archives over
// "floppies" of any kind.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/Exceptions.h"

// A disk that refuses the archive's file (write-protected, no disk, a read-only file in the way) or a
// write that fails for another reason than a full disk. Code: the platform's error.
class EZipDiskError : public EBrantel {
public:
    EZipDiskError(const std::string& operation, const std::string& path, int code);
    int Code() const { return FCode; }

private:
    int FCode;
};

// What a disk holds under the archive's name: enough to know a part of the archive again when its
// disk comes back into the drive.
struct TZipPartMark {
    uint32_t Serial = 0;  // the disk's volume serial number; 0 when the drive tells none
    uint64_t Size = 0;
    std::string Head;     // the first bytes, at most HeadSize
    static constexpr size_t HeadSize = 4096;
    bool operator==(const TZipPartMark&) const = default;
};

class TZipSink {
public:
    virtual ~TZipSink() = default;
    // Writes as much as the disk takes and answers how much that was: less than size only when the
    // disk is full. Throws EZipDiskError on any other failure.
    virtual size_t Write(const char* data, size_t size) = 0;
    // Replaces bytes already written (the spanning marker at the start of the first disk).
    virtual void Overwrite(uint64_t offset, const std::string& bytes) = 0;
    // Cuts the part back to its first `size` bytes (a header that did not fit whole).
    virtual void Truncate(uint64_t size) = 0;
    // The disk's part of the archive is complete. Until then nothing stands under the archive's name,
    // and a sink destroyed without Commit leaves nothing behind.
    virtual void Commit() = 0;
};

class TZipVolume {
public:
    virtual ~TZipVolume() = default;
    // Disks can be swapped: an archive that does not fit continues on further disks.
    virtual bool Removable() const = 0;
    // Bytes the inserted disk still takes.
    virtual uint64_t FreeSpace() const = 0;
    // Starts the archive's file on the inserted disk, replacing what stood under its name. Throws
    // EZipDiskError when the disk refuses it.
    virtual std::unique_ptr<TZipSink> Create(const std::string& path) = 0;
    // The file under the path on the inserted disk; nothing when there is none.
    virtual std::optional<TZipPartMark> Mark(const std::string& path) const = 0;
    // Removes the file under the path from the inserted disk (a part of an archive that was given up).
    virtual void Remove(const std::string& path) = 0;
};

// The drive of a path, as the file system describes it.
class TDriveVolume : public TZipVolume {
public:
    explicit TDriveVolume(const std::string& archivePath);
    bool Removable() const override;
    uint64_t FreeSpace() const override;
    std::unique_ptr<TZipSink> Create(const std::string& path) override;
    std::optional<TZipPartMark> Mark(const std::string& path) const override;
    void Remove(const std::string& path) override;

protected:
    const std::string& Root() const { return FRoot; }

private:
    std::string FRoot;  // "A:\", or the folder of the archive when the path names no drive
};

// The volume an archive at this path is written on: the path's drive, unless a test says otherwise.
std::unique_ptr<TZipVolume> MakeZipVolume(const std::string& archivePath);
using TZipVolumeHook = std::function<std::unique_ptr<TZipVolume>(const std::string& archivePath)>;
// Tests put archives on volumes of their own; an empty hook restores the drives.
void SetZipVolumeHook(TZipVolumeHook hook);
