#pragma once
// The helpdesk report's RTF text, built as a list of lines: a fax header for the helpdesk (27
// lines, with boxes for its office use), the customer block, the problem and the chapter
// "Technische Informatie" with one section per chosen collector.
//
// Texts the user typed (the problem, the customer data) and the helpdesk texts of the application
// are escaped for RTF: a path like C:\{Kasboek}\data must reach the helpdesk as it was typed.
#include <span>
#include <string>
#include <vector>

class ILogFileSource;
class THelpdeskReport;
class TTechInfo;
class TUser;

// The number of header lines; the view text leaves them out.
constexpr int ReportHeaderLineCount = 27;

// Builds the whole text and holds it as the report's text, without writing anything; the user
// becomes the report's customer. Every collector of the report gathers its data afresh, one after
// the other on this thread. CreationDate becomes today; IsFresh is true afterwards, also when a step
// failed (the failure passes on).
void ComposeReportText(THelpdeskReport& report, const TUser& user);
// The same with the sections gathered beforehand (TReportComposition): sections[i] holds the lines
// of the report's i-th collector.
void ComposeReportText(THelpdeskReport& report, const TUser& user, const std::vector<std::vector<std::string>>& sections);
// ComposeReportText, then CASE.RTF written.
void ComposeReport(THelpdeskReport& report, const TUser& user);

// The lines of one collector gathered afresh for the item, or a notice in their place when the
// collector fails. Never throws for the collector's sake.
std::vector<std::string> CollectTechInfoLines(TTechInfo& collector, const ILogFileSource* item);
// What stands in a section whose lines could not be gathered, and why.
std::vector<std::string> TechInfoNotice(const std::string& reason);

// The customer block of a user record (also used by the address change).
void AppendCustomerBlock(std::vector<std::string>& lines, const TUser& user);

// Appends the closing "\par }" to a copy of the lines, makes that the report's text and saves it.
void StoreReportText(THelpdeskReport& report, const std::vector<std::string>& lines);

// The text shown in the problem solver: the stored text without its fax header, in 8-point type;
// an empty document when the report has no stored text.
void ComposeViewText(const THelpdeskReport& report, std::vector<std::string>& lines);
// The same text in its two parts, never joined: the view's own first lines, then the report's held
// lines it shows (valid while the report's text is unchanged). A long report is not copied for it.
struct TViewText {
    std::vector<std::string> Preamble;
    std::span<const std::string> Body;
};
TViewText ViewText(const THelpdeskReport& report);
