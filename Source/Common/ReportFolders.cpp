#include "Source/Common/ReportFolders.h"

#include <cmath>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"

std::string SafeFolderName(const std::string& name) {
    std::string safe;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool forbidden = u < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        safe += forbidden ? '_' : c;
    }
    while (!safe.empty() && (safe.back() == '.' || safe.back() == ' ')) safe.pop_back();
    return safe.empty() ? "_" : safe;
}

std::string ReportBaseFolder(const std::string& applicationName) {
    return "Reports\\" + (applicationName.empty() ? std::string("Unknown") : SafeFolderName(applicationName));
}

std::string PadLeft(long long number, int width, char fill) {
    std::string text = std::to_string(number);
    while (static_cast<int>(text.size()) < width) text.insert(text.begin(), fill);
    return text;
}

std::string NextReportFolder(const std::string& base) {
    const std::string full = GetProgramFolder() + base;
    if (!ForceDirectories(full) || !SetCurrentDir(full))
        throw EBrantel("Kan de map '" + full + "' niet aanmaken");

    std::string name;
    for (int n = 1; n <= 99; ++n) {
        name = "\\Report" + PadLeft(n, 2, '0');
        if (!DirectoryExists(full + name)) return name;
    }
    // All 99 taken: the oldest report makes room.
    const TSearchRec* oldest = nullptr;
    std::vector<TSearchRec> folders = FindFiles(full + "\\*", faDirectory);
    for (const TSearchRec& r : folders)
        if ((r.Attr & faDirectory) && (!oldest || r.Time < oldest->Time)) oldest = &r;
    if (!oldest) return name;
    name = "\\" + oldest->Name;
    DeleteFolderTree(full + name);
    return name;
}

long long FileSizeKB(const std::string& file) {
    auto found = FindFirstMatch(file, faAnyFile);
    if (!found) return -1;
    return static_cast<long long>(std::nearbyint(static_cast<double>(found->Size) / 1024.0));
}

bool HasSpaceFor(const std::string& file) {
    // The free space is asked in 64 bits: with the 32-bit product of clusters and sectors a drive
    // with more than 2 GB free would count as full.
    std::string exe = GetProgramFolder();
    std::string drive = (exe.size() >= 2 && exe[1] == ':') ? exe.substr(0, 1) : "c";
    auto freeBytes = DiskFree(drive + ":\\");
    if (!freeBytes) return false;
    const long long freeKB = static_cast<long long>(std::nearbyint(static_cast<double>(*freeBytes) / 1024.0));
    return FileSizeKB(file) < freeKB;
}

void CopyFileTo(const std::string& source, const std::string& target) {
    if (SameText(source, target)) return;
    WriteFileBytes(target, ReadFileBytes(source));
}

bool DeleteFolderTree(const std::string& folder) {
    bool removed = false;
    const bool finished = Attempt([&] {
        const std::string dir = ExcludeTrailingBackslash(folder);
        // Read-only, hidden and system files go too (a read-only attachment from a CD, a thumbnail
        // cache the shell left behind): otherwise the report could never be deleted.
        for (const TSearchRec& r : FindFiles(dir + "\\*.*", faReadOnly | faHidden | faSysFile | faArchive)) {
            const std::string path = dir + "\\" + r.Name;
            ClearFileAttributes(path);
            if (!FileDelete(path)) return;
        }
        for (const TSearchRec& r : FindFiles(dir + "\\*.*", faDirectory | faHidden | faSysFile))
            if ((r.Attr & faDirectory) && !DeleteFolderTree(dir + "\\" + r.Name)) return;
        // The folder cannot go while it is the current one.
        SetCurrentDir(dir + "\\..");
        removed = RemoveDir(dir);
    });
    return finished && removed;
}
