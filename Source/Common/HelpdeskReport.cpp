#include "Source/Common/HelpdeskReport.h"

#include <algorithm>

#include "Source/Common/ReportFolders.h"
#include "Source/Common/ServiceItems.h"
#include "Source/Common/User.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/gui/Messages.h"

namespace {
const char* const kCaseRtf = "CASE.RTF";
const char* const kCaseIni = "CASE.INI";

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\r\n";
    return all;
}

void WriteList(TIniFile& ini, const std::string& section, const std::string& prefix,
               const std::vector<std::string>& values) {
    for (size_t i = 0; i < values.size(); ++i) ini.WriteString(section, prefix + std::to_string(i), values[i]);
}

std::vector<std::string> ReadList(const TIniFile& ini, const std::string& section) {
    std::vector<std::string> values;
    for (const std::string& key : ini.ReadSection(section)) values.push_back(ini.ReadString(section, key, ""));
    return values;
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
    CreationDate = ini.ReadString("Case", "Aanmaakdatum", "");
    Goal = ini.ReadString("Case", "Bedoeling", "");
    ActionLines = ReadList(ini, "Handelingen");
    ProblemLines = ReadList(ini, "Probleem");
    ErrorMessage = ini.ReadString("Case", "Foutmelding", "");
    for (const std::string& identifier : ReadList(ini, "Techinfos")) AddTechInfo(identifier);
}

void THelpdeskReport::WriteCaseIni(const TUser& user) {
    TIniFile ini(CaseIniPath());
    const char* relatie = "Relatie";
    ini.WriteString(relatie, "Achternaam", user.LastName().AsString());
    ini.WriteString(relatie, "Voorletters", user.Initials().AsString());
    ini.WriteString(relatie, "Tussenvoegsel(s)", user.Prefix().AsString());
    ini.WriteString(relatie, "Straat", user.Street().AsString());
    ini.WriteString(relatie, "Huisnummer", user.HouseNumber().AsString());
    ini.WriteString(relatie, "Postcode", user.ZipCode().AsString());
    ini.WriteString(relatie, "Plaats", user.City().AsString());
    ini.WriteString(relatie, "Land", user.Country().AsString());
    ini.WriteString(relatie, "Bedrijf", user.Organization().AsString());
    ini.WriteString(relatie, "E-mail", user.Email().AsString());
    std::string tel;
    if (!user.Tel().IsNull())
        tel = user.Tel().AsString() + " " +
              Format("Bereikbaar van %s tot en met %s uur", {user.ReachableFrom().AsString(), user.ReachableUntil().AsString()});
    ini.WriteString(relatie, "Telefoon", tel);
    std::string fax = user.Fax().AsString();
    if (!user.CallBeforeFax().IsNull() && user.CallBeforeFax().AsBoolean())
        fax += " Bellen alvorens naar dit nummer te faxen";
    ini.WriteString(relatie, "Fax", fax);

    ini.WriteString("Case", "Produktversie", ServiceItem ? ServiceItem->DisplayText() : std::string());
    ini.WriteString("Case", "Bedoeling", Goal);
    ini.WriteString("Case", "Handelingen", JoinLines(ActionLines));
    ini.WriteString("Case", "Probleem", JoinLines(ProblemLines));
    ini.WriteString("Case", "Foutmelding", ErrorMessage);
    if (IsFresh) ini.WriteString("Case", "Aanmaakdatum", CreationDate);

    ini.EraseSection("Handelingen");
    ini.EraseSection("Probleem");
    ini.EraseSection("Techinfos");
    WriteList(ini, "Handelingen", "Line", ActionLines);
    WriteList(ini, "Probleem", "Line", ProblemLines);
    std::vector<std::string> identifiers;
    for (const TTechInfo* t : TechInfos) identifiers.push_back(t->Identifier());
    WriteList(ini, "Techinfos", "TI", identifiers);
    ini.UpdateFile();
}

void THelpdeskReport::ScanAttachments(const std::string& folder) {
    Attachments.clear();
    for (const TSearchRec& r : FindFiles(folder + "*.*", faReadOnly | faArchive)) {
        const std::string upper = UpperCase(r.Name);
        if (upper != kCaseRtf && upper != kCaseIni) Attachments.push_back(folder + r.Name);
    }
}

void THelpdeskReport::AddTechInfo(const std::string& identifier) {
    FindCollector(GetGeneralServiceItem().Collectors(), identifier, TechInfos);
}

void THelpdeskReport::UpdateAttachments(const std::vector<std::string>& previous) {
    auto listed = [this](const std::string& path) {
        return std::any_of(Attachments.begin(), Attachments.end(),
                           [&](const std::string& a) { return SameText(a, path); });
    };
    for (const std::string& path : previous) {
        if (listed(path) || !FileExists(path)) continue;
        if (!FileDelete(path)) ShowWarning(Format("Bijlage %s kon niet worden verwijderd.", {path}));
    }

    bool warnedAboutSpace = false;
    for (size_t i = 0; i < Attachments.size();) {
        const std::string entry = Attachments[i];
        const std::string target = Folder() + "\\" + ExtractFileName(entry);
        if (SameText(entry, target)) {
            ++i;
            continue;
        }
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
    std::string bytes;
    for (const std::string& line : ReportText().Lines()) bytes += Utf8ToAnsi(line) + "\r\n";
    const std::string target = CaseRtfPath();
    const std::string temp = target + ".tmp";
    WriteFileBytes(temp, bytes);
    if (!ReplaceFileAtomically(temp, target)) {
        FileDelete(temp);
        throw EBrantel("THelpdeskReport", "SaveReportText", "Kan " + target + " niet vervangen");
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
