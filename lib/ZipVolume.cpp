#include "lib/ZipVolume.h"

#include <windows.h>

#include <limits>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Handles.h"

namespace {
TZipVolumeHook& VolumeHook() {
    static TZipVolumeHook hook;
    return hook;
}

// The archive's file on a disk, written under a temporary name beside the real one so that a
// failure half-way never leaves something that looks like a finished archive.
class TFileSink : public TZipSink {
public:
    explicit TFileSink(const std::string& path) : FPath(path), FPartPath(path + ".part") {
        // A new archive replaces whatever stood under its name, and the disk needs the room.
        FileDelete(FPath);
        FileDelete(FPartPath);
        FFile.Reset(CreateFileW(Widen(FPartPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!FFile) Fail("Create", GetLastError());
    }
    ~TFileSink() override {
        FFile.Reset();
        if (!FCommitted) FileDelete(FPartPath);
    }
    TFileSink(const TFileSink&) = delete;
    TFileSink& operator=(const TFileSink&) = delete;

    void Write(const char* data, size_t size) override {
        while (size > 0) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1u << 30)), written = 0;
            if (!WriteFile(FFile.Get(), data, chunk, &written, nullptr) || written != chunk) Fail("Write", GetLastError());
            data += chunk;
            size -= chunk;
        }
    }

    void Overwrite(uint64_t offset, const std::string& bytes) override {
        LARGE_INTEGER at, end, here{};
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(FFile.Get(), here, &end, FILE_CURRENT) || !SetFilePointerEx(FFile.Get(), at, nullptr, FILE_BEGIN))
            Fail("Overwrite", GetLastError());
        Write(bytes.data(), bytes.size());
        if (!SetFilePointerEx(FFile.Get(), end, nullptr, FILE_BEGIN)) Fail("Overwrite", GetLastError());
    }

    void Commit() override {
        // A disk that is taken out right after this must hold every byte.
        if (!FlushFileBuffers(FFile.Get())) Fail("Commit", GetLastError());
        FFile.Reset();
        if (!ReplaceFileAtomically(FPartPath, FPath)) Fail("Commit", GetLastError());
        FCommitted = true;
    }

private:
    std::string FPath, FPartPath;
    TKernelHandle FFile;
    bool FCommitted = false;

    [[noreturn]] void Fail(const char* operation, DWORD code) const {
        throw EBrantel("TFileSink", operation, FPath + ": error " + std::to_string(code));
    }
};

class TMemorySink : public TZipSink {
public:
    explicit TMemorySink(std::vector<std::string>& disks) : FDisks(disks) {}
    void Write(const char* data, size_t size) override { FBytes.append(data, size); }
    void Overwrite(uint64_t offset, const std::string& bytes) override {
        FBytes.replace(static_cast<size_t>(offset), bytes.size(), bytes);
    }
    void Commit() override { FDisks.push_back(std::move(FBytes)); }

private:
    std::vector<std::string>& FDisks;
    std::string FBytes;
};
}  // namespace

TDriveVolume::TDriveVolume(const std::string& archivePath) {
    std::string full = ExpandFileName(archivePath);
    if (full.size() >= 2 && full[1] == ':')
        FRoot = full.substr(0, 2) + "\\";
    else
        FRoot = ExtractFilePath(full);
}

bool TDriveVolume::Removable() const { return GetDriveTypeW(Widen(FRoot).c_str()) == DRIVE_REMOVABLE; }

uint64_t TDriveVolume::FreeSpace() const {
    // Unknown free space does not stop the archive: a full disk then fails the write itself.
    return DiskFree(FRoot).value_or(std::numeric_limits<uint64_t>::max());
}

std::unique_ptr<TZipSink> TDriveVolume::Create(const std::string& path) { return std::make_unique<TFileSink>(path); }

std::unique_ptr<TZipVolume> MakeZipVolume(const std::string& archivePath) {
    if (VolumeHook()) return VolumeHook()(archivePath);
    return std::make_unique<TDriveVolume>(archivePath);
}

void SetZipVolumeHook(TZipVolumeHook hook) { VolumeHook() = std::move(hook); }

uint64_t TMemoryVolume::FreeSpace() const {
    return FCapacity ? FCapacity : std::numeric_limits<uint64_t>::max();
}

std::unique_ptr<TZipSink> TMemoryVolume::Create(const std::string&) { return std::make_unique<TMemorySink>(FDisks); }
