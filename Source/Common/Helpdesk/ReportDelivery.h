#pragma once
// Delivery of a helpdesk report: printed, saved as a ZIP archive (over several blank disks when it
// does not fit on one) or e-mailed as CASE.ZIP to the application's helpdesk. The problem solver gets
// one TReportDelivery per window (RegisterReportDelivery) and calls its operations from the report
// page and on Finish; the report service and the address change print through PrintReport and
// PrintRtfLines.
//
// Every operation reports its own outcome in a message box and answers whether it succeeded.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "lib/AbZipper.h"
#include "platform/gui/Dialogs.h"

class THelpdeskReport;
class TUser;

class TReportDelivery {
public:
    TReportDelivery();
    TReportDelivery(const TReportDelivery&) = delete;
    TReportDelivery& operator=(const TReportDelivery&) = delete;

    // Saves CASE.RTF and CASE.INI before each delivery (the problem solver's SaveAll).
    std::function<void()> OnSaveAll;
    // The user doubts the e-mail address asked about: the window goes back to the personal data.
    std::function<void()> OnEmailAddressDoubted;

    // Print dialog, then the report in the chosen number of copies.
    bool PrintReportDialog(THelpdeskReport& report);
    // Save dialog (default "Case.zip" on A:\), then the report folder zipped there.
    bool SaveReportZip(THelpdeskReport& report);
    // CASE.ZIP of the report folder, sent from the user's address to the application's helpdesk
    // through the user's mail server, with the customer number as subject; refused, with the sizes,
    // when the archive is larger than MaxEmailArchiveSize.
    bool EmailReport(THelpdeskReport& report, const TUser& user);
    // The sending itself, of the report as it is stored, from `sender` through the user's mail
    // server: what EmailReport does once the address is confirmed and the report saved, and what
    // sending an unsent report again does. Marks the report sent or unsent (with the reason) in
    // every case.
    bool MailReport(THelpdeskReport& report, const std::string& sender, const TUser& user);

    // Zips every file of folder into a new archive at archivePath. False after a failure (already
    // reported, except a declined disk, which the caller's own message covers).
    bool ZipReportFolder(const std::string& archivePath, const std::string& folder);

    // The archive writer's events.
    void ZipperRequestBlankDisk(TAbZipper& sender, bool& abort);
    void ZipperProcessItemFailure(TAbZipper& sender, const std::string& item, TZipProcessType processType,
                                  TZipErrorClass errorClass, int errorCode);

    // The last error code of an archive item, or ZipDiskDeclined; 0: no failure.
    int ZipFailureCode = 0;
    static constexpr int ZipDiskDeclined = 9;

    TAbZipper Zipper;
    TPrintDialog dlgPrint;
    TSaveDialog dlgSave;

private:
    // MailReport without the mark: whether the report went, and the server's final reply or why not.
    bool SendArchive(THelpdeskReport& report, const std::string& sender, const TUser& user, std::string& detail);
};

// The largest CASE.ZIP that goes by e-mail. Base64 makes a message of about 10,050,000 bytes of it,
// within the 10,240,000 bytes that mail servers accept by default; a larger report is refused before
// sending, and the user can still save it as a ZIP archive.
constexpr uint64_t MaxEmailArchiveSize = 7 * 1024 * 1024;

// Makes delivery known to the problem solver and printing to the report service.
void RegisterReportDelivery();

// Prints the report's stored text (CASE.RTF, fax header included) `copies` times. A report without
// text gets the not-found warning and prints nothing.
bool PrintReport(THelpdeskReport& report, int copies);
// Prints RTF lines, one print job per copy; a failure is shown as a warning, never passed on, and
// answered false so that a caller does not count it as printed.
bool PrintRtfLines(const std::vector<std::string>& lines, int copies);
// The page rectangle for the rich-text control, in printer pixels: at least half an inch of margin
// and never inside the unprintable edge. All zero when the printer cannot be asked.
RECT GetPrintMargins();
