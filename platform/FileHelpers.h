#pragma once
// File routines shared by the helpdesk reports, their attachments and delivery, the update folders
// and the log collector.
#include <string>

// A folder name for an application name that stays inside its parent folder: characters that file
// names cannot hold (\ / : * ? " < > | and control characters) become "_", trailing dots and blanks
// are dropped, and "", "." and ".." become "_"; a device name of Windows (Aux, Con, Nul, Prn, COM1-9,
// LPT1-9, also with an extension) gets a "_" after it ("Aux_", "Con_.boek"), and a name longer than
// 64 characters is cut to 55, followed by "~" and eight hexadecimal digits of a fingerprint of the
// whole name, so that two long names stay apart. An ordinary name maps to itself. Update folders use
// the same mapping.
std::string SafeFolderName(const std::string& name);

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
