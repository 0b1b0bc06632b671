#pragma once
// The folder store of helpdesk reports: Reports\<application>\ReportNN below the program's folder.
#include <string>

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

