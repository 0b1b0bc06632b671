#pragma once
// The folder store of helpdesk reports: Reports\<application>\ReportNN below the program's folder,
// and the file routines the report, its attachments and its delivery share.
#include <string>

// A folder name for an application name that stays inside its parent folder: characters that file
// names cannot hold (\ / : * ? " < > | and control characters) become "_", trailing dots and blanks
// are dropped, and "", "." and ".." become "_". An ordinary name maps to itself. Update folders use
// the same mapping.
std::string SafeFolderName(const std::string& name);

// "Reports\<safe application name>", or "Reports\Unknown" for an empty name.
std::string ReportBaseFolder(const std::string& applicationName);

// Chooses the report folder below the program's folder + base: the first "\ReportNN" of 01..99 that
// no folder or file takes; when all are taken, the least recently written report folder that can be
// deleted completely is deleted and its name reused (other folders are never touched). Creates base
// with its parents and makes it the current directory. Throws EBrantel when that fails or when no
// report folder can be deleted. Returns the name with its leading backslash ("\Report02"), which
// does not exist on return.
std::string NextReportFolder(const std::string& base);

// The number with `fill` put in front until it is `width` characters wide: PadLeft(3, 2, '0') = "03".
std::string PadLeft(long long number, int width, char fill);

// Size in kB rounded to the nearest whole number (halves to the even one); -1 when not found.
long long FileSizeKB(const std::string& file);

// Whether the file fits in the free space of the drive that holds the program.
bool HasSpaceFor(const std::string& file);

// Copies all bytes of source over target; nothing when both name the same file (any case).
// Throws EBrantel when the source cannot be read or the target not written; the target is then as
// it was (a failed copy leaves no half file).
void CopyFileTo(const std::string& source, const std::string& target);

// Deletes the folder with everything in it; false (and nothing reported) when something stays. A
// folder with a file in use (open elsewhere) is left whole: a report is never half deleted.
bool DeleteFolderTree(const std::string& folder);
