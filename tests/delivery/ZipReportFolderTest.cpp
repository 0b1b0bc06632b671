#include <gtest/gtest.h>

#include <thread>

#include "DeliveryTestSupport.h"
#include "core/Format.h"

namespace {
const char* const Saved = "Het Helpdeskrapport is opgeslagen voor verzending.";
const char* const NotSaved = "Het Helpdeskrapport is niet opgeslagen voor verzending.";
const char* const ZipError = "Er is een fout opgetreden bij het maken van het ZIP-bestand.";

// A user at a floppy drive: answers the boxes from a script, and at every "insert a blank disk" that
// is answered OK takes the written disk out (its part goes to the shelf as the next piece of a split
// archive, case.z01, case.z02, ...) and puts in the next disk, blank or holding an old Case.zip.
class TFloppyUser {
public:
    TFloppyUser(std::string drive, std::string shelf) : FDrive(std::move(drive)), FShelf(std::move(shelf)) {
        ForceDirectories(FShelf);
        SetMessageHook([this](const TMessageRecord& m) {
            Texts.push_back(m.Text);
            Boxes.push_back(m);
            int answer = IDOK;
            if (!Answers.empty()) {
                answer = Answers.front();
                Answers.erase(Answers.begin());
            }
            if (m.Text.rfind("Plaats een lege diskette", 0) == 0 && answer == IDOK) SwapDisk();
            return answer;
        });
    }
    std::vector<int> Answers;          // in order; afterwards OK
    bool NextDiskHoldsAnArchive = false;
    std::vector<std::string> Texts;
    std::vector<TMessageRecord> Boxes;
    int DisksTakenOut = 0;

    // The last disk goes to the shelf as case.zip.
    void TakeOutLastDisk() { ASSERT_TRUE(FileRename(FDrive + "Case.zip", FShelf + "case.zip")); }

private:
    TMessageRecorder FRecorder;  // restores the hook that fails unexpected boxes afterwards
    std::string FDrive, FShelf;

    void SwapDisk() {
        ++DisksTakenOut;
        std::string number = std::to_string(DisksTakenOut);
        FileRename(FDrive + "Case.zip", FShelf + "case.z" + std::string(2 - std::min<size_t>(number.size(), 2), '0') + number);
        for (const TSearchRec& r : FindFiles(FDrive + "*.*", faAnyFile)) FileDelete(FDrive + r.Name);
        if (NextDiskHoldsAnArchive) WriteFileBytes(FDrive + "Case.zip", "een oud archief");
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
};
}  // namespace

// The files of a report folder as independent readers must find them: hidden and read-only files,
// an empty one and names with accents, each under its bare name.
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
}

// A report too large for one floppy goes over three; each further disk is asked for with the drive's
// name, and Info-ZIP joins the disks (tests/checks).
TEST_F(ZipReportFolder, SpannedOverThreeFloppies) {
    FillLargeReport();
    UseFloppies(FloppyCapacity);
    SetFileDialogHook([this](const TFileDialogRequest& r) -> std::optional<std::string> {
        EXPECT_EQ(r.Filter, "ZIP-bestand (*.zip)|*.ZIP");
        EXPECT_EQ(r.InitialDir, "A:\\");
        EXPECT_EQ(r.FileName, "Case.zip");
        return Drive + "Case.zip";
    });
    TFloppyUser user(Drive, Shelf);
    EXPECT_TRUE(Delivery.SaveReportZip(*Report));
    std::string prompt = Format("Plaats een lege diskette in drive %s", {Drive.substr(0, 2)});
    EXPECT_EQ(user.Texts, (std::vector<std::string>{prompt, prompt, Saved}));
    EXPECT_EQ(user.Boxes[0].Kind, TMsgKind::Information);
    EXPECT_EQ(user.Boxes[0].Buttons, TMsgButtons::OKCancel);
    EXPECT_EQ(Delivery.Zipper.DiskCount(), 3);
    user.TakeOutLastDisk();
    for (const TSearchRec& r : FindFiles(Shelf + "*.*", faAnyFile)) EXPECT_LE(r.Size, FloppyCapacity) << r.Name;
    Export("spanned", Shelf);
}

// Cancel at the second disk: only the not-saved message, no error; the next attempt in the same
// window succeeds. An old archive on an inserted disk is overwritten only when the user agrees.
TEST_F(ZipReportFolder, DisksDeclinedOrOverwritten) {
    FillLargeReport();
    UseFloppies(FloppyCapacity);
    SetFileDialogHook([this](const TFileDialogRequest&) -> std::optional<std::string> { return Drive + "Case.zip"; });
    std::string prompt = Format("Plaats een lege diskette in drive %s", {Drive.substr(0, 2)});
    std::string question = Drive + "Case.zip\rDit bestand bestaat al.\rOverschrijven?";
    struct TCase {
        const char* Name;
        std::vector<int> Answers;
        bool OldArchiveOnDisks;
        bool Saved;
        std::vector<std::string> Texts;
    } cases[] = {
        {"cancel at the second disk", {IDCANCEL}, false, false, {prompt, NotSaved}},
        {"then again, all disks given", {}, false, true, {prompt, prompt, Saved}},
        {"old archive kept", {IDOK, IDNO}, true, false, {prompt, question, NotSaved}},
        {"old archives overwritten", {IDOK, IDYES, IDOK, IDYES}, true, true, {prompt, question, prompt, question, Saved}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RemoveTree(Shelf);
        TFloppyUser user(Drive, Shelf);
        user.Answers = c.Answers;
        user.NextDiskHoldsAnArchive = c.OldArchiveOnDisks;
        EXPECT_EQ(Delivery.SaveReportZip(*Report), c.Saved);
        EXPECT_EQ(user.Texts, c.Texts);
        EXPECT_EQ(Delivery.ZipFailureCode, c.Saved ? 0 : TReportDelivery::ZipDiskDeclined);
        if (c.Texts.size() > 1 && c.Texts[1] == question) {
            EXPECT_EQ(user.Boxes[1].Kind, TMsgKind::Warning);
            EXPECT_EQ(user.Boxes[1].Buttons, TMsgButtons::YesNo);
        }
        // Never a half-written part under a temporary name.
        EXPECT_FALSE(FileExists(Drive + "Case.zip.part"));
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
    UseFloppies(FloppyCapacity);
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
    EXPECT_EQ(seen, Format("Plaats een lege diskette in drive %s", {Drive.substr(0, 2)}));
}
