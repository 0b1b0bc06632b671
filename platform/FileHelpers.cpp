#include "platform/FileHelpers.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Handles.h"

namespace {
const size_t kMaxFolderNameChars = 64;

// Names Windows keeps for its devices, also when an extension follows ("Con.txt", "aux .boek"): no
// file or folder can carry them.
bool IsDeviceName(const std::string& name) {
    std::string stem = UpperCase(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
        if (stem == device) return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

// Where the first `chars` characters of a UTF-8 text end (the text's size when it has fewer).
size_t Utf8Prefix(const std::string& text, size_t chars) {
    size_t at = 0;
    for (; at < text.size() && chars > 0; --chars) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return at;
}

// A short fingerprint of a name (FNV-1a), so that two long names cut to the same start stay apart.
std::string Fingerprint(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    char hex[9];
    snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(hash));
    return hex;
}

void DropTrailingDotsAndBlanks(std::string& name) {
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
}
}  // namespace

std::string SafeFolderName(const std::string& name) {
    std::string safe;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool forbidden = u < 32 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        safe += forbidden ? '_' : c;
    }
    DropTrailingDotsAndBlanks(safe);
    if (Utf8Prefix(safe, kMaxFolderNameChars) < safe.size()) {
        // Paths below the folder must stay within what Windows can open.
        safe.resize(Utf8Prefix(safe, kMaxFolderNameChars - 9));
        DropTrailingDotsAndBlanks(safe);
        safe += "~" + Fingerprint(name);
    }
    if (safe.empty()) return "_";
    if (IsDeviceName(safe)) safe.insert(std::min(safe.find('.'), safe.size()), "_");
    return safe;
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
    // Under a temporary name until complete: a copy cut off half-way must not pass for the file.
    WriteFileAtomically(target, ReadFileBytes(source));
}

namespace {
// Whether no file below the folder is open elsewhere: each can be opened for deletion without sharing.
bool NothingInUse(const std::string& dir) {
    for (const TSearchRec& r : FindFiles(dir + "\\*.*", faAnyFile)) {
        const std::string path = dir + "\\" + r.Name;
        if (r.Attr & faDirectory) {
            if (!NothingInUse(path)) return false;
            continue;
        }
        const TKernelHandle probe(CreateFileW(Widen(path).c_str(), DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!probe) return false;
    }
    return true;
}

bool DeleteTree(const std::string& dir) {
    bool removed = false;
    const bool finished = Attempt([&] {
        // Read-only, hidden and system files go too (a read-only attachment from a CD, a thumbnail
        // cache the shell left behind): otherwise the report could never be deleted.
        for (const TSearchRec& r : FindFiles(dir + "\\*.*", faReadOnly | faHidden | faSysFile | faArchive)) {
            const std::string path = dir + "\\" + r.Name;
            ClearFileAttributes(path);
            if (!FileDelete(path)) return;
        }
        for (const TSearchRec& r : FindFiles(dir + "\\*.*", faDirectory | faHidden | faSysFile))
            if ((r.Attr & faDirectory) && !DeleteTree(dir + "\\" + r.Name)) return;
        // The folder cannot go while it is the current one.
        SetCurrentDir(dir + "\\..");
        removed = RemoveDir(dir);
    });
    return finished && removed;
}
}  // namespace

bool DeleteFolderTree(const std::string& folder) {
    const std::string dir = ExcludeTrailingBackslash(folder);
    return NothingInUse(dir) && DeleteTree(dir);
}
