#pragma once
// Technical information: the collectors that describe one area of the PC each for the helpdesk
// report's chapter "Technische Informatie", and what they share.
//
// A collector works in two steps. CollectInfo queries the system and keeps the results in the
// collector's own fields (GatherInfo); GetInfoText turns those fields into report lines
// (BuildInfoText). Lines are RTF fragments in a small fixed set of shapes, built with the helpers
// below, which the report composer joins with line breaks:
//   labelled value   \par Label:\tab value       LabelledLine("%s Label:%s %d", value)
//   continuation     \par \tab value             ContinuationLine(value)
//   label only       \par Label:                 LabelOnlyLine("%s Label:")
//   bare text        value                       TextLine(value), after a line RtfPar
//   verbatim text    \par <text>                 VerbatimLine(text)
//   bold sub-heading three lines                 AddSubHeading(lines, heading)
//   end of a verbatim block  \par                RtfPar
// The helpers escape every text value they are given (RtfEscape), so that whatever a PC holds (a
// network printer "\\server\Laser {kantoor}", a device alias "}{\b x") reaches the helpdesk as
// it is and cannot end the document: a collector builds its lines with them and never writes a
// value into a line itself. %f shows two decimals with the user's separator.
//
// The collectors belong to the general service item (ServiceItems.h), which creates one of each kind
// in the order of TechInfoCategories (CreateAllCollectors); everything else holds references into
// that list and finds them by identifier (FindCollector). A new collector class takes its place by
// filling in the factory of its row: MakeCollector<TMemoryInfo>.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "Source/Common/TechInfo/CPUID.h"
#include "core/Format.h"
#include "lib/BranObject.h"
#include "platform/Files.h"  // GetWindowsFolder, GetSystemFolder

using TStringList = std::vector<std::string>;

struct TTechInfoCategory;

// Where a collector finds an application's log files (a service item, as a rule).
class ILogFileSource {
public:
    virtual std::string InstallLogFile() const = 0;
    virtual std::string ProgramLogFile() const = 0;

protected:
    ~ILogFileSource() = default;
};

class TTechInfo : public TBranObject {
public:
    // The identifier must be one of TechInfoCategories; caption and image index come from there.
    explicit TTechInfo(std::string_view identifier);

    // Refreshes the collector's findings; the log files come from the item's "InstallLog" and
    // "ProgramLog" values (none for no item). If gathering fails, Collected stays false and the
    // exception passes on. May be called again at any time.
    void CollectInfo(const ILogFileSource* item);
    // The report lines of the last collection, freshly rebuilt. Before any CollectInfo this is a
    // programming error (EBranAssertion).
    const TStringList& GetInfoText();

    int ImageIndex() const { return FImageIndex; }
    const std::string& Identifier() const { return FIdentifier; }
    const std::string& Caption() const { return FCaption; }
    // The concrete collector's class name as listed in the category table.
    const std::string& ClassName() const { return FClassName; }
    bool Collected() const { return FCollected; }
    // Whether gathering asks what only the thread of the program's windows knows (its active window);
    // the others may gather on any thread, each instance on one thread at a time.
    virtual bool GathersOnWindowThread() const { return false; }
    const std::string& LogFolder() const { return FLogFolder; }  // with trailing backslash
    const std::string& InstallLogFile() const { return FInstallLogFile; }
    const std::string& ProgramLogFile() const { return FProgramLogFile; }

protected:
    // Queries the system and stores the results in the collector's fields.
    virtual void GatherInfo() = 0;
    // Clears Lines, appends the lines built from the stored fields and returns Lines.
    virtual const TStringList& BuildInfoText() = 0;

    TStringList Lines;

private:
    explicit TTechInfo(const TTechInfoCategory& category);
    void CollectInfo(const std::string& installLog, const std::string& programLog);

    int FImageIndex;
    std::string FIdentifier, FCaption, FClassName;
    bool FCollected = false;
    std::string FLogFolder, FInstallLogFile, FProgramLogFile;
};

using TTechInfoList = std::vector<std::unique_ptr<TTechInfo>>;  // owning: the general item's
using TTechInfoRefs = std::vector<TTechInfo*>;                   // references into that list

using TCollectorFactory = std::unique_ptr<TTechInfo> (*)();
template <class TCollector>
std::unique_ptr<TTechInfo> MakeCollector() {
    return std::make_unique<TCollector>();
}

struct TTechInfoCategory {
    const char* Identifier;
    const char* Caption;
    int ImageIndex;
    const char* ClassName;
    TCollectorFactory Create;  // MakeCollector<ClassName>, or null while that collector is not built
};

// Every category, in the order of the general item's list and the problem solver's check list.
extern const std::array<TTechInfoCategory, 13> TechInfoCategories;

// The row of an identifier (compared without regard to case), or nullptr.
const TTechInfoCategory* FindTechInfoCategory(std::string_view identifier);

// One collector of every kind that has a factory, in category order.
TTechInfoList CreateAllCollectors();

// Appends to `found` every collector of `collectors` (the general item's, as a rule) whose identifier
// equals `identifier` without regard to case. An unknown identifier ("CPUandBIOS", "InstallLog") adds
// nothing.
void FindCollector(const TTechInfoList& collectors, std::string_view identifier, TTechInfoRefs& found);

// --- Report line markup ---
inline constexpr const char* RtfPar = "\\par";
inline constexpr const char* RtfTab = "\\tab";

// Backslash before every "\", "{" and "}"; a tab becomes \tab and any other control character,
// which RTF readers would drop or stop at, "?".
std::string RtfEscape(std::string_view text);
// The bytes of an RTF file of these lines (CRLF after each): RTF is seven-bit text, so every
// character beyond ASCII is written as \'hh of its Windows-1252 byte, or as \uN? when Windows-1252
// has none; readers other than the rich edit control drop raw 8-bit bytes.
std::string RtfFileBytes(const TStringList& lines);
// The same for one line, appended to `bytes`.
void AppendRtfLineBytes(std::string& bytes, const std::string& line);

// A value for a markup format: text escaped, numbers as they are.
template <typename TValue>
TFormatArg RtfValue(TValue&& value) {
    if constexpr (std::is_convertible_v<TValue&&, std::string_view>)
        return TFormatArg(RtfEscape(std::string_view(value)));
    else
        return TFormatArg(std::forward<TValue>(value));
}

// A format "%s Label:%s <value format>" filled with \par, \tab and the values.
template <typename... TValues>
std::string LabelledLine(std::string_view format, TValues&&... values) {
    return Format(format, {RtfPar, RtfTab, RtfValue(std::forward<TValues>(values))...});
}
// A format "%s Label:" (and any value formats) filled with \par and the values.
template <typename... TValues>
std::string LabelOnlyLine(std::string_view format, TValues&&... values) {
    return Format(format, {RtfPar, RtfValue(std::forward<TValues>(values))...});
}
// A further value under the previous label.
std::string ContinuationLine(std::string_view value);
// A value as a line of its own (a list entry after a line RtfPar).
std::string TextLine(std::string_view value);
// "\par " and the text.
std::string VerbatimLine(std::string_view text);
void AddSubHeading(TStringList& lines, std::string_view heading);

// --- Shared routines ---
// The PATH environment variable, at most 260 characters.
std::string GetSearchPath();
std::string YesNoText(bool flag);

enum class TSpaceUnit { Bytes = 0, Kb = 1, Mb = 2 };
extern const std::array<double, 3> SpaceUnitDivisors;
// " Bytes", " Kb" or " Mb"; any other value is a programming error.
std::string GetSpaceUnitString(TSpaceUnit unit);
// A size in bytes as whole megabytes, "%d Mb", rounded once to the nearest (a half up).
std::string WholeMegabytesText(double bytes);

// "major.minor(2 digits).build servicepack", e.g. "4.10.2222 A"; empty when the query fails.
std::string GetWindowsVersionNumber();
// "Windows NT" on the NT family; otherwise the registry's product name ("Error" without the key).
std::string GetWindowsProductName();
std::string GetWindowsVersionText();

// Exactly three entries: processor description, speed ("467 Mhz." or empty), vendor.
void GetProcessorInfo(TStringList& list, TProcessorAccess& machine = MachineProcessor());
// One entry "model (port)" per installed modem, from the Windows 9x modem class or, where that is
// absent, the NT family's.
void GetModems(TStringList& list);
// The NT family numbers the drivers of a device class "0000", "0001", ...; its other subkeys hold
// settings.
bool IsDriverKeyName(std::string_view name);
// The files of `folder` matching `mask`, with "  Size: %d bytes" and summed into totalSize when
// withSizes. The current directory stays as it was. Any failure empties the list.
void ListFiles(const std::string& folder, const std::string& mask, bool withSizes, TStringList& list,
               int64_t& totalSize);
