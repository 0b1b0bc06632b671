#include "Source/Common/Helpdesk/ReportFolders.h"

#include <algorithm>

#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"

std::string ReportBaseFolder(const std::string& applicationName) {
    return "Reports\\" + (applicationName.empty() ? std::string("Unknown") : SafeFolderName(applicationName));
}

std::string PadLeft(long long number, int width, char fill) {
    std::string text = std::to_string(number);
    while (static_cast<int>(text.size()) < width) text.insert(text.begin(), fill);
    return text;
}

namespace {
const int kReportSlots = 99;

// The names this store hands out: "Report" and two digits, 01 to 99. Only these folders take part in
// the rotation; anything else below the application's folder belongs to someone else.
bool IsReportFolderName(const std::string& name) {
    if (name.size() != 8 || !SameText(name.substr(0, 6), "Report")) return false;
    const std::string digits = name.substr(6);
    return digits.find_first_not_of("0123456789") == std::string::npos && digits != "00";
}

// The report folders below full, the least recently written first (the first found wins a tie).
std::vector<TSearchRec> ReportFoldersOldestFirst(const std::string& full) {
    std::vector<TSearchRec> folders;
    for (const TSearchRec& r : FindFiles(full + "\\Report*", faDirectory | faHidden | faSysFile))
        if ((r.Attr & faDirectory) && IsReportFolderName(r.Name)) folders.push_back(r);
    std::stable_sort(folders.begin(), folders.end(),
                     [](const TSearchRec& a, const TSearchRec& b) { return a.Time < b.Time; });
    return folders;
}
}  // namespace

std::string NextReportFolder(const std::string& base) {
    const std::string full = GetProgramFolder() + base;
    if (!ForceDirectories(full) || !SetCurrentDir(full))
        throw EBrantel("Kan de map '" + full + "' niet aanmaken");

    for (int n = 1; n <= kReportSlots; ++n) {
        const std::string name = "\\Report" + PadLeft(n, 2, '0');
        // A file of that name takes the name as much as a folder does.
        if (!DirectoryExists(full + name) && !FileExists(full + name)) return name;
    }
    // All names taken: the oldest report that goes completely makes room. One that cannot be emptied
    // (a file in it is open) is passed over, so that no new report starts among another's files.
    for (const TSearchRec& oldest : ReportFoldersOldestFirst(full))
        if (DeleteFolderTree(full + "\\" + oldest.Name)) return "\\" + oldest.Name;
    throw EBrantel(Format("Er kan geen nieuw helpdeskrapport worden gemaakt: alle %d rapportmappen in '%s' zijn "
                          "bezet en geen ervan kan worden verwijderd.",
                          {kReportSlots, full}));
}

