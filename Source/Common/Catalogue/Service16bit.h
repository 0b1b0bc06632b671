#pragma once
// Applications of the maker's older editions. Their setups did not register in the registry: each
// wrote one line "key=<product identifier>,<section>" into [ProgInfo] of the shared file BRANTEL.INI
// (in the Windows folder) and kept its details in that section. The product table turns a recognised
// identifier into an application.
#include <memory>
#include <string>
#include <vector>

class TIniReader;
class TBranApplication;
class TServiceItem;

// Items in list order; the list shares ownership of the applications with whoever lists them later.
using TServiceItemList = std::vector<std::shared_ptr<TServiceItem>>;

// Opened by its bare name, so the platform looks in the Windows folder.
extern const char* const LegacyIniFileName;  // "BRANTEL.INI"

struct TProgInfoLine {
    std::string Identifier;
    std::string Section;
};
// True for a line of the form "key=identifier,section".
bool IsProgInfoLine(const std::string& line);
// Splits "key=identifier,section" (both parts trimmed). A line without "=" or "," is a programming
// error (EBranAssertion): ask IsProgInfoLine first.
TProgInfoLine SplitProgInfoLine(const std::string& line);

// Appends one application per recognised [ProgInfo] line, in file order. Lines that are malformed,
// unknown or whose fill procedures all fail are left out silently.
void DiscoverLegacyApplications(TServiceItemList& list);

// The part every fill procedure starts with: logs, uninstaller, help and readme files, build,
// release date and the default technical-information categories.
void ReadLegacyApplication(const TIniReader& ini, const std::string& section, TBranApplication& app);

// When the section's folderKey names a folder holding a file "<prefix>*.hlp", that file becomes the
// help file (replacing any found before).
void FindLegacyHelpFile(const TIniReader& ini, const std::string& section, const std::string& folderKey,
                        const std::string& prefix, TBranApplication& app);
