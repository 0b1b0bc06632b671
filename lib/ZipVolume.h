#pragma once
// Where the bytes of a ZIP archive go: a sink per disk, and the drive that holds the disks. The
// archive writer only asks a drive whether its disks can be swapped and how much the inserted one
// still takes, so that tests span archives over "floppies" of any size.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TZipSink {
public:
    virtual ~TZipSink() = default;
    virtual void Write(const char* data, size_t size) = 0;
    // Replaces bytes already written (the spanning marker at the start of the first disk).
    virtual void Overwrite(uint64_t offset, const std::string& bytes) = 0;
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
    // Starts the archive's file on the inserted disk. Throws EBrantel when it cannot be created.
    virtual std::unique_ptr<TZipSink> Create(const std::string& path) = 0;
};

// The drive of a path, as the file system describes it.
class TDriveVolume : public TZipVolume {
public:
    explicit TDriveVolume(const std::string& archivePath);
    bool Removable() const override;
    uint64_t FreeSpace() const override;
    std::unique_ptr<TZipSink> Create(const std::string& path) override;

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

// Keeps everything in memory, one string per disk (tests and measurements).
class TMemoryVolume : public TZipVolume {
public:
    // capacity 0: one disk of any size, not removable.
    explicit TMemoryVolume(uint64_t capacity = 0) : FCapacity(capacity) {}
    bool Removable() const override { return FCapacity != 0; }
    uint64_t FreeSpace() const override;
    std::unique_ptr<TZipSink> Create(const std::string& path) override;
    // Committed disks, in order.
    const std::vector<std::string>& Disks() const { return FDisks; }

private:
    uint64_t FCapacity;
    std::vector<std::string> FDisks;
};
