#pragma once
// A floppy drive for the archive writer whose disk is a folder: the disk in the drive holds the
// folder's files, each taking whole clusters as on a real disk. The test swaps the disks as users do
// (the same disk again, a write-protected one, a full one, one that says it has more room than it
// has) and keeps the written parts on a shelf in the order they came out of the drive.
#include <windows.h>

#include <memory>
#include <string>

#include "TestSupport.h"
#include "lib/ZipVolume.h"
#include "platform/Files.h"

// What a 1.44 MB floppy holds once formatted, in clusters of 512 bytes.
constexpr uint64_t FloppyCapacity = 1457664;
constexpr uint64_t FloppyCluster = 512;

enum class TDiskKind { Blank, WriteProtected, Full, OldArchive, Overstating };

class TFloppyDrive {
public:
    // The drive is the folder of archivePath; its parts go to shelf (case.z01, case.z02, ... and the
    // last one case.zip).
    TFloppyDrive(const std::string& archivePath, std::string shelf, uint64_t capacity = FloppyCapacity)
        : FArchive(archivePath), FFolder(ExtractFilePath(archivePath)), FShelf(std::move(shelf)), FCapacity(capacity) {
        ForceDirectories(FFolder);
        ForceDirectories(FShelf);
    }

    // Takes the disk out (its part of the archive to the shelf) and puts a disk of this kind in.
    void Swap(TDiskKind kind) {
        if (FileExists(FArchive)) {
            ++FPartsOut;
            std::string n = std::to_string(FPartsOut);
            FileRename(FArchive, FShelf + "case.z" + std::string(n.size() < 2 ? 1 : 0, '0') + n);
        }
        for (const TSearchRec& r : FindFiles(FFolder + "*.*", faAnyFile)) FileDelete(FFolder + r.Name);
        FKind = kind;
        if (kind == TDiskKind::OldArchive) WriteFileBytes(FArchive, "een oud archief");
        // Room for less than a cluster: nothing of an archive fits.
        if (kind == TDiskKind::Full) WriteFileBytes(FFolder + "vol.dat", std::string(FCapacity - 100, 'v'));
    }
    // The last disk's part to the shelf as case.zip.
    bool TakeOutLastDisk() { return FileRename(FArchive, FShelf + "case.zip"); }
    int PartsOnShelf() const { return FPartsOut; }

    // Bytes the disk still takes: whole free clusters.
    uint64_t FreeClusters() const {
        uint64_t used = 0;
        for (const TSearchRec& r : FindFiles(FFolder + "*.*", faAnyFile)) used += (r.Size + FloppyCluster - 1) / FloppyCluster;
        return used * FloppyCluster < FCapacity ? FCapacity - used * FloppyCluster : 0;
    }

    // The volume the archive writer sees (SetZipVolumeHook).
    std::unique_ptr<TZipVolume> Volume() { return std::make_unique<TVolume>(*this); }

private:
    // Takes only what the free clusters hold, and then answers short as a full disk does.
    class TClusterSink : public TZipSink {
    public:
        TClusterSink(std::unique_ptr<TZipSink> sink, uint64_t room) : FSink(std::move(sink)), FRoom(room) {}
        size_t Write(const char* data, size_t size) override {
            size_t n = static_cast<size_t>(std::min<uint64_t>(size, FRoom - FSize));
            n = FSink->Write(data, n);
            FSize += n;
            return n;
        }
        void Overwrite(uint64_t offset, const std::string& bytes) override { FSink->Overwrite(offset, bytes); }
        void Truncate(uint64_t size) override {
            FSink->Truncate(size);
            FSize = size;
        }
        void Commit() override { FSink->Commit(); }

    private:
        std::unique_ptr<TZipSink> FSink;
        uint64_t FRoom, FSize = 0;
    };

    class TVolume : public TDriveVolume {
    public:
        explicit TVolume(TFloppyDrive& drive) : TDriveVolume(drive.FArchive), FDrive(drive) {}
        bool Removable() const override { return true; }
        uint64_t FreeSpace() const override {
            return FDrive.FreeClusters() + (FDrive.FKind == TDiskKind::Overstating ? 100000 : 0);
        }
        std::unique_ptr<TZipSink> Create(const std::string& path) override {
            if (FDrive.FKind == TDiskKind::WriteProtected) throw EZipDiskError("Create", path, ERROR_WRITE_PROTECT);
            auto sink = TDriveVolume::Create(path);
            return std::make_unique<TClusterSink>(std::move(sink), FDrive.FreeClusters());
        }

    private:
        TFloppyDrive& FDrive;
    };

    std::string FArchive, FFolder, FShelf;
    uint64_t FCapacity;
    TDiskKind FKind = TDiskKind::Blank;
    int FPartsOut = 0;
};
