#include "Source/Common/Helpdesk/HelpdeskReport.h"

#include <algorithm>

#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/ReportFolders.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "core/DateTime.h"
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

// The user's texts are read back by the profile functions, which drop blanks and quotes around a
// value: such a value is written in quotes, which they take off again.
std::vector<std::string> NumberedLines(const std::string& prefix, const std::vector<std::string>& values) {
    std::vector<std::string> lines;
    for (size_t i = 0; i < values.size(); ++i) lines.push_back(prefix + std::to_string(i) + "=" + QuotedProfileValue(values[i]));
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
        if (equals != std::string::npos && SameText(Trim(it->substr(0, equals)), key))
            return UnquotedProfileValue(std::string_view(*it).substr(equals + 1));
    }
    return {};
}

// CASE.INI is written on a copy beside it that takes its place in one step, so that a failure part-way
// (a full disk, a read-only file) leaves the old file whole. The copy starts as the old file, so that
// sections and keys this program does not write stay as they were.
class TIniDraft {
public:
    explicit TIniDraft(std::string path) : FPath(std::move(path)), FDraft(TemporaryFileName(FPath)) {
        FileDelete(FDraft);
        try {
            if (auto found = FindFirstMatch(FPath, faAnyFile)) {
                if (found->Attr & (faDirectory | faReadOnly)) throw EBrantel("Kan het bestand '" + FPath + "' niet vervangen");
                WriteFileBytes(FDraft, ReadFileBytes(FPath));
            }
        } catch (const EBrantel&) {
            FileDelete(FDraft);
            throw;
        }
    }
    ~TIniDraft() {
        if (!FCommitted) FileDelete(FDraft);
    }
    TIniDraft(const TIniDraft&) = delete;
    TIniDraft& operator=(const TIniDraft&) = delete;
    const std::string& Path() const { return FDraft; }
    void Commit() {
        if (!ReplaceFileAtomically(FDraft, FPath)) throw EBrantel("Kan het bestand '" + FPath + "' niet vervangen");
        FCommitted = true;
    }

private:
    const std::string FPath, FDraft;
    bool FCommitted = false;
};

// A list section: its numbered keys, or no section at all when the list is empty.
void WriteList(TIniFile& ini, const std::string& section, const std::string& prefix, const std::vector<std::string>& values) {
    if (values.empty())
        ini.EraseSection(section);
    else
        ini.WriteSection(section, NumberedLines(prefix, values));
}

// The "Relatie" keys that each hold one property of the customer, in the order they are written;
// "Telefoon" and "Fax" follow them, each composed of more than one property.
struct TCustomerKey {
    const char* Key;
    TStringProp& (TUser::*Prop)() const;
};
const TCustomerKey kCustomerKeys[] = {
    {"Achternaam", &TUser::LastName}, {"Voorletters", &TUser::Initials}, {"Tussenvoegsel(s)", &TUser::Prefix},
    {"Straat", &TUser::Street},       {"Huisnummer", &TUser::HouseNumber}, {"Postcode", &TUser::ZipCode},
    {"Plaats", &TUser::City},         {"Land", &TUser::Country},           {"Bedrijf", &TUser::Organization},
    {"E-mail", &TUser::Email},
};
const char* const kReachable = "Bereikbaar van %s tot en met %s uur";
const char* const kCallBeforeFax = "Bellen alvorens naar dit nummer te faxen";

std::string TelephoneText(const TUser& user) {
    if (user.Tel().IsNull()) return {};
    return user.Tel().AsString() + " " +
           Format(kReachable, {user.ReachableFrom().AsString(), user.ReachableUntil().AsString()});
}

std::string FaxText(const TUser& user) {
    std::string fax = user.Fax().AsString();
    if (!user.CallBeforeFax().IsNull() && user.CallBeforeFax().AsBoolean()) fax += std::string(" ") + kCallBeforeFax;
    return fax;
}

// A value read back into a property; a text the property cannot hold leaves it as it was.
void SetText(TAppProp& prop, const std::string& text) {
    if (text.empty()) {
        prop.Clear();
        if (prop.Desc().IsRequired()) prop.ClearToEmpty();
        return;
    }
    try {
        prop.SetAsString(text);
    } catch (const EBranValidate&) {
    }
}

// "Telefoon" back into its parts: the number, then "Bereikbaar van <from> tot en met <until> uur".
void ReadTelephone(const std::string& text, TUser& user) {
    const std::string reachable = "Bereikbaar van ", upTo = " tot en met ", hours = " uur";
    const size_t at = text.rfind(reachable);
    if (at == std::string::npos || text.size() < at + reachable.size() + hours.size() ||
        text.compare(text.size() - hours.size(), hours.size(), hours) != 0) {
        SetText(user.Tel(), text);
        return;
    }
    const std::string times = text.substr(at + reachable.size(), text.size() - hours.size() - at - reachable.size());
    const size_t split = times.rfind(upTo);
    SetText(user.Tel(), Trim(text.substr(0, at)));
    SetText(user.ReachableFrom(), split == std::string::npos ? times : times.substr(0, split));
    SetText(user.ReachableUntil(), split == std::string::npos ? std::string() : times.substr(split + upTo.size()));
}

void ReadFax(const std::string& text, TUser& user) {
    const std::string call = kCallBeforeFax;
    const bool callFirst = text.size() >= call.size() && text.compare(text.size() - call.size(), call.size(), call) == 0;
    SetText(user.Fax(), Trim(callFirst ? text.substr(0, text.size() - call.size()) : text));
    user.CallBeforeFax().SetAsVariant(callFirst);
}

const char* const kDispatch = "Verzending";
const char* const kSentText = "Verzonden";
const char* const kUnsentText = "Niet verzonden";

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
    : TAppObj("THelpdeskReport"), ServiceItem(std::move(serviceItem)), FCustomer(std::make_unique<TUser>()) {
    Naam().SetAsString(ExcludeTrailingBackslash(GetProgramFolder() + folder));
    IsFresh = !FileExists(CaseRtfPath());
    LoadReport(CaseRtfPath());
}

THelpdeskReport::~THelpdeskReport() = default;

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

bool THelpdeskReport::ReadCustomer() {
    const TIniFilePass ini(CaseIniPath());
    bool any = false;
    for (const char* key : {"Achternaam", "Postcode", "Plaats", "E-mail", "Telefoon", "Bedrijf"})
        any = any || !ini.ReadString("Relatie", key, "").empty();
    if (!any) return false;
    TUser& customer = Customer();
    for (const TCustomerKey& k : kCustomerKeys) SetText((customer.*k.Prop)(), ini.ReadString("Relatie", k.Key, ""));
    ReadTelephone(ini.ReadString("Relatie", "Telefoon", ""), customer);
    ReadFax(ini.ReadString("Relatie", "Fax", ""), customer);
    return true;
}

void THelpdeskReport::WriteCaseIni(const TUser& user) {
    TIniDraft draft(CaseIniPath());
    WriteCaseIniTo(draft.Path(), user);
    draft.Commit();
}

void THelpdeskReport::SaveReport() {
    TIniDraft draft(CaseIniPath());
    WriteCaseIniTo(draft.Path(), Customer());
    SaveReportText();
    draft.Commit();
}

void THelpdeskReport::WriteCaseIniTo(const std::string& path, const TUser& user) const {
    TIniFile ini(path);
    // Every section is written afresh: replacing keys in place would leave the further lines of the
    // old multi-line values behind, and the file would grow with every save.
    std::vector<std::string> customer;
    for (const TCustomerKey& k : kCustomerKeys) customer.push_back(std::string(k.Key) + "=" + (user.*k.Prop)().AsString());
    customer.push_back("Telefoon=" + TelephoneText(user));
    customer.push_back("Fax=" + FaxText(user));
    ini.WriteSection("Relatie", customer);

    std::vector<std::string> caseLines = {
        "Produktversie=" + (ServiceItem ? ServiceItem->DisplayText() : std::string()),
        "Bedoeling=" + QuotedProfileValue(Goal),
        "Handelingen=" + CaseValueLines(ActionLines),
        "Probleem=" + CaseValueLines(ProblemLines),
        "Foutmelding=" + QuotedProfileValue(ErrorMessage),
    };
    // Only a new or newly composed report sets its creation date; a stored one keeps what it has.
    const std::string created = IsFresh ? CreationDate : CaseValueFromEnd(ini, "Aanmaakdatum");
    if (IsFresh || !created.empty()) caseLines.push_back("Aanmaakdatum=" + created);
    ini.WriteSection("Case", caseLines);

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
            // A file that is not in the folder is never zipped or mailed: an entry that cannot be
            // copied is no attachment, and the button must not count it.
            if (Attempt([&] { CopyFileTo(entry, target); })) {
                Attachments[i] = target;
                ++i;
            } else {
                Attachments.erase(Attachments.begin() + static_cast<std::ptrdiff_t>(i));
                ShowWarning(Format("Bijlage %s kon niet worden gekopieerd.", {entry}));
            }
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

void THelpdeskReport::WriteDispatch(TDispatchState state, const std::string& detail) {
    BranAssert(state != TDispatchState::None, "THelpdeskReport.WriteDispatch", "Source\\Common\\Helpdesk");
    const bool sent = state == TDispatchState::Sent;
    // A reply or reason of several lines would end up as lines outside any key.
    std::string line = detail;
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const TDateTime now = Now();
    TIniDraft draft(CaseIniPath());
    TIniFile ini(draft.Path());
    ini.WriteSection(kDispatch, {std::string("Status=") + (sent ? kSentText : kUnsentText),
                                 "Tijd=" + DateToStr(now) + " " + TimeToStr(now),
                                 (sent ? "Antwoord=" : "Reden=") + line});
    ini.UpdateFile();
    draft.Commit();
}

TReportDispatch ReadReportDispatch(const std::string& folder) {
    const TIniFilePass ini(folder + "\\" + kCaseIni);
    const std::string status = ini.ReadString(kDispatch, "Status", "");
    TReportDispatch dispatch;
    if (SameText(status, kSentText)) {
        dispatch.State = TDispatchState::Sent;
        dispatch.Detail = ini.ReadString(kDispatch, "Antwoord", "");
    } else if (SameText(status, kUnsentText)) {
        dispatch.State = TDispatchState::Unsent;
        dispatch.Detail = ini.ReadString(kDispatch, "Reden", "");
    } else {
        return dispatch;
    }
    dispatch.Time = ini.ReadString(kDispatch, "Tijd", "");
    return dispatch;
}

void CopyCustomer(const TUser& from, TUser& to) {
    for (const TCustomerKey& k : kCustomerKeys) (to.*k.Prop)().Assign((from.*k.Prop)());
    for (TStringProp& (TUser::*prop)() const : {&TUser::Tel, &TUser::ReachableFrom, &TUser::ReachableUntil, &TUser::Fax})
        (to.*prop)().Assign((from.*prop)());
    to.CallBeforeFax().Assign(from.CallBeforeFax());
}

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
