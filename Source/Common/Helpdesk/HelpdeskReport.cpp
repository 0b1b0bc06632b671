#include "Source/Common/Helpdesk/HelpdeskReport.h"

#include <algorithm>

#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/ReportFolders.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/gui/Messages.h"

namespace {
const char* const kCaseRtf = "CASE.RTF";
const char* const kCaseIni = "CASE.INI";
const char* const kCaseZip = "CASE.ZIP";

// A multi-line "Case" value: its further lines stand in the file as lines of their own. A line that
// reads as a section header ("[" first, a "]" after it) would end "Case" there, taking the keys after
// it out of the section and losing what follows its "]"; it is written as a comment (";" in front).
// The texts themselves are read from their own sections.
std::string CaseValueLines(const std::vector<std::string>& lines) {
    std::string all;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t first = lines[i].find_first_not_of(" \t\v\f\x1a");  // the blanks the parser skips
        const bool header = i > 0 && first != std::string::npos && lines[i][first] == '[' &&
                            lines[i].find(']', first) != std::string::npos;
        all += (header ? ";" : "") + lines[i] + "\r\n";
    }
    return all;
}

std::vector<std::string> NumberedLines(const std::string& prefix, const std::vector<std::string>& values) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < values.size(); ++i) lines.push_back(prefix + std::to_string(i) + "=" + values[i]);
    return lines;
}

std::vector<std::string> ReadList(const TIniFile& ini, const std::string& section) {
    std::vector<std::string> values;
    for (const std::string& key : ini.ReadSection(section)) values.push_back(ini.ReadString(section, key, ""));
    return values;
}

// A "Case" key written after the multi-line values, read from the end of the section: a further line
// of those values may itself read "Foutmelding=...", and the first such line would win a lookup.
std::string CaseValueFromEnd(const TIniFile& ini, const std::string& key) {
    const std::vector<std::string> lines = ini.ReadSectionLines("Case");
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        const size_t equals = it->find('=');
        if (equals != std::string::npos && SameText(Trim(it->substr(0, equals)), key)) return it->substr(equals + 1);
    }
    return {};
}

bool IsReportFileName(const std::string& name) {
    const std::string upper = UpperCase(name);
    return upper == kCaseRtf || upper == kCaseIni || upper == kCaseZip;
}
}  // namespace

// --- descriptor ----------------------------------------------------------------------------------

THelpdeskReportDesc::THelpdeskReportDesc(TAppModel& model)
    : TAppObjDesc(model, "THelpdeskReportDesc", "THelpdeskReport", 1, 0, "HelpdeskReport", "Helpdeskrapport(en)",
                  "Helpdeskrapport") {}

std::unique_ptr<TAppObj> THelpdeskReportDesc::CreatePrototype() const {
    return std::unique_ptr<TAppObj>(new THelpdeskReport(THelpdeskReport::TPrototype{}));
}

void THelpdeskReportDesc::DescribeProps(TAppObj& p) {
    const TVariant none;
    DescribeString(*this, p, THelpdeskReport::fNaam, 200, none, 0x0005, "De naam van het helpdeskrapport.", "Naam",
                   "Naam");
    DescribeMemoFileRef(*this, p, THelpdeskReport::fReportText, 200, none, apfFileContent,
                        "De tekst van het helpdeskrapport.", "ReportText", "ReportText");
}

void THelpdeskReportDesc::DefineSortOrders() { AddSortOrder("Naam", {"Naam"}); }

// --- record --------------------------------------------------------------------------------------

THelpdeskReport::THelpdeskReport(TPrototype) : TAppObj("THelpdeskReport") {}

THelpdeskReport::THelpdeskReport(const std::string& folder, std::shared_ptr<TServiceItem> serviceItem)
    : TAppObj("THelpdeskReport"), ServiceItem(std::move(serviceItem)) {
    Naam().SetAsString(ExcludeTrailingBackslash(GetProgramFolder() + folder));
    IsFresh = !FileExists(CaseRtfPath());
    LoadReport(CaseRtfPath());
}

void THelpdeskReport::LoadReport(const std::string& rtfPath) {
    ReportText().SetAsString(rtfPath);
    LoadFileContents();
    ScanAttachments(ExtractFilePath(rtfPath));
    ReadCaseIni();
}

void THelpdeskReport::ReadCaseIni() {
    TIniFile ini(CaseIniPath());
    ActionLines.clear();
    ProblemLines.clear();
    CreationDate = CaseValueFromEnd(ini, "Aanmaakdatum");
    Goal = ini.ReadString("Case", "Bedoeling", "");
    ActionLines = ReadList(ini, "Handelingen");
    ProblemLines = ReadList(ini, "Probleem");
    ErrorMessage = CaseValueFromEnd(ini, "Foutmelding");
    for (const std::string& identifier : ReadList(ini, "Techinfos")) AddTechInfo(identifier);
}

void THelpdeskReport::WriteCaseIni(const TUser& user) {
    TIniFile ini(CaseIniPath());
    // Every section is written afresh: replacing keys in place would leave the further lines of the
    // old multi-line values behind, and the file would grow with every save.
    std::string tel;
    if (!user.Tel().IsNull())
        tel = user.Tel().AsString() + " " +
              Format("Bereikbaar van %s tot en met %s uur", {user.ReachableFrom().AsString(), user.ReachableUntil().AsString()});
    std::string fax = user.Fax().AsString();
    if (!user.CallBeforeFax().IsNull() && user.CallBeforeFax().AsBoolean())
        fax += " Bellen alvorens naar dit nummer te faxen";
    ini.WriteSection("Relatie", {
        "Achternaam=" + user.LastName().AsString(),
        "Voorletters=" + user.Initials().AsString(),
        "Tussenvoegsel(s)=" + user.Prefix().AsString(),
        "Straat=" + user.Street().AsString(),
        "Huisnummer=" + user.HouseNumber().AsString(),
        "Postcode=" + user.ZipCode().AsString(),
        "Plaats=" + user.City().AsString(),
        "Land=" + user.Country().AsString(),
        "Bedrijf=" + user.Organization().AsString(),
        "E-mail=" + user.Email().AsString(),
        "Telefoon=" + tel,
        "Fax=" + fax,
    });

    std::vector<std::string> caseLines = {
        "Produktversie=" + (ServiceItem ? ServiceItem->DisplayText() : std::string()),
        "Bedoeling=" + Goal,
        "Handelingen=" + CaseValueLines(ActionLines),
        "Probleem=" + CaseValueLines(ProblemLines),
        "Foutmelding=" + ErrorMessage,
    };
    // Only a new or newly composed report sets its creation date; a stored one keeps what it has.
    const std::string created = IsFresh ? CreationDate : CaseValueFromEnd(ini, "Aanmaakdatum");
    if (IsFresh || !created.empty()) caseLines.push_back("Aanmaakdatum=" + created);
    ini.WriteSection("Case", caseLines);

    ini.WriteSection("Handelingen", NumberedLines("Line", ActionLines));
    ini.WriteSection("Probleem", NumberedLines("Line", ProblemLines));
    std::vector<std::string> identifiers;
    for (const TTechInfo* t : TechInfos) identifiers.push_back(t->Identifier());
    ini.WriteSection("Techinfos", NumberedLines("TI", identifiers));
    ini.UpdateFile();
}

void THelpdeskReport::ScanAttachments(const std::string& folder) {
    Attachments.clear();
    for (const TSearchRec& r : FindFiles(folder + "*.*", faReadOnly | faArchive)) {
        const std::string upper = UpperCase(r.Name);
        // A temporary file is what is left of a save or copy that was cut off: no one's attachment.
        if (upper != kCaseRtf && upper != kCaseIni && !IsTemporaryFileName(r.Name)) Attachments.push_back(folder + r.Name);
    }
}

void THelpdeskReport::AddTechInfo(const std::string& identifier) {
    FindCollector(GetGeneralServiceItem().Collectors(), identifier, TechInfos);
}

bool THelpdeskReport::IsInFolder(const std::string& path) const {
    return SameText(ExtractFilePath(path), Folder() + "\\");
}

std::string THelpdeskReport::AttachmentRefusal(const std::string& path, const std::vector<std::string>& listed) const {
    const std::string name = ExtractFileName(path);
    if (!IsInFolder(path) && IsReportFileName(name))
        return Format("Bijlage %s is niet toegevoegd: het helpdeskrapport heeft zelf een bestand met die naam.", {path});
    for (const std::string& other : listed)
        if (SameText(ExtractFileName(other), name))
            return Format("Bijlage %s is niet toegevoegd: er is al een bijlage met de naam %s.",
                          {path, ExtractFileName(other)});
    return {};
}

void THelpdeskReport::UpdateAttachments(const std::vector<std::string>& previous) {
    auto listed = [this](const std::string& path) {
        return std::any_of(Attachments.begin(), Attachments.end(),
                           [&](const std::string& a) { return SameText(a, path); });
    };
    for (const std::string& path : previous) {
        // Only the report's own copies go: a file that never made it into the folder is the user's.
        if (listed(path) || !IsInFolder(path) || !FileExists(path)) continue;
        if (!FileDelete(path)) ShowWarning(Format("Bijlage %s kon niet worden verwijderd.", {path}));
    }

    bool warnedAboutSpace = false;
    for (size_t i = 0; i < Attachments.size();) {
        const std::string entry = Attachments[i];
        const std::vector<std::string> before(Attachments.begin(), Attachments.begin() + static_cast<std::ptrdiff_t>(i));
        const std::string refusal = AttachmentRefusal(entry, before);
        if (!refusal.empty()) {
            Attachments.erase(Attachments.begin() + static_cast<std::ptrdiff_t>(i));
            ShowWarning(refusal);
            continue;
        }
        if (IsInFolder(entry)) {
            ++i;
            continue;
        }
        const std::string target = Folder() + "\\" + ExtractFileName(entry);
        if (HasSpaceFor(entry)) {
            // A failed copy keeps the entry's own path; the user sees it is not in the report folder.
            Attempt([&] {
                CopyFileTo(entry, target);
                Attachments[i] = target;
            });
            ++i;
        } else {
            Attachments.erase(Attachments.begin() + static_cast<std::ptrdiff_t>(i));
            if (!warnedAboutSpace) ShowWarning("Er is niet genoeg vrije schijfruimte om de bijlagen te kopieren.");
            warnedAboutSpace = true;
        }
    }
}

void THelpdeskReport::SaveReportText() {
    const std::string bytes = RtfFileBytes(ReportText().Lines());
    // Replaced in one step, so that a failure leaves the old text whole and no temporary file behind.
    try {
        WriteFileAtomically(CaseRtfPath(), bytes);
    } catch (EBrantel& e) {
        e.AddContext("THelpdeskReport", "SaveReportText");
        throw;
    }
}

bool THelpdeskReport::DeleteReportFolder() { return DeleteFolderTree(Folder()); }

std::vector<std::unique_ptr<THelpdeskReport>> ListStoredReports(const std::shared_ptr<TServiceItem>& application) {
    std::vector<std::unique_ptr<THelpdeskReport>> reports;
    const std::string base = ReportBaseFolder(application->Name().AsString());
    for (const TSearchRec& r : FindFiles(GetProgramFolder() + base + "\\Report*", faAnyFile)) {
        if (!(r.Attr & faDirectory)) continue;  // a stray file named Report... is no report
        // A report that cannot be read is simply not listed.
        Attempt([&] { reports.push_back(std::make_unique<THelpdeskReport>(base + "\\" + r.Name, application)); });
    }
    return reports;
}
