#pragma once
// One helpdesk report: a folder Reports\<application>\ReportNN below the program's folder holding
// CASE.RTF (the report text), CASE.INI (the same data for the helpdesk's tools) and the attached
// files. Creating the object reads what the folder holds and never writes; CASE.RTF is written when
// the text is composed or saved, CASE.INI by WriteCaseIni, attachments by UpdateAttachments.
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"
#include "lib/AppObj.h"
#include "lib/PropString.h"

class TServiceItem;
class TUser;

// Whether the report went to the helpdesk by e-mail, as its CASE.INI keeps it in the section
// "Verzending" (a reader that does not know the section passes it by): nothing yet, sent with the
// server's answer to the message, or not sent with the reason. An unsent report waits in the
// outbox until the user sends it again.
enum class TDispatchState { None, Sent, Unsent };
struct TReportDispatch {
    TDispatchState State = TDispatchState::None;
    std::string Time;    // the user's short date and long time
    std::string Detail;  // sent: the server's reply to the final dot; not sent: why
};
// The dispatch of the report in `folder` (full path, without trailing backslash).
TReportDispatch ReadReportDispatch(const std::string& folder);

class THelpdeskReportDesc : public TAppObjDesc {
public:
    explicit THelpdeskReportDesc(TAppModel& model);
    void DefineSortOrders() override;

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override;
    void DescribeProps(TAppObj& prototype) override;
};

class THelpdeskReport : public TAppObj {
public:
    enum TField { fNaam, fReportText };

    // folder is relative to the program's folder ("Reports\Kasboek\Report03"). The item is the
    // application the report is about, kept alive as long as the report lives (null for the
    // descriptor's prototype).
    THelpdeskReport(const std::string& folder, std::shared_ptr<TServiceItem> serviceItem);
    ~THelpdeskReport() override;

    // The report folder's full path without trailing backslash.
    TStringProp& Naam() const { return FieldAs<TStringProp>(fNaam); }
    // The path of CASE.RTF, with the lines of the report text.
    TMemoFileRefProp& ReportText() const { return FieldAs<TMemoFileRefProp>(fReportText); }
    std::string Folder() const { return Naam().AsString(); }

    std::string CreationDate;  // short date, as stored under "Aanmaakdatum"
    std::shared_ptr<TServiceItem> ServiceItem;
    std::vector<std::string> Attachments;  // full paths
    bool IsFresh = false;
    std::vector<std::string> ProblemLines;
    std::string Goal;
    std::vector<std::string> ActionLines;
    std::string ErrorMessage;
    TTechInfoRefs TechInfos;  // the general item's collectors, never owned here

    // The customer the report is about, as its "Relatie" in CASE.INI holds it: read by ReadCustomer,
    // taken over from the user record when the report is composed. Empty until either happened.
    TUser& Customer() const { return *FCustomer; }
    // Reads the customer from CASE.INI; false (and the customer left as it was) when the file has
    // no customer data.
    bool ReadCustomer();

    void LoadReport(const std::string& rtfPath);
    void ReadCaseIni();
    // Writes CASE.INI with `user` as the customer. The file is written beside the old one and takes
    // its place in one step: a failure (a full disk, a read-only file) leaves the old file whole.
    void WriteCaseIni(const TUser& user);
    // Saves the report as it is held: CASE.RTF and CASE.INI (with Customer). CASE.INI is prepared
    // first, so that a failure of either leaves both files as they were. Throws EBrantel.
    void SaveReport();
    void ScanAttachments(const std::string& folder);  // folder ends with a backslash
    void AddTechInfo(const std::string& identifier);
    void ClearTechInfos() { TechInfos.clear(); }
    // Why the file at `path` cannot join the attachments `listed` before it, as a Dutch sentence
    // for the user; empty when it can. A file from elsewhere may not carry the name of one of the
    // report's own files (CASE.INI, CASE.RTF, CASE.ZIP), and no two attachments may share a file
    // name, compared without regard to case (Windows would make them one file).
    std::string AttachmentRefusal(const std::string& path, const std::vector<std::string>& listed) const;
    // Brings the folder in line with Attachments after the user edited the list; previous is the
    // list as it was before. Dropped files are deleted from the report folder (never elsewhere);
    // files from elsewhere are copied in. An entry that AttachmentRefusal refuses is taken off the
    // list with that sentence as a warning; an entry that cannot be copied is taken off with the
    // warning "Bijlage %s kon niet worden gekopieerd." and leaves no partial file.
    void UpdateAttachments(const std::vector<std::string>& previous);
    // Writes the held report text to CASE.RTF (Windows-1252, CR LF after every line), replacing the
    // old file in one step so that a failure or crash leaves the old or the new text, never half of
    // one, and no temporary file.
    void SaveReportText();
    bool DeleteReportFolder();
    TReportDispatch Dispatch() const { return ReadReportDispatch(Folder()); }
    // Records now as the time of sending with its outcome; written like CASE.INI itself, whole or
    // not at all, and leaving the rest of the file as it was. Throws EBrantel.
    void WriteDispatch(TDispatchState state, const std::string& detail);

    std::string CaseIniPath() const { return Folder() + "\\CASE.INI"; }
    std::string CaseRtfPath() const { return Folder() + "\\CASE.RTF"; }

private:
    friend class THelpdeskReportDesc;
    bool IsInFolder(const std::string& path) const;
    void WriteCaseIniTo(const std::string& path, const TUser& user) const;
    std::unique_ptr<TUser> FCustomer;
    struct TPrototype {};
    explicit THelpdeskReport(TPrototype);
};

// Copies what a report holds of its customer (the user record's fields that "Relatie" in CASE.INI
// names) from one record to another; the user's other settings stay.
void CopyCustomer(const TUser& from, TUser& to);

// The stored reports of an application: one object per "Report*" entry of its report folder, in the
// order the file system returns them; a report that cannot be opened is left out.
std::vector<std::unique_ptr<THelpdeskReport>> ListStoredReports(const std::shared_ptr<TServiceItem>& application);
