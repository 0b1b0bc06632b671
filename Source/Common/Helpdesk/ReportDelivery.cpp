#include "Source/Common/Helpdesk/ReportDelivery.h"

#include <memory>
#include <optional>

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/MailServerSetting.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ProblemSolver.h"
#include "Source/Common/Helpdesk/ReportOutbox.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "mail/SendMail.h"
#include "platform/Files.h"
#include "platform/gui/Application.h"
#include "platform/gui/Form.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Printer.h"
#include "platform/gui/RichEdit.h"

namespace {
const char* const NotSaved = "Het Helpdeskrapport is niet opgeslagen voor verzending.";
const char* const NoMailServer = "Er is geen mail-server ingesteld.";

// A temporary file that is gone when the operation that wrote it ends, however it ends.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string path) : FPath(std::move(path)) {}
    ~TTemporaryFile() { FileDelete(FPath); }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

std::string TemporaryPath(const std::string& name) {
    std::string folder = GetTempFolder();
    if (folder.empty()) throw EBrantel("TReportDelivery", "TemporaryPath", "no temporary folder");
    return folder + name;
}

double MegaBytes(uint64_t bytes) { return static_cast<double>(bytes) / (1024 * 1024); }

std::string DriveOf(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

// Why the disk in the drive cannot take the next part of the archive; empty when nothing is wrong.
std::string DiskProblemText(const TZipDiskRequest& request, const std::string& drive) {
    switch (request.Problem) {
        case TZipDiskProblem::dpNone: break;
        case TZipDiskProblem::dpSameDisk:
            return Format("De diskette in drive %s bevat al deel %d van dit ZIP-bestand.", {drive, request.Part});
        case TZipDiskProblem::dpFull:
            return Format("De diskette in drive %s is vol.", {drive});
        case TZipDiskProblem::dpCannotWrite:
            // A read-only medium answers "access denied" where the platform has no write protection.
            if (request.ErrorCode == ERROR_WRITE_PROTECT || request.ErrorCode == ERROR_ACCESS_DENIED)
                return Format("De diskette in drive %s is beveiligd tegen schrijven.", {drive});
            if (request.ErrorCode == ERROR_NOT_READY) return Format("Er zit geen diskette in drive %s.", {drive});
            return Format("Op de diskette in drive %s kan niet worden geschreven (fout %d).", {drive, request.ErrorCode});
    }
    return {};
}

std::string HelpdeskRecipient(const THelpdeskReport& report) {
    if (report.ServiceItem) {
        std::string address = report.ServiceItem->HelpDeskEmailAddress().AsString();
        if (IsValidEmailAddress(address)) return address;
    }
    return DefaultHelpdeskMailbox;
}

// The problem solver's report page and Finish, delivered for the window's report and user.
class TProblemSolverDelivery : public IProblemSolverDelivery {
public:
    explicit TProblemSolverDelivery(TfrmProblemSolver& form) : FForm(form) {
        FDelivery.OnSaveAll = [this] { FForm.SaveAll(); };
        FDelivery.OnEmailAddressDoubted = [this] { BackToEmailAddress(); };
    }
    bool PrintReportDialog() override { return FForm.Report() && FDelivery.PrintReportDialog(*FForm.Report()); }
    bool SaveReportZip() override { return FForm.Report() && FDelivery.SaveReportZip(*FForm.Report()); }
    bool EmailReport() override {
        return FForm.Report() && FForm.User() && FDelivery.EmailReport(*FForm.Report(), *FForm.User());
    }

private:
    TfrmProblemSolver& FForm;
    TReportDelivery FDelivery;

    // The personal-data page directly (none of the wizard's page events), the focus on the field after
    // the country: the e-mail address.
    void BackToEmailAddress() {
        FForm.pageProblemSolver.SetActivePage(&FForm.TabPersonalInfo);
        FForm.cboUserCountry.SetFocus();
        FForm.SelectNext();
        FForm.SetNextAsNext();
    }
};

// The page rectangle in twips, as the rich-text control lays out pages.
RECT PixelsToTwips(const RECT& r, const TPrinter& printer) {
    int x = printer.PixelsPerInchX(), y = printer.PixelsPerInchY();
    return {MulDiv(r.left, 1440, x), MulDiv(r.top, 1440, y), MulDiv(r.right, 1440, x), MulDiv(r.bottom, 1440, y)};
}
}  // namespace

TReportDelivery::TReportDelivery() {
    Zipper.OnRequestBlankDisk = [this](TAbZipper& sender, bool& abort) { ZipperRequestBlankDisk(sender, abort); };
    Zipper.OnProcessItemFailure = [this](TAbZipper& sender, const std::string& item, TZipProcessType type,
                                         TZipErrorClass errorClass, int code) {
        ZipperProcessItemFailure(sender, item, type, errorClass, code);
    };
    dlgSave.Filter = "ZIP-bestand (*.zip)|*.ZIP";
    dlgSave.DefaultExt = "zip";
}

bool TReportDelivery::PrintReportDialog(THelpdeskReport& report) {
    if (!dlgPrint.Execute()) return false;
    try {
        if (OnSaveAll) OnSaveAll();
        THourglass hourglass;
        return PrintReport(report, dlgPrint.Copies);
    } catch (const EBrantel&) {
        ShowWarning("Er is een fout opgetreden bij het printen van het Helpdeskrapport.");
        return false;
    }
}

bool TReportDelivery::SaveReportZip(THelpdeskReport& report) {
    dlgSave.InitialDir = "A:\\";
    dlgSave.FileName = "Case.zip";
    if (!dlgSave.Execute()) {
        ShowInformation(NotSaved);
        return false;
    }
    bool saved;
    {
        THourglass hourglass;
        if (OnSaveAll) OnSaveAll();
        saved = ZipReportFolder(dlgSave.FileName, report.Folder());
    }
    ShowInformation(saved ? "Het Helpdeskrapport is opgeslagen voor verzending." : NotSaved);
    return saved;
}

bool TReportDelivery::ZipReportFolder(const std::string& archivePath, const std::string& folder) {
    ZipFailureCode = 0;
    if (FileExists(archivePath) && !FileDelete(archivePath)) {
        ShowWarning("Bestand kon niet worden overschreven.");
        return false;
    }
    try {
        Zipper.SetFileName(archivePath);
        Zipper.BaseDirectory = folder;
        Zipper.AddFiles("*.*", faAnyFile);
        Zipper.Save();
        Zipper.SetFileName({});
    } catch (const EBrantel&) {
        Zipper.SetFileName({});
        if (ZipFailureCode != ZipDiskDeclined) ShowWarning("Er is een fout opgetreden bij het maken van het ZIP-bestand.");
        return false;
    }
    return ZipFailureCode == 0;
}

void TReportDelivery::ZipperRequestBlankDisk(TAbZipper& sender, bool& abort) {
    abort = true;
    ZipFailureCode = ZipDiskDeclined;
    const std::string& path = sender.FileName();
    const std::string drive = DriveOf(path);
    const std::string reason = DiskProblemText(sender.DiskRequest(), drive);
    const std::string prompt = Format("Plaats een lege diskette in drive %s", {drive});
    if (ShowMessageBox(reason.empty() ? prompt : reason + "\r" + prompt,
                       reason.empty() ? TMsgKind::Information : TMsgKind::Warning, TMsgButtons::OKCancel) != IDOK)
        return;
    // A disk of this very archive holds nothing to overwrite: the archive writer asks for another.
    if (FileExists(path) && !sender.InsertedDiskHoldsPart() &&
        ShowMessageBox(path + "\r" + "Dit bestand bestaat al." + "\r" + "Overschrijven?", TMsgKind::Warning,
                       TMsgButtons::YesNo) != IDYES)
        return;
    ZipFailureCode = 0;
    abort = false;
}

void TReportDelivery::ZipperProcessItemFailure(TAbZipper&, const std::string&, TZipProcessType, TZipErrorClass,
                                               int errorCode) {
    // A code of 0 must still count as a failure.
    ZipFailureCode = errorCode != 0 ? errorCode : -1;
}

bool TReportDelivery::EmailReport(THelpdeskReport& report, const TUser& user) {
    const std::string email = user.Email().AsString();
    // The helpdesk answers at this address, and the mail server refuses a mail without a valid one:
    // the user mends it before anything is zipped.
    if (!IsValidEmailAddress(email)) {
        const char* const needed = "De Brantel Helpdesk heeft uw e-mailadres nodig om met u te communiceren.";
        ShowWarning(email.empty() ? std::string("U heeft geen e-mailadres opgegeven. ") + needed
                                  : Format("Het e-mailadres '%s' is ongeldig. %s", {email, needed}));
        if (OnEmailAddressDoubted) OnEmailAddressDoubted();
        return false;
    }
    if (ShowMessageBox(Format("LET OP : u staat op het punt een helpdeskrapport via e-mail te versturen. De Brantel "
                              "Helpdesk zal het door u opgegeven e-mailadres gebruiken om met u te communiceren.Weet "
                              "u zeker dat het door u opgegeven e-mailadres '%s' correct is?",
                              {email}),
                       TMsgKind::Question, TMsgButtons::YesNo) != IDYES) {
        if (OnEmailAddressDoubted) OnEmailAddressDoubted();
        return false;
    }
    if (OnSaveAll) OnSaveAll();
    return MailReport(report, email, user);
}

bool TReportDelivery::MailReport(THelpdeskReport& report, const std::string& sender, const TUser& user) {
    std::string detail;
    const bool sent = SendArchive(report, sender, user, detail);
    // The user has been told the outcome; a report whose file cannot take the mark is merely left
    // out of the outbox.
    Attempt([&] { report.WriteDispatch(sent ? TDispatchState::Sent : TDispatchState::Unsent, detail); });
    return sent;
}

bool TReportDelivery::SendArchive(THelpdeskReport& report, const std::string& sender, const TUser& user,
                                  std::string& detail) {
    const std::string server = user.Mailserver().AsString();
    if (server.empty()) {
        ShowMessageBox(NoMailServer, TMsgKind::Warning, TMsgButtons::OK);
        detail = NoMailServer;
        return false;
    }
    THourglass hourglass;
    const std::string folder = GetTempFolder();
    // The archive holds the user's personal data: it is gone when this ends, however it ends.
    std::optional<TTemporaryFile> archive;
    if (!folder.empty()) {
        archive.emplace(folder + "CASE.ZIP");
        FileDelete(archive->Path());
    }
    if (!archive || !ZipReportFolder(archive->Path(), report.Folder())) {
        ShowWarning("Het Helpdeskrapport is niet verzonden omdat het ZIP-bestand niet gemaakt kon worden.");
        detail = "Het ZIP-bestand kon niet worden gemaakt.";
        return false;
    }
    const uint64_t size = FileSize(archive->Path()).value_or(0);
    if (size > MaxEmailArchiveSize) {
        const std::string tooLarge =
            Format("Het Helpdeskrapport is te groot om per e-mail te versturen: het ZIP-bestand is %.1f MB, "
                   "de helpdesk neemt per e-mail ten hoogste %.1f MB aan.",
                   {MegaBytes(size), MegaBytes(MaxEmailArchiveSize)});
        ShowWarning(tooLarge + "\r" + "Verwijder grote bijlagen of sla het rapport op als ZIP-bestand.");
        detail = tooLarge;
        return false;
    }
    TMailOutcome outcome;
    const bool sent = SendMail(sender, {HelpdeskRecipient(report)}, user.CustomerNumber(), {archive->Path()},
                               MailServerOf(user), {}, MailProviders(), &outcome);
    detail = sent ? outcome.FinalReply : MailFailureText(outcome, server);
    ShowInformation(sent ? "Het helpdeskrapport is verzonden."
                         : WithReason("Het verzenden van het helpdeskrapport is niet gelukt.", detail) + "\r\r" +
                               KeptInOutbox);
    return sent;
}

void RegisterReportDelivery() {
    SetReportPrinter(PrintReport);
    SetProblemSolverDelivery([](TfrmProblemSolver& form) { return std::make_unique<TProblemSolverDelivery>(form); });
}

bool PrintReport(THelpdeskReport& report, int copies) {
    std::vector<std::string> lines = report.ReportText().Lines();
    if (lines.empty()) {
        ShowWarning(std::string("Het Helpdeskrapport is niet gevonden.") + "\r" +
                    "Sluit de Probleemoplosser en maak een nieuw rapport aan.");
        return false;
    }
    return PrintRtfLines(lines, copies);
}

bool PrintRtfLines(const std::vector<std::string>& lines, int copies) {
    try {
        TTemporaryFile file(TemporaryPath("PRINT.RTF"));
        const std::string bytes = RtfFileBytes(lines);
        WriteFileBytes(file.Path(), bytes);
        // The control lives on the main window; without one (a test) on a hidden window of its own.
        std::unique_ptr<TForm> host;
        TControl* parent = Application().MainForm();
        if (!parent) parent = (host = std::make_unique<TForm>()).get();
        TRichEdit edit(parent);
        edit.SetBounds(0, 0, 0, 0);
        edit.LoadFromFile(file.Path());
        RECT margins = GetPrintMargins();
        TPrinter printer;
        for (int copy = 0; copy < copies; ++copy) {
            if (margins.right > margins.left && margins.bottom > margins.top)
                edit.Print(printer, {}, PixelsToTwips(margins, printer));
            else
                edit.Print(printer, {});
        }
        ShowInformation("Bezig met afdrukken.");
        return true;
    } catch (const EBrantel&) {
        ShowWarning("Er is een fout opgetreden bij het afdrukken.");
        return false;
    }
}

RECT GetPrintMargins() {
    try {
        TPrinter printer;
        HDC dc = printer.DC();
        int ppiX = GetDeviceCaps(dc, LOGPIXELSX), ppiY = GetDeviceCaps(dc, LOGPIXELSY);
        int width = GetDeviceCaps(dc, HORZRES), height = GetDeviceCaps(dc, VERTRES);
        int physicalWidth = GetDeviceCaps(dc, PHYSICALWIDTH), physicalHeight = GetDeviceCaps(dc, PHYSICALHEIGHT);
        int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX), offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
        if (ppiX <= 0 || ppiY <= 0 || width <= 0 || height <= 0 || physicalWidth <= 0 || physicalHeight <= 0)
            return {};
        return {std::max(ppiX / 2, offsetX), std::max(ppiY / 2, offsetY), width - (physicalWidth - width),
                height - (physicalHeight - height)};
    } catch (const EBrantel&) {
        return {};
    }
}
