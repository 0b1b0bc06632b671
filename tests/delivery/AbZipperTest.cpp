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
        {"removable, fits", 1000448, 300000, 1, 0x30304b50},
        {"removable, spans", 65536, 300000, 5, 0x08074b50},
        {"removable, exactly fills", 0, 3000, 1, 0x30304b50},  // capacity filled in below
    };
    TScratchFolder source;
    for (TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::string data = NoiseBytes(c.DataSize, 7);
        RemoveTree(source / "in");
        RemoveTree(source / "drive");
        RemoveTree(source / "shelf");
        source.WriteFile("in\\noise.bin", data);
        source.WriteFile("in\\tekst.txt", std::string(5000, 'a'));
        const std::string archive = source / "drive\\Case.zip";
        TAbZipper zipper;
        zipper.SetFileName(archive);
        zipper.BaseDirectory = source / "in";
        zipper.AddFiles("*.*", faAnyFile);
        ASSERT_EQ(zipper.Items().size(), 2u);
        if (c.Capacity == 0 && c.FirstSignature != 0x04034b50) {
            // A disk exactly as large as the whole archive (in whole clusters) takes it alone.
            ForceDirectories(source / "drive");
            TDriveVolume fixed(archive);
            zipper.Save(fixed);
            c.Capacity = (FileSize(archive).value_or(0) + 4 + FloppyCluster - 1) / FloppyCluster * FloppyCluster;
            FileDelete(archive);
        }
        std::vector<std::string> disks;
        if (c.Capacity == 0) {
            ForceDirectories(source / "drive");
            TDriveVolume fixed(archive);
            zipper.Save(fixed);
            disks.push_back(ReadFileBytes(archive));
        } else {
            TFloppyDrive floppy(archive, source / "shelf\\", c.Capacity);
            int requests = 0;
            zipper.OnRequestBlankDisk = [&](TAbZipper&, bool& abort) {
                ++requests;
                floppy.Swap(TDiskKind::Blank);
                abort = false;
            };
            auto volume = floppy.Volume();
            zipper.Save(*volume);
            EXPECT_EQ(requests, floppy.PartsOnShelf());
            ASSERT_TRUE(floppy.TakeOutLastDisk());
            for (const TSearchRec& r : FindFiles(source / "shelf\\*.*", faAnyFile)) disks.push_back(ReadFileBytes(source / "shelf\\" + r.Name));
        }
        ASSERT_EQ(disks.size(), c.Disks);
        EXPECT_EQ(zipper.DiskCount(), static_cast<int>(disks.size()));
        for (const std::string& disk : disks)
            if (c.Capacity) {
                EXPECT_LE(disk.size(), c.Capacity);
            }
        EXPECT_EQ(U32At(disks[0], 0), c.FirstSignature);
        const std::string& last = disks.back();
        ASSERT_GE(last.size(), 22u);
        size_t end = last.size() - 22;
        EXPECT_EQ(U32At(last, end), 0x06054b50u);
        EXPECT_EQ(U16At(last, end + 4), disks.size() - 1);  // this disk
        EXPECT_EQ(U16At(last, end + 10), 2);                // entries in all
    }
}

// A disk request that is declined ends the archive with the disks written so far and removes the
// part of the disk left in the drive; a drive whose disks are all too small is asked again until the
// user gives up.
TEST(AbZipper, StopsWhenNoFurtherDiskComes) {
    TScratchFolder source;
    source.WriteFile("in\\noise.bin", NoiseBytes(300000, 3));
    struct TCase {
        const char* Name;
        uint64_t Capacity;
        int DisksOffered;
        int PartsOut;
        TZipDiskProblem LastProblem;
    } cases[] = {
        {"declined at the second disk", 65536, 0, 0, TZipDiskProblem::dpNone},
        {"declined at the third disk", 65536, 1, 1, TZipDiskProblem::dpNone},
        {"only full disks", 0, 5, 0, TZipDiskProblem::dpFull},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RemoveTree(source / "drive");
        RemoveTree(source / "shelf");
        const std::string archive = source / "drive\\Case.zip";
        TFloppyDrive floppy(archive, source / "shelf\\", c.Capacity);
        TAbZipper zipper;
        zipper.SetFileName(archive);
        zipper.BaseDirectory = source / "in";
        zipper.AddFiles("*.*", faAnyFile);
        int offered = 0;
        TZipDiskProblem last = TZipDiskProblem::dpNone;
        zipper.OnRequestBlankDisk = [&](TAbZipper& sender, bool& abort) {
            last = sender.DiskRequest().Problem;
            abort = offered++ >= c.DisksOffered;
            if (!abort) floppy.Swap(TDiskKind::Blank);
        };
        auto volume = floppy.Volume();
        EXPECT_THROW(zipper.Save(*volume), EZipError);
        EXPECT_EQ(floppy.PartsOnShelf(), c.PartsOut);
        EXPECT_EQ(last, c.LastProblem);
        EXPECT_TRUE(FindFiles(source / "drive\\*.*", faAnyFile).empty());
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
