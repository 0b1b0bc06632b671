#pragma once
// Files and folders. Paths are UTF-8 with Windows separators.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/DateTime.h"

// Attribute bits of a directory search, as the file system reports them.
enum TFileAttr : unsigned {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
    faNormal = 0x80,
    faAnyFile = 0x3F,
};

struct TSearchRec {
    std::string Name;  // without folder
    unsigned Attr = 0;
    uint64_t Size = 0;
    TDateTime Time = 0;  // last write, local time
};

// Entries matching pattern (folder\mask). Ordinary files are always found; entries that are hidden,
// system files or folders only when attrMask names that attribute. "." and ".." are never returned.
// Order: as the file system returns them.
std::vector<TSearchRec> FindFiles(const std::string& pattern, unsigned attrMask);
std::optional<TSearchRec> FindFirstMatch(const std::string& pattern, unsigned attrMask);

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates the folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);
bool FileDelete(const std::string& path);
bool RemoveDir(const std::string& path);
// Drops the read-only, hidden and system attributes, so that the file can be deleted.
bool ClearFileAttributes(const std::string& path);
bool FileCopy(const std::string& from, const std::string& to, bool failIfExists);
bool FileRename(const std::string& from, const std::string& to);
// Replaces target by source in one step (the old target stays if that fails).
bool ReplaceFileAtomically(const std::string& source, const std::string& target);
std::optional<uint64_t> FileSize(const std::string& path);
std::optional<TDateTime> FileAge(const std::string& path);  // last write, local time
// Free bytes for the caller on the drive of path (e.g. "C:\"); nullopt when unknown.
std::optional<uint64_t> DiskFree(const std::string& path);

// The whole file; throws EBrantel when it cannot be opened or a read fails part-way (a short read
// never passes for the whole file).
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);  // throws EBrantel
// Writes the bytes under TemporaryFileName(path) and puts that file in path's place only once every
// byte is on disk. A failure (throws EBrantel) leaves path as it was and removes the temporary file.
void WriteFileAtomically(const std::string& path, const std::string& bytes);
// The name a file is written under before it takes its place, and the test for such names (a folder
// listing shows them only when a write was cut off, and they are never anyone's data).
std::string TemporaryFileName(const std::string& path);
bool IsTemporaryFileName(const std::string& name);
std::vector<std::string> ReadTextLines(const std::string& path);  // lines without CR LF, bytes as stored

// Path helpers.
std::string IncludeTrailingBackslash(const std::string& path);
std::string ExcludeTrailingBackslash(const std::string& path);
std::string ExtractFilePath(const std::string& path);  // with trailing backslash
std::string ExtractFileName(const std::string& path);
std::string ExtractFileExt(const std::string& path);  // with the dot
std::string ChangeFileExt(const std::string& path, const std::string& ext);
std::string ExpandFileName(const std::string& path);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& path);

// Well-known folders, without trailing backslash unless stated.
std::string GetWindowsFolder();
std::string GetSystemFolder();
// The platform's temporary folder with trailing backslash; empty when there is none or it does not exist.
std::string GetTempFolder();
// The folder of the running executable with a trailing backslash (tests may point it elsewhere).
std::string GetProgramFolder();
// Tests only: the folder the program treats as its own (reports, updates, temporary downloads); empty
// resets it to the executable's folder.
void SetProgramFolder(const std::string& folder);
std::string GetExeName();
