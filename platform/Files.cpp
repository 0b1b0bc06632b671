#include "platform/Files.h"

#include <windows.h>

#include <algorithm>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Handles.h"

namespace {
const char kTemporarySuffix[] = ".~tmp";

TDateTime FileTimeToDateTime(const FILETIME& ft) {
    FILETIME local;
    SYSTEMTIME st;
    if (!FileTimeToLocalFileTime(&ft, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
    return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds);
}

TSearchRec ToSearchRec(const WIN32_FIND_DATAW& fd) {
    TSearchRec r;
    r.Name = Narrow(fd.cFileName);
    r.Attr = fd.dwFileAttributes;
    r.Size = (static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
    r.Time = FileTimeToDateTime(fd.ftLastWriteTime);
    return r;
}

bool Matches(const WIN32_FIND_DATAW& fd, unsigned attrMask) {
    const std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") return false;
    const unsigned excluded = ~attrMask & (faHidden | faSysFile | faVolumeID | faDirectory);
    return (fd.dwFileAttributes & excluded) == 0;
}

std::string& ProgramFolderOverride() {
    static std::string folder;
    return folder;
}
}  // namespace

void SetProgramFolder(const std::string& folder) {
    ProgramFolderOverride() = folder.empty() ? std::string() : IncludeTrailingBackslash(folder);
}

std::vector<TSearchRec> FindFiles(const std::string& pattern, unsigned attrMask) {
    std::vector<TSearchRec> out;
    WIN32_FIND_DATAW fd;
    TFindHandle h(FindFirstFileW(Widen(pattern).c_str(), &fd));
    if (!h.IsValid()) return out;
    do {
        if (Matches(fd, attrMask)) out.push_back(ToSearchRec(fd));
    } while (FindNextFileW(h.Get(), &fd));
    return out;
}

std::optional<TSearchRec> FindFirstMatch(const std::string& pattern, unsigned attrMask) {
    WIN32_FIND_DATAW fd;
    TFindHandle h(FindFirstFileW(Widen(pattern).c_str(), &fd));
    if (!h.IsValid()) return std::nullopt;
    do {
        if (Matches(fd, attrMask)) return ToSearchRec(fd);
    } while (FindNextFileW(h.Get(), &fd));
    return std::nullopt;
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path) {
    DWORD a = GetFileAttributesW(Widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::string& path) {
    std::string dir = ExcludeTrailingBackslash(path);
    if (dir.empty()) return false;
    if (DirectoryExists(dir)) return true;
    std::string parent = ExtractFilePath(dir);
    if (!parent.empty() && ExcludeTrailingBackslash(parent) != dir && !ForceDirectories(parent)) return false;
    return CreateDirectoryW(Widen(dir).c_str(), nullptr) || DirectoryExists(dir);
}

bool FileDelete(const std::string& path) { return DeleteFileW(Widen(path).c_str()); }
bool RemoveDir(const std::string& path) { return RemoveDirectoryW(Widen(path).c_str()); }

bool ClearFileAttributes(const std::string& path) {
    return SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool FileCopy(const std::string& from, const std::string& to, bool failIfExists) {
    return CopyFileW(Widen(from).c_str(), Widen(to).c_str(), failIfExists);
}

bool FileRename(const std::string& from, const std::string& to) {
    return MoveFileW(Widen(from).c_str(), Widen(to).c_str());
}

bool ReplaceFileAtomically(const std::string& source, const std::string& target) {
    return MoveFileExW(Widen(source).c_str(), Widen(target).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

std::optional<uint64_t> FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &d)) return std::nullopt;
    return (static_cast<uint64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
}

std::optional<TDateTime> FileAge(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &d)) return std::nullopt;
    return FileTimeToDateTime(d.ftLastWriteTime);
}

std::optional<uint64_t> DiskFree(const std::string& path) {
    ULARGE_INTEGER freeToCaller;
    if (!GetDiskFreeSpaceExW(Widen(path).c_str(), &freeToCaller, nullptr, nullptr)) return std::nullopt;
    return freeToCaller.QuadPart;
}

std::string ReadFileBytes(const std::string& path) {
    TKernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) throw EBrantel("Kan het bestand '" + path + "' niet openen");
    std::string bytes;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0 && size.QuadPart < (1LL << 31))
        bytes.reserve(static_cast<size_t>(size.QuadPart));
    // Only a read that returns nothing ends the file: a failed read part-way is no end of file.
    std::vector<char> block(1 << 16);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr))
            throw EBrantel("Kan het bestand '" + path + "' niet lezen");
        if (got == 0) return bytes;
        bytes.append(block.data(), got);
    }
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    // Written through to the disk before returning, so that a file that replaces another one after
    // this is complete even after a power loss.
    TKernelHandle file(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
    if (!file.IsValid()) throw EBrantel("Kan het bestand '" + path + "' niet aanmaken");
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20)), written = 0;
        if (!WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            throw EBrantel("Kan niet schrijven naar '" + path + "'");
        done += written;
    }
    if (!FlushFileBuffers(file.Get())) throw EBrantel("Kan niet schrijven naar '" + path + "'");
}

std::string TemporaryFileName(const std::string& path) { return path + kTemporarySuffix; }

bool IsTemporaryFileName(const std::string& name) {
    const std::string suffix = kTemporarySuffix;
    return name.size() > suffix.size() && SameText(name.substr(name.size() - suffix.size()), suffix);
}

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
    const std::string temp = TemporaryFileName(path);
    try {
        WriteFileBytes(temp, bytes);
    } catch (const EBrantel&) {
        FileDelete(temp);  // what was written of it is no use to anyone
        throw;
    }
    if (!ReplaceFileAtomically(temp, path)) {
        FileDelete(temp);
        throw EBrantel("Kan het bestand '" + path + "' niet vervangen");
    }
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    std::string bytes = ReadFileBytes(path);
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string IncludeTrailingBackslash(const std::string& path) {
    return (!path.empty() && (path.back() == '\\' || path.back() == '/')) ? path : path + "\\";
}

std::string ExcludeTrailingBackslash(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && (p.back() == '\\' || p.back() == '/') && !(p.size() == 3 && p[1] == ':')) p.pop_back();
    return p;
}

std::string ExtractFilePath(const std::string& path) {
    size_t pos = path.find_last_of("\\/:");
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ExtractFileName(const std::string& path) {
    size_t pos = path.find_last_of("\\/:");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ExtractFileExt(const std::string& path) {
    std::string name = ExtractFileName(path);
    size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    std::string current = ExtractFileExt(path);
    return path.substr(0, path.size() - current.size()) + ext;
}

std::string ExpandFileName(const std::string& path) {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(Widen(path).c_str(), MAX_PATH * 4, buffer, nullptr);
    return n && n < MAX_PATH * 4 ? Narrow(std::wstring_view(buffer, n)) : path;
}

std::string GetCurrentDir() {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetCurrentDirectoryW(MAX_PATH * 4, buffer);
    return Narrow(std::wstring_view(buffer, n));
}

bool SetCurrentDir(const std::string& path) { return SetCurrentDirectoryW(Widen(path).c_str()); }

std::string GetWindowsFolder() {
    wchar_t buffer[MAX_PATH];
    UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    return Narrow(std::wstring_view(buffer, n));
}

std::string GetSystemFolder() {
    wchar_t buffer[MAX_PATH];
    UINT n = GetSystemDirectoryW(buffer, MAX_PATH);
    return Narrow(std::wstring_view(buffer, n));
}

std::string GetTempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH) return {};
    std::string folder = Narrow(std::wstring_view(buffer, n));
    return DirectoryExists(folder) ? IncludeTrailingBackslash(folder) : std::string();
}

std::string GetExeName() {
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 4);
    return Narrow(std::wstring_view(buffer, n));
}

std::string GetProgramFolder() {
    if (!ProgramFolderOverride().empty()) return ProgramFolderOverride();
    return ExtractFilePath(GetExeName());
}
