#include "lib/ZipVolume.h"

#include <windows.h>

#include <limits>

#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Handles.h"

namespace {
TZipVolumeHook& VolumeHook() {
    static TZipVolumeHook hook;
    return hook;
}

bool IsDiskFull(DWORD code) { return code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL; }

// The archive's file on a disk, written under a temporary name beside the real one so that a
// failure half-way never leaves something that looks like a finished archive.
class TFileSink : public TZipSink {
public:
    explicit TFileSink(const std::string& path) : FPath(path), FPartPath(path + ".part") {
        // A new archive replaces whatever stood under its name, and the disk needs the room.
        if (FileExists(FPath) && !FileDelete(FPath)) Fail("Create", GetLastError());
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

    size_t Write(const char* data, size_t size) override {
        size_t done = 0;
        while (done < size) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 30)), written = 0;
            BOOL ok = WriteFile(FFile.Get(), data + done, chunk, &written, nullptr);
            done += written;
            // A full disk takes what fits and says so, or only answers short.
            if (!ok && !IsDiskFull(GetLastError())) Fail("Write", GetLastError());
            if (!ok || written < chunk) break;
        }
        return done;
    }

    void Overwrite(uint64_t offset, const std::string& bytes) override {
        LARGE_INTEGER end, here{};
        if (!SetFilePointerEx(FFile.Get(), here, &end, FILE_CURRENT)) Fail("Overwrite", GetLastError());
        Seek(offset);
        if (Write(bytes.data(), bytes.size()) != bytes.size()) Fail("Overwrite", GetLastError());
        Seek(static_cast<uint64_t>(end.QuadPart));
    }

    void Truncate(uint64_t size) override {
        Seek(size);
        if (!SetEndOfFile(FFile.Get())) Fail("Truncate", GetLastError());
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

    void Seek(uint64_t offset) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        if (!SetFilePointerEx(FFile.Get(), at, nullptr, FILE_BEGIN)) Fail("Seek", GetLastError());
    }
    [[noreturn]] void Fail(const char* operation, DWORD code) const {
        throw EZipDiskError(operation, FPath, static_cast<int>(code));
    }
};
}  // namespace

EZipDiskError::EZipDiskError(const std::string& operation, const std::string& path, int code)
    : EBrantel("TZipVolume", operation, path + ": error " + std::to_string(code)), FCode(code) {}

TDriveVolume::TDriveVolume(const std::string& archivePath) {
    std::string full = ExpandFileName(archivePath);
    if (full.size() >= 2 && full[1] == ':')
        FRoot = full.substr(0, 2) + "\\";
    else
        FRoot = ExtractFilePath(full);
}

bool TDriveVolume::Removable() const { return GetDriveTypeW(Widen(FRoot).c_str()) == DRIVE_REMOVABLE; }

uint64_t TDriveVolume::FreeSpace() const {
    // Unknown free space does not stop the archive: a full disk then shows in the writes.
    return DiskFree(FRoot).value_or(std::numeric_limits<uint64_t>::max());
}

std::unique_ptr<TZipSink> TDriveVolume::Create(const std::string& path) { return std::make_unique<TFileSink>(path); }

std::optional<TZipPartMark> TDriveVolume::Mark(const std::string& path) const {
    TKernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size;
    if (!file || !GetFileSizeEx(file.Get(), &size)) return std::nullopt;
    TZipPartMark mark;
    DWORD serial = 0;
    if (GetVolumeInformationW(Widen(FRoot).c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        mark.Serial = serial;
    mark.Size = static_cast<uint64_t>(size.QuadPart);
    mark.Head.resize(TZipPartMark::HeadSize);
    DWORD read = 0;
    if (!ReadFile(file.Get(), mark.Head.data(), static_cast<DWORD>(mark.Head.size()), &read, nullptr)) read = 0;
    mark.Head.resize(read);
    return mark;
}

void TDriveVolume::Remove(const std::string& path) { FileDelete(path); }

std::unique_ptr<TZipVolume> MakeZipVolume(const std::string& archivePath) {
    if (VolumeHook()) return VolumeHook()(archivePath);
    return std::make_unique<TDriveVolume>(archivePath);
}

void SetZipVolumeHook(TZipVolumeHook hook) { VolumeHook() = std::move(hook); }
