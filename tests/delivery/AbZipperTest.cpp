#include <gtest/gtest.h>

#include <cstring>

#include "DeliveryTestSupport.h"
#include "core/DateTime.h"
#include "lib/AbZipper.h"

namespace {
uint32_t U32At(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    memcpy(&v, bytes.data() + at, 4);
    return v;
}
uint16_t U16At(const std::string& bytes, size_t at) {
    uint16_t v = 0;
    memcpy(&v, bytes.data() + at, 2);
    return v;
}
}  // namespace

// How the archive is laid out over the disks of a volume: the marker that opens the first disk, how
// many disks, none fuller than its capacity, and the end record that names the last disk.
TEST(AbZipper, LaysOutArchivesOverTheDisksOfAVolume) {
    struct TCase {
        const char* Name;
        uint64_t Capacity;  // 0: a fixed disk
        size_t DataSize;
        size_t Disks;
        uint32_t FirstSignature;
    } cases[] = {
        {"fixed disk", 0, 300000, 1, 0x04034b50},
        {"removable, fits", 1000000, 300000, 1, 0x30304b50},
        {"removable, spans", 65536, 300000, 5, 0x08074b50},
        {"removable, exactly fills", 0, 0, 1, 0x30304b50},  // filled in below
    };
    TScratchFolder source;
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string data = NoiseBytes(c.DataSize, 7);
        RemoveTree(source / "in");
        source.WriteFile("in\\noise.bin", data);
        source.WriteFile("in\\tekst.txt", std::string(5000, 'a'));
        TAbZipper zipper;
        zipper.SetFileName(source / "Case.zip");
        zipper.BaseDirectory = source / "in";
        zipper.AddFiles("*.*", faAnyFile);
        ASSERT_EQ(zipper.Items().size(), 2u);
        if (c.Capacity == 0 && c.DataSize == 0) {
            // A disk exactly as large as the whole archive takes it without a second disk.
            TMemoryVolume measure;
            zipper.Save(measure);
            c.Capacity = measure.Disks()[0].size() + 4;
        }
        int requests = 0;
        zipper.OnRequestBlankDisk = [&](TAbZipper&, bool& abort) {
            ++requests;
            abort = false;
        };
        TMemoryVolume volume(c.Capacity);
        zipper.Save(volume);
        if (c.Disks) {
            ASSERT_EQ(volume.Disks().size(), c.Disks);
        }
        EXPECT_EQ(requests + 1u, volume.Disks().size());
        EXPECT_EQ(zipper.DiskCount(), static_cast<int>(volume.Disks().size()));
        for (const std::string& disk : volume.Disks())
            if (c.Capacity) {
                EXPECT_LE(disk.size(), c.Capacity);
            }
        EXPECT_EQ(U32At(volume.Disks()[0], 0), c.FirstSignature);
        const std::string& last = volume.Disks().back();
        ASSERT_GE(last.size(), 22u);
        size_t end = last.size() - 22;
        EXPECT_EQ(U32At(last, end), 0x06054b50u);
        EXPECT_EQ(U16At(last, end + 4), volume.Disks().size() - 1);  // this disk
        EXPECT_EQ(U16At(last, end + 10), 2);                         // entries in all
    }
}

// A disk request that is declined ends the archive with the disks written so far, and nothing of
// the disk in the drive is committed; a disk too small for one header fails instead of asking for
// ever.
TEST(AbZipper, StopsWhenNoFurtherDiskComes) {
    TScratchFolder source;
    source.WriteFile("in\\noise.bin", NoiseBytes(300000, 3));
    struct TCase {
        const char* Name;
        uint64_t Capacity;
        int DisksOffered;
        size_t Committed;
    } cases[] = {
        {"declined at the second disk", 65536, 0, 1},
        {"declined at the third disk", 65536, 1, 2},
        {"disks smaller than a header", 20, 100, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TAbZipper zipper;
        zipper.SetFileName(source / "Case.zip");
        zipper.BaseDirectory = source / "in";
        zipper.AddFiles("*.*", faAnyFile);
        int offered = 0;
        zipper.OnRequestBlankDisk = [&](TAbZipper&, bool& abort) { abort = offered++ >= c.DisksOffered; };
        TMemoryVolume volume(c.Capacity);
        EXPECT_THROW(zipper.Save(volume), EZipError);
        EXPECT_EQ(volume.Disks().size(), c.Committed);
    }
}

TEST(AbZipper, DosDateTimeOfLocalTimes) {
    struct TCase {
        double Time;
        uint32_t Expected;
    } cases[] = {
        {EncodeDate(2026, 12, 9) + EncodeTime(14, 35, 59), (46u << 9 | 12u << 5 | 9u) << 16 | (14u << 11 | 35u << 5 | 29u)},
        {EncodeDate(1975, 6, 1), (1u << 5 | 1u) << 16},  // before the format's first day
        {EncodeDate(1980, 1, 1), (1u << 5 | 1u) << 16},
    };
    for (const TCase& c : cases) EXPECT_EQ(DosDateTimeOf(c.Time), c.Expected) << c.Time;
}
