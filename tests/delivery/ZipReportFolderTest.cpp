#include <gtest/gtest.h>

#include <thread>

#include "DeliveryTestSupport.h"
#include "core/Format.h"

namespace {
const char* const Saved = "Het Helpdeskrapport is opgeslagen voor verzending.";
const char* const NotSaved = "Het Helpdeskrapport is niet opgeslagen voor verzending.";
const char* const ZipError = "Er is een fout opgetreden bij het maken van het ZIP-bestand.";

// A user at a floppy drive: answers the boxes from a script, and at every "insert a blank disk" that
// is answered OK takes the disk out and puts in the next one of the script (a blank one once the
// script is used up), or leaves the disk where it is.
class TFloppyUser {
public:
    explicit TFloppyUser(TFloppyDrive& floppy) : FFloppy(floppy) {
        SetMessageHook([this](const TMessageRecord& m) {
            Texts.push_back(m.Text);
            Boxes.push_back(m);
            int answer = Next(Answers, IDOK);
            if (m.Text.find("Plaats een lege diskette") != std::string::npos && answer == IDOK) {
                std::optional<TDiskKind> disk = Next(Disks, std::optional<TDiskKind>(TDiskKind::Blank));
                if (disk) FFloppy.Swap(*disk);
            }
            return answer;
        });
    }
    std::vector<int> Answers;                     // in order; afterwards OK
    std::vector<std::optional<TDiskKind>> Disks;  // in order, nullopt: the same disk stays in
    std::vector<std::string> Texts;
    std::vector<TMessageRecord> Boxes;

private:
    TMessageRecorder FRecorder;  // restores the hook that fails unexpected boxes afterwards
    TFloppyDrive& FFloppy;

    template <class T>
    static T Next(std::vector<T>& script, T otherwise) {
        if (script.empty()) return otherwise;
        T next = script.front();
        script.erase(script.begin());
        return next;
    }
};

BOOL CALLBACK FindOwnMessageBox(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || wcscmp(name, L"#32770") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// A message box of this process that is on the screen (other programs of the prefix may show theirs).
HWND OwnMessageBox() {
    HWND found = nullptr;
    EnumWindows(FindOwnMessageBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

class ZipReportFolder : public DeliveryTest {
protected:
    ZipReportFolder() { ForceDirectories(Drive); }

    // A report of about 3.3 MB that deflate cannot shrink: three floppies.
    void FillLargeReport() {
        AddReportFile("CASE.RTF", "{\\rtf1\\ansi Rapport}\r\n");
        AddReportFile("CASE.INI", "[Case]\r\nBedoeling=Boeken\r\n");
        AddReportFile("scherm.bmp", NoiseBytes(2000000, 11));
        AddReportFile("logboek.log", NoiseBytes(1300000, 12));
    }
    // Copies the disks and the report's files for the readers of tests/checks.
    void Export(const std::string& name, const std::string& disks) {
        std::string target = ArtifactFolder();
        if (target.empty()) return;
        ForceDirectories(target + name);
        ForceDirectories(target + name + "-src");
        for (const TSearchRec& r : FindFiles(disks + "*.*", faAnyFile))
            ASSERT_TRUE(FileCopy(disks + r.Name, target + name + "\\" + r.Name, false));
        for (const TSearchRec& r : FindFiles(ReportFolder() + "*.*", faAnyFile)) {
            ASSERT_TRUE(FileCopy(ReportFolder() + r.Name, target + name + "-src\\" + r.Name, false));
            ClearFileAttributes(target + name + "-src\\" + r.Name);
        }
    }

    // The disk in the "floppy drive".
    std::string Drive = Folder / "floppy\\";
    std::string Shelf = Folder / "shelf\\";
    std::string Prompt = Format("Plaats een lege diskette in drive %s", {Drive.substr(0, 2)});
    TFloppyDrive Floppy{Drive + "Case.zip", Shelf};
};
}  // namespace

// The files of a report folder as independent readers must find them: hidden and read-only files,
// an empty one and names with accents, each under its bare name; stored files also for readers that
// read the archive as a stream.
TEST_F(ZipReportFolder, ArchiveForIndependentReaders) {
    AddReportFile("CASE.RTF", "{\\rtf1\\ansi Rapport \\'e9\\'e9n}\r\n");
    AddReportFile("CASE.INI", "[Relatie]\r\nAchternaam=Jansen\r\n");
    AddReportFile("verborgen.txt", "niet te zien", FILE_ATTRIBUTE_HIDDEN);
    AddReportFile("alleen-lezen.txt", "niet te wijzigen", FILE_ATTRIBUTE_READONLY);
    AddReportFile("Één café.txt", "accenten");
    AddReportFile("leeg.dat", "");
    AddReportFile("ruis.bin", NoiseBytes(300000, 5));
    AddReportFile("tekst.log", std::string(200000, 'x'));
    std::string out = Folder / "uit\\";
    ForceDirectories(out);
    TMessageRecorder boxes;
    EXPECT_TRUE(Delivery.ZipReportFolder(out + "Case.zip", Report->Folder()));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{});
    EXPECT_EQ(Delivery.ZipFailureCode, 0);
    EXPECT_EQ(Delivery.Zipper.Items().size(), 0u) << "the archive is closed afterwards";
    // Only the archive: its temporary name is gone.
    auto files = FindFiles(out + "*.*", faAnyFile);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].Name, "Case.zip");
    Export("plain", out);

    // An archive whose first entry is stored, for a reader that reads archives as a stream.
    RemoveTree(ReportFolder());
    ForceDirectories(ReportFolder());
    AddReportFile("ruis.bin", NoiseBytes(300000, 6));
    ASSERT_TRUE(Delivery.ZipReportFolder(out + "Case.zip", Report->Folder()));
    Export("stored", out);
}

// A report too large for one floppy goes over three; each further disk is asked for with the drive's
// name, and Info-ZIP joins the disks (tests/checks): also disks of 1440 KiB, which a part filling them
// would make a whole number of Info-ZIP's 16 KiB copy buffers long.
TEST_F(ZipReportFolder, SpannedOverThreeFloppies) {
    FillLargeReport();
    SetFileDialogHook([this](const TFileDialogRequest& r) -> std::optional<std::string> {
        EXPECT_EQ(r.Filter, "ZIP-bestand (*.zip)|*.ZIP");
        EXPECT_EQ(r.InitialDir, "A:\\");
        EXPECT_EQ(r.FileName, "Case.zip");
        return Drive + "Case.zip";
    });
    for (const uint64_t capacity : {FloppyCapacity, uint64_t{1440 * 1024}}) {
        SCOPED_TRACE(capacity);
        RemoveTree(Shelf);
        RemoveTree(Drive);
        Floppy = TFloppyDrive(Drive + "Case.zip", Shelf, capacity);
        UseFloppies(Floppy);
        TFloppyUser user(Floppy);
        EXPECT_TRUE(Delivery.SaveReportZip(*Report));
        EXPECT_EQ(user.Texts, (std::vector<std::string>{Prompt, Prompt, Saved}));
        EXPECT_EQ(user.Boxes[0].Kind, TMsgKind::Information);
        EXPECT_EQ(user.Boxes[0].Buttons, TMsgButtons::OKCancel);
        EXPECT_EQ(Delivery.Zipper.DiskCount(), 3);
        ASSERT_TRUE(Floppy.TakeOutLastDisk());
        for (const TSearchRec& r : FindFiles(Shelf + "*.*", faAnyFile)) EXPECT_LE(r.Size, capacity) << r.Name;
        Export(capacity == FloppyCapacity ? "spanned" : "spanned-1440k", Shelf);
    }
}

// The disks users put in: a part already written is never written over (the same disk again, an
// earlier disk of the set), a disk that cannot take a part is asked for once more with the reason,
// and an old archive is overwritten only when the user agrees. A set given up leaves no part in the
// drive, and the next attempt in the same window succeeds. Info-ZIP joins every set (tests/checks).
TEST_F(ZipReportFolder, DisksAsUsersSwapThem) {
    FillLargeReport();
    UseFloppies(Floppy);
    SetFileDialogHook([this](const TFileDialogRequest&) -> std::optional<std::string> { return Drive + "Case.zip"; });
    const std::string question = Drive + "Case.zip\rDit bestand bestaat al.\rOverschrijven?";
    const std::string drive = Drive.substr(0, 2);
    auto again = [&](const std::string& reason) { return Format(reason, {drive}) + "\r" + Prompt; };
    const std::string samePart1 = again("De diskette in drive %s bevat al deel 1 van dit ZIP-bestand.");
    const std::string samePart2 = again("De diskette in drive %s bevat al deel 2 van dit ZIP-bestand.");
    const std::string protectedDisk = again("De diskette in drive %s is beveiligd tegen schrijven.");
    const std::string fullDisk = again("De diskette in drive %s is vol.");
    const std::optional<TDiskKind> same;
    struct TCase {
        const char* Name;
        std::vector<int> Answers;
        std::vector<std::optional<TDiskKind>> Disks;
        bool Saved;
        std::vector<std::string> Texts;
    } cases[] = {
        {"the same disk again", {}, {same}, true, {Prompt, samePart1, Prompt, Saved}},
        {"the first disk again for the third", {}, {TDiskKind::Blank, same}, true, {Prompt, Prompt, samePart2, Saved}},
        {"a write-protected disk", {}, {TDiskKind::WriteProtected}, true, {Prompt, protectedDisk, Prompt, Saved}},
        {"a full disk", {}, {TDiskKind::Full}, true, {Prompt, fullDisk, Prompt, Saved}},
        {"a disk that has less room than it says", {}, {TDiskKind::Overstating}, true, {Prompt, Prompt, Saved}},
        {"cancel at the second disk", {IDCANCEL}, {}, false, {Prompt, NotSaved}},
        {"cancel once the same disk was refused", {IDOK, IDCANCEL}, {same}, false, {Prompt, samePart1, NotSaved}},
        {"then again, all disks given", {}, {}, true, {Prompt, Prompt, Saved}},
        {"old archive kept", {IDOK, IDNO}, {TDiskKind::OldArchive}, false, {Prompt, question, NotSaved}},
        {"old archives overwritten", {IDOK, IDYES, IDOK, IDYES}, {TDiskKind::OldArchive, TDiskKind::OldArchive}, true,
         {Prompt, question, Prompt, question, Saved}},
    };
    int set = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RemoveTree(Shelf);
        RemoveTree(Drive);
        Floppy = TFloppyDrive(Drive + "Case.zip", Shelf);
        TFloppyUser user(Floppy);
        user.Answers = c.Answers;
        user.Disks = c.Disks;
        EXPECT_EQ(Delivery.SaveReportZip(*Report), c.Saved);
        EXPECT_EQ(user.Texts, c.Texts);
        EXPECT_EQ(Delivery.ZipFailureCode, c.Saved ? 0 : TReportDelivery::ZipDiskDeclined);
        for (size_t i = 0; i < user.Boxes.size(); ++i) {
            const TMessageRecord& box = user.Boxes[i];
            if (box.Text == question) {
                EXPECT_EQ(box.Buttons, TMsgButtons::YesNo);
            }
            if (box.Text != Prompt && box.Text.find(Prompt) != std::string::npos) {
                EXPECT_EQ(box.Kind, TMsgKind::Warning) << box.Text;
                EXPECT_EQ(box.Buttons, TMsgButtons::OKCancel);
            }
        }
        // Never a half-written part under a temporary name, nor a part of a set given up.
        EXPECT_FALSE(FileExists(Drive + "Case.zip.part"));
        if (!c.Saved && c.Texts[1] != question) {
            EXPECT_FALSE(FileExists(Drive + "Case.zip"));
        }
        if (!c.Saved) continue;
        ASSERT_TRUE(Floppy.TakeOutLastDisk());
        EXPECT_EQ(Floppy.PartsOnShelf() + 1, Delivery.Zipper.DiskCount());
        for (const TSearchRec& r : FindFiles(Shelf + "*.*", faAnyFile)) EXPECT_LE(r.Size, FloppyCapacity) << r.Name;
        Export("spanned-" + std::to_string(++set), Shelf);
    }
}

// The prompt names the drive of the archive; OK on a disk without the archive goes on.
TEST_F(ZipReportFolder, PromptNamesTheDrive) {
    TAbZipper zipper;
    zipper.SetFileName("A:\\Case.zip");
    TMessageRecorder boxes;
    bool abort = true;
    Delivery.ZipperRequestBlankDisk(zipper, abort);
    EXPECT_FALSE(abort);
    EXPECT_EQ(Delivery.ZipFailureCode, 0);
    boxes.Answer(IDCANCEL);
    Delivery.ZipperRequestBlankDisk(zipper, abort);
    EXPECT_TRUE(abort);
    EXPECT_EQ(Delivery.ZipFailureCode, TReportDelivery::ZipDiskDeclined);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>(2, "Plaats een lege diskette in drive A:"));
}

// Failures leave nothing under the chosen name: an archive that cannot be replaced, a file of 4 GB,
// a file another program holds locked.
TEST_F(ZipReportFolder, FailuresLeaveNoArchive) {
    AddReportFile("CASE.RTF", "{\\rtf1 Rapport}\r\n");
    std::string out = Folder / "uit\\";
    ForceDirectories(out);
    const std::string archive = out + "Case.zip";

    {
        SCOPED_TRACE("read-only archive in the way");
        WriteFileBytes(archive, "oud");
        SetFileAttributesW(Widen(archive).c_str(), FILE_ATTRIBUTE_READONLY);
        TMessageRecorder boxes;
        EXPECT_FALSE(Delivery.ZipReportFolder(archive, Report->Folder()));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Bestand kon niet worden overschreven."});
        EXPECT_EQ(ReadFileBytes(archive), "oud");
        ClearFileAttributes(archive);
        FileDelete(archive);
    }
    {
        SCOPED_TRACE("file of 4 GB");
        std::string big = ReportFolder() + "groot.bin";
        HANDLE h = CreateFileW(Widen(big).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        LARGE_INTEGER size;
        size.QuadPart = 0x100000000LL;  // sparse on the host: no 4 GB are written
        SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
        CloseHandle(h);
        TMessageRecorder boxes;
        EXPECT_FALSE(Delivery.ZipReportFolder(archive, Report->Folder()));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{ZipError});
        EXPECT_EQ(Delivery.ZipFailureCode, ZipErrorFileTooLarge);
        EXPECT_TRUE(FindFiles(out + "*.*", faAnyFile).empty());
        FileDelete(big);
    }
    {
        SCOPED_TRACE("file locked by another program");
        std::string locked = AddReportFile("bezet.txt", "in gebruik");
        HANDLE h = CreateFileW(Widen(locked).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        TMessageRecorder boxes;
        EXPECT_FALSE(Delivery.ZipReportFolder(archive, Report->Folder()));
        CloseHandle(h);
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{ZipError});
        EXPECT_EQ(Delivery.ZipFailureCode, ERROR_SHARING_VIOLATION);
        EXPECT_TRUE(FindFiles(out + "*.*", faAnyFile).empty());
    }
    {
        SCOPED_TRACE("and then it works");
        TMessageRecorder boxes;
        EXPECT_TRUE(Delivery.ZipReportFolder(archive, Report->Folder()));
        EXPECT_TRUE(FileExists(archive));
    }
}

// The real box, closed by another thread as a user would: Cancel at the disk prompt ends the
// archive quietly.
TEST_F(ZipReportFolder, RealDiskPromptCancelled) {
    FillLargeReport();
    UseFloppies(Floppy);
    SetMessageHook({});
    std::string seen;
    std::thread user([&] {
        for (int i = 0; i < 200 && seen.empty(); ++i) {
            Sleep(50);
            HWND box = OwnMessageBox();
            if (!box) continue;
            wchar_t text[512] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 512);
            seen = Narrow(text);
            if (!seen.empty()) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
        }
    });
    bool saved = Delivery.ZipReportFolder(Drive + "Case.zip", Report->Folder());
    user.join();
    TMessageRecorder restoreUnexpectedBoxes;
    EXPECT_FALSE(saved);
    EXPECT_EQ(Delivery.ZipFailureCode, TReportDelivery::ZipDiskDeclined);
    EXPECT_EQ(seen, Prompt);
    EXPECT_FALSE(FileExists(Drive + "Case.zip")) << "the first disk's part stays in the drive";
}

// The same through the program's own drive handling on a real removable drive: tests/checks/
// full_disk.sh mounts a 1.44 MB file system as drive A: and names it in BRAN_FLOPPY. The user puts
// the written disk back once and then a full one; Info-ZIP joins the set the shelf holds.
TEST_F(ZipReportFolder, OnARealFloppy) {
    char drive[8] = {};
    if (!GetEnvironmentVariableA("BRAN_FLOPPY", drive, sizeof drive)) GTEST_SKIP() << "no floppy drive given";
    const std::string root = std::string(drive) + "\\";
    ASSERT_EQ(GetDriveTypeW(Widen(root).c_str()), static_cast<UINT>(DRIVE_REMOVABLE));
    const uint64_t capacity = DiskFree(root).value_or(0);
    ASSERT_GT(capacity, 1000000u);
    FillLargeReport();
    TFloppyDrive floppy(root + "Case.zip", Shelf, capacity);
    floppy.Swap(TDiskKind::Blank);
    TFloppyUser user(floppy);
    user.Disks = {std::nullopt, TDiskKind::Full};
    const std::string prompt = Format("Plaats een lege diskette in drive %s", {std::string(drive)});
    EXPECT_TRUE(Delivery.ZipReportFolder(root + "Case.zip", Report->Folder()));
    EXPECT_EQ(user.Texts, (std::vector<std::string>{
                              prompt, Format("De diskette in drive %s bevat al deel 1 van dit ZIP-bestand.", {drive}) + "\r" + prompt,
                              Format("De diskette in drive %s is vol.", {drive}) + "\r" + prompt, prompt}));
    EXPECT_EQ(Delivery.Zipper.DiskCount(), 3);
    ASSERT_TRUE(floppy.TakeOutLastDisk());
    Export("floppy", Shelf);
}
