#include "lib/AbZipper.h"

#include <windows.h>
#include <zlib.h>

#include <memory>
#include <optional>

#include "core/DateTime.h"
#include "core/StrConv.h"
#include "lib/ZipVolume.h"
#include "platform/Files.h"
#include "platform/Handles.h"

namespace {
constexpr uint32_t LocalHeaderSig = 0x04034b50, CentralHeaderSig = 0x02014b50, EndSig = 0x06054b50;
constexpr uint32_t DataDescriptorSig = 0x08074b50;  // also the marker at the start of a spanned archive
constexpr uint32_t SingleSegmentMarker = 0x30304b50;  // "PK00": spanning began but one disk sufficed
constexpr uint16_t VersionNeeded = 20;                // deflate
// Made by a Windows NT file system: readers then take a name flagged as UTF-8 as it stands (for the
// MS-DOS host Info-ZIP's unzip converts names from the DOS code page, UTF-8 flag or not).
constexpr uint16_t VersionMadeBy = 11 << 8 | VersionNeeded;
constexpr uint16_t FlagDataDescriptor = 1 << 3, FlagUtf8Name = 1 << 11;
constexpr uint16_t MethodStore = 0, MethodDeflate = 8;
constexpr uint64_t Limit32 = 0xFFFFFFFFu;
constexpr size_t ChunkSize = 256 * 1024;

class TBytes {
public:
    TBytes& U16(uint32_t v) {
        FData.push_back(static_cast<char>(v & 0xFF));
        FData.push_back(static_cast<char>((v >> 8) & 0xFF));
        return *this;
    }
    TBytes& U32(uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
    TBytes& Text(const std::string& s) {
        FData += s;
        return *this;
    }
    const std::string& Data() const { return FData; }

private:
    std::string FData;
};

struct TZipPosition {
    uint32_t Disk, Offset;
};

// Where an entry's data went and what the central directory says about it.
struct TEntry {
    const TZipItem* Item;
    uint16_t Flags, Method;
    uint32_t Crc = 0, CompressedSize = 0, Size = 0;
    uint32_t Disk = 0, Offset = 0;
};

// Writes the archive's bytes disk after disk. Headers stay whole on one disk; file data runs on over
// the end of a disk onto the next. A part once committed is never written over: its disk is known
// again by what it holds.
class TSpanWriter {
public:
    using TAskDisk = std::function<bool(const TZipDiskRequest& request)>;

    TSpanWriter(TZipVolume& volume, const std::string& path, TAskDisk askDisk)
        : FVolume(volume), FPath(path), FAskDisk(std::move(askDisk)), FRemovable(volume.Removable()) {
        if (auto problem = TryOpen(MinimumRoom)) AskUntilOpen(*problem, MinimumRoom);
        // A removable disk gets the spanning marker; it says "one segment" until a second disk follows.
        if (FRemovable) Header(TBytes().U32(SingleSegmentMarker).Data());
    }

    uint32_t Disk() const { return FDisk; }
    uint32_t Offset() const { return static_cast<uint32_t>(FOffset); }

    // Makes sure the next `size` bytes go on one disk.
    void Reserve(size_t size) {
        if (size <= FRoom) return;
        if (!FRemovable) Full();
        ChangeDisk(size);
    }

    // Writes a header of `size` bytes whole on one disk; `build` makes it for the place it goes to
    // (Disk and Offset tell it), and answers where it went.
    template <class TBuild>
    TZipPosition Header(size_t size, const TBuild& build) {
        for (;;) {
            Reserve(size);
            const TZipPosition at{Disk(), Offset()};
            const std::string bytes = build();
            if (Put(bytes.data(), bytes.size()) == bytes.size()) return at;
            // The disk filled up sooner than it said: the header goes whole on the next one.
            FSink->Truncate(at.Offset);
            FOffset = at.Offset;
        }
    }
    TZipPosition Header(const std::string& bytes) {
        return Header(bytes.size(), [&bytes] { return bytes; });
    }

    void Data(const char* data, size_t size) {
        while (size > 0) {
            if (FRoom == 0) Reserve(1);
            size_t n = Put(data, static_cast<size_t>(std::min<uint64_t>(size, FRoom)));
            data += n;
            size -= n;
        }
    }

    void Finish() { FSink->Commit(); }

    // The part of this archive the disk in the drive holds (1 for the first disk), or 0.
    int PartInDrive() const {
        std::optional<TZipPartMark> mark = FVolume.Mark(FPath);
        if (!mark) return 0;
        for (size_t i = 0; i < FParts.size(); ++i)
            if (FParts[i] == *mark) return static_cast<int>(i) + 1;
        return 0;
    }

private:
    // A disk with less room than a floppy's cluster would hold a part too small to be worth a disk.
    static constexpr uint64_t MinimumRoom = 512;

    // Info-ZIP's zip 3.0 joins a set wrongly (an entry that runs on over the disk's end comes out with
    // a bad CRC) when a part is a whole number of its 16 KiB copy buffers long, as a disk of 1440 KiB
    // filled to the brim would be. Such a disk keeps one byte free.
    static uint64_t PartRoom(uint64_t freeSpace) {
        constexpr uint64_t JoinBuffer = 16 * 1024;
        return freeSpace > 0 && freeSpace % JoinBuffer == 0 ? freeSpace - 1 : freeSpace;
    }

    TZipVolume& FVolume;
    std::string FPath;
    TAskDisk FAskDisk;
    bool FRemovable;
    std::unique_ptr<TZipSink> FSink;
    std::vector<TZipPartMark> FParts;  // what each committed disk holds
    uint32_t FDisk = 0;
    uint64_t FOffset = 0, FRoom = 0;

    // Starts the archive's file on the disk in the drive; answers why that disk cannot take the next
    // `need` bytes, if it cannot.
    std::optional<TZipDiskRequest> TryOpen(uint64_t need) {
        FSink.reset();
        FOffset = 0;
        FRoom = 0;
        try {
            FSink = FVolume.Create(FPath);
        } catch (const EZipDiskError& e) {
            if (!FRemovable) throw;
            return Request(TZipDiskProblem::dpCannotWrite, e.Code());
        }
        // A fixed disk is never swapped: when it fills up, the write itself fails.
        FRoom = FRemovable ? PartRoom(FVolume.FreeSpace()) : UINT64_MAX;
        if (FRoom >= std::max(need, MinimumRoom) || !FRemovable) return std::nullopt;
        TZipDiskRequest full = Request(TZipDiskProblem::dpFull);
        full.FreeSpace = FRoom;
        FSink.reset();
        return full;
    }

    TZipDiskRequest Request(TZipDiskProblem problem, int code = 0) const {
        TZipDiskRequest request;
        request.Disk = static_cast<int>(FDisk) + 1;
        request.Problem = problem;
        request.ErrorCode = code;
        return request;
    }

    // Commits the disk in the drive and asks for the next; a disk that took nothing of the archive
    // (it filled up sooner than it said) is asked for again, as a full one.
    void ChangeDisk(uint64_t need) {
        const bool tookNothing = FOffset == 0;
        if (!tookNothing) {
            if (FDisk == 0) FSink->Overwrite(0, TBytes().U32(DataDescriptorSig).Data());
            FSink->Commit();
            FSink.reset();
            FParts.push_back(FVolume.Mark(FPath).value_or(TZipPartMark{}));
            ++FDisk;
        }
        AskUntilOpen(Request(tookNothing ? TZipDiskProblem::dpFull : TZipDiskProblem::dpNone), need);
    }

    void AskUntilOpen(TZipDiskRequest request, uint64_t need) {
        for (;;) {
            if (!FAskDisk(request)) {
                // The archive is given up: its part in the drive would pass for a whole one.
                if (PartInDrive()) FVolume.Remove(FPath);
                throw EZipError("TAbZipper", "Save", "no further disk for " + FPath);
            }
            if (int part = PartInDrive()) {
                request = Request(TZipDiskProblem::dpSameDisk);
                request.Part = part;
                continue;
            }
            std::optional<TZipDiskRequest> problem = TryOpen(need);
            if (!problem) return;
            request = *problem;
        }
    }

    // Writes what the disk takes; a removable disk that fills up sooner than it said ends its part.
    size_t Put(const char* data, size_t size) {
        if (FOffset + size > Limit32) throw EZipError("TAbZipper", "Save", FPath + " would pass 4 GB");
        size_t n = FSink->Write(data, size);
        FOffset += n;
        FRoom = n < size ? 0 : FRoom - n;
        if (n < size && !FRemovable) Full();
        return n;
    }

    [[noreturn]] void Full() const {
        throw EZipError("TAbZipper", "Save", "no room on the disk for " + FPath);
    }
};

class TDeflater {
public:
    explicit TDeflater(int level) {
        if (deflateInit2(&FStream, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw EZipError("TAbZipper", "Save", "deflate could not start");
    }
    ~TDeflater() { deflateEnd(&FStream); }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;

    // Compresses input (finish: the last of it) and hands every piece of output to the writer.
    void Run(const char* input, size_t size, bool finish, TSpanWriter& writer, uint64_t& compressed) {
        FStream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(input));
        FStream.avail_in = static_cast<uInt>(size);
        int result;
        do {
            FStream.next_out = reinterpret_cast<Bytef*>(FOut);
            FStream.avail_out = sizeof FOut;
            result = deflate(&FStream, finish ? Z_FINISH : Z_NO_FLUSH);
            if (result == Z_STREAM_ERROR) throw EZipError("TAbZipper", "Save", "deflate failed");
            size_t produced = sizeof FOut - FStream.avail_out;
            writer.Data(FOut, produced);
            compressed += produced;
        } while (FStream.avail_out == 0 || (finish && result != Z_STREAM_END));
    }

private:
    z_stream FStream{};
    char FOut[ChunkSize];
};

bool IsAscii(const std::string& s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// Data that deflate cannot shrink (already compressed files) is stored as it is: deflating it costs
// time and gains nothing. A quick deflate of the first chunk tells.
bool Incompressible(const char* data, size_t size) {
    if (size == 0) return true;
    uLongf bound = compressBound(static_cast<uLong>(size));
    std::string out(bound, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &bound, reinterpret_cast<const Bytef*>(data),
                  static_cast<uLong>(size), 1) != Z_OK)
        return false;
    return bound >= size - size / 50;
}

// Reads an item's file a chunk at a time into the buffer, counting its size and CRC.
class TItemReader {
public:
    TItemReader(const TZipItem& item, char* buffer, const std::function<void(int code)>& fail)
        : FBuffer(buffer), FFail(fail),
          FFile(CreateFileW(Widen(item.Path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
        if (!FFile) fail(static_cast<int>(GetLastError()));
    }

    // The next chunk's length; 0 at the end.
    size_t Next() {
        DWORD read = 0;
        if (!ReadFile(FFile.Get(), FBuffer, ChunkSize, &read, nullptr)) FFail(static_cast<int>(GetLastError()));
        Size += read;
        // The file may have grown since it was listed.
        if (Size >= Limit32) FFail(ZipErrorFileTooLarge);
        Crc = crc32(Crc, reinterpret_cast<const Bytef*>(FBuffer), read);
        return read;
    }
    // Back to the start, counting afresh.
    void Rewind() {
        LARGE_INTEGER start{};
        if (!SetFilePointerEx(FFile.Get(), start, nullptr, FILE_BEGIN)) FFail(static_cast<int>(GetLastError()));
        Size = 0;
        Crc = crc32(0, nullptr, 0);
    }

    uint64_t Size = 0;
    uLong Crc = crc32(0, nullptr, 0);

private:
    char* FBuffer;
    const std::function<void(int code)>& FFail;
    TKernelHandle FFile;
};

std::string LocalHeader(const TZipItem& item, const TEntry& entry) {
    TBytes local;
    local.U32(LocalHeaderSig).U16(VersionNeeded).U16(entry.Flags).U16(entry.Method).U32(item.DosDateTime);
    local.U32(entry.Crc).U32(entry.CompressedSize).U32(entry.Size);
    local.U16(static_cast<uint32_t>(item.Name.size())).U16(0).Text(item.Name);
    return local.Data();
}

// Writes one file's local header and data (and, for a deflated file, its data descriptor); `fail`
// reports the item and throws.
TEntry WriteEntry(const TZipItem& item, TSpanWriter& writer, char* buffer, int level,
                  const std::function<void(int code)>& fail) {
    TItemReader file(item, buffer, fail);
    size_t read = file.Next();
    TEntry entry{&item, static_cast<uint16_t>(IsAscii(item.Name) ? 0 : FlagUtf8Name),
                 Incompressible(buffer, read) ? MethodStore : MethodDeflate};
    auto place = [&](const TZipPosition& at) {
        entry.Disk = at.Disk;
        entry.Offset = at.Offset;
    };

    if (entry.Method == MethodStore) {
        // A stored file's size and CRC stand in its local header, where readers that read the
        // archive as a stream look for them: a file larger than the chunk is read twice.
        const bool whole = read < ChunkSize;
        if (!whole) {
            while (file.Next() > 0) {
            }
        }
        entry.Crc = static_cast<uint32_t>(file.Crc);
        entry.Size = entry.CompressedSize = static_cast<uint32_t>(file.Size);
        place(writer.Header(LocalHeader(item, entry)));
        if (whole) {
            writer.Data(buffer, read);
            return entry;
        }
        file.Rewind();
        for (size_t n; (n = file.Next()) > 0;) writer.Data(buffer, n);
        // Another program wrote to the file meanwhile: the header would not match the data.
        if (file.Size != entry.Size || file.Crc != entry.Crc) fail(ZipErrorFileChanged);
        return entry;
    }

    entry.Flags |= FlagDataDescriptor;
    place(writer.Header(LocalHeader(item, entry)));
    uint64_t compressed = 0;
    TDeflater deflater(level);
    for (;;) {
        deflater.Run(buffer, read, read == 0, writer, compressed);
        if (read == 0) break;
        read = file.Next();
    }
    if (compressed >= Limit32) fail(ZipErrorFileTooLarge);
    entry.Crc = static_cast<uint32_t>(file.Crc);
    entry.Size = static_cast<uint32_t>(file.Size);
    entry.CompressedSize = static_cast<uint32_t>(compressed);
    writer.Header(TBytes().U32(DataDescriptorSig).U32(entry.Crc).U32(entry.CompressedSize).U32(entry.Size).Data());
    return entry;
}
}  // namespace

uint32_t DosDateTimeOf(double localTime) {
    TDateParts p = DecodeDateTime(localTime);
    if (p.Year < 1980) return (1u << 5 | 1u) << 16;  // the format's first day
    if (p.Year > 2107) p = {2107, 12, 31, 23, 59, 58, 0};
    uint32_t date = static_cast<uint32_t>((p.Year - 1980) << 9 | p.Month << 5 | p.Day);
    uint32_t time = static_cast<uint32_t>(p.Hour << 11 | p.Minute << 5 | p.Second / 2);
    return date << 16 | time;
}

void TAbZipper::SetFileName(const std::string& path) {
    FFileName = path;
    FItems.clear();
}

void TAbZipper::AddFiles(const std::string& mask, unsigned attrMask) {
    std::string folder = IncludeTrailingBackslash(BaseDirectory);
    for (const TSearchRec& rec : FindFiles(folder + mask, attrMask & ~static_cast<unsigned>(faDirectory))) {
        if (rec.Attr & (faDirectory | faVolumeID)) continue;
        FItems.push_back({folder + rec.Name, rec.Name, rec.Size, rec.Attr, DosDateTimeOf(rec.Time)});
    }
}

bool TAbZipper::InsertedDiskHoldsPart() const { return FHoldsPart && FHoldsPart(); }

void TAbZipper::ItemFailure(const TZipItem& item, int code) {
    if (OnProcessItemFailure)
        OnProcessItemFailure(*this, item.Path, TZipProcessType::ptAdd, TZipErrorClass::ecFileError, code);
    throw EZipError("TAbZipper", "Save", item.Path + ": error " + std::to_string(code));
}

void TAbZipper::Save() {
    if (FFileName.empty()) throw EZipError("TAbZipper", "Save", "no archive open");
    auto volume = MakeZipVolume(FFileName);
    Save(*volume);
}

void TAbZipper::Save(TZipVolume& volume) {
    FDiskCount = 0;
    // An item the format cannot hold fails before any byte is written.
    for (const TZipItem& item : FItems)
        if (item.Size >= Limit32) ItemFailure(item, ZipErrorFileTooLarge);
    if (FItems.size() > 0xFFFF) throw EZipError("TAbZipper", "Save", "more than 65535 files");

    TSpanWriter writer(volume, FFileName, [this](const TZipDiskRequest& request) {
        FDiskRequest = request;
        bool abort = !OnRequestBlankDisk;
        if (OnRequestBlankDisk) OnRequestBlankDisk(*this, abort);
        FDiskRequest = {};
        return !abort;
    });
    FHoldsPart = [&writer] { return writer.PartInDrive() != 0; };
    struct TForget {
        std::function<bool()>& HoldsPart;
        ~TForget() { HoldsPart = nullptr; }
    } forget{FHoldsPart};
    std::vector<TEntry> entries;
    auto buffer = std::make_unique<char[]>(ChunkSize);
    for (const TZipItem& item : FItems)
        entries.push_back(WriteEntry(item, writer, buffer.get(), CompressionLevel,
                                     [&](int code) { ItemFailure(item, code); }));

    std::optional<TZipPosition> directory;
    uint64_t directorySize = 0;
    std::vector<uint32_t> recordDisks;
    for (const TEntry& e : entries) {
        TBytes central;
        central.U32(CentralHeaderSig).U16(VersionMadeBy).U16(VersionNeeded).U16(e.Flags).U16(e.Method);
        central.U32(e.Item->DosDateTime).U32(e.Crc).U32(e.CompressedSize).U32(e.Size);
        central.U16(static_cast<uint32_t>(e.Item->Name.size())).U16(0).U16(0).U16(e.Disk).U16(0);
        central.U32(e.Item->Attr & 0x3F).U32(e.Offset).Text(e.Item->Name);
        const TZipPosition at = writer.Header(central.Data());
        if (!directory) directory = at;
        recordDisks.push_back(at.Disk);
        directorySize += central.Data().size();
    }
    constexpr size_t EndSize = 22;
    // The end record names the disk it stands on.
    writer.Header(EndSize, [&] {
        const TZipPosition here{writer.Disk(), writer.Offset()};
        const TZipPosition start = directory.value_or(here);
        uint32_t onLastDisk = 0;
        for (uint32_t disk : recordDisks) onLastDisk += disk == here.Disk;
        TBytes end;
        end.U32(EndSig).U16(here.Disk).U16(start.Disk).U16(onLastDisk).U16(static_cast<uint32_t>(entries.size()));
        end.U32(static_cast<uint32_t>(directorySize)).U32(start.Offset).U16(0);
        return end.Data();
    });
    writer.Finish();
    FDiskCount = static_cast<int>(writer.Disk()) + 1;
}
