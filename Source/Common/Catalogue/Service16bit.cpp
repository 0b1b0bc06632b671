#include "Source/Common/Catalogue/Service16bit.h"

#include "Source/Common/Catalogue/ProductTable.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/IniFile.h"

const char* const LegacyIniFileName = "BRANTEL.INI";

namespace {
constexpr const char* SourceUnit = "Source\\Common\\Service16bit";

// The uninstaller every legacy setup installed; it is given the installation log to undo.
constexpr const char* LegacyUninstaller = "C:\\WINDOWS\\BRANTEL\\UNINSTAL.EXE ";

// Technical information that matters for every legacy application.
constexpr const char* LegacyCategories[] = {"SystemSummary", "CPUandBIOS", "VideoSystem",
                                            "WindowsMemory", "Drives",     "Printer",
                                            "Windows",       "InstallLog", "SystemFiles"};

// folder\<first file matching mask>, or empty.
std::string FirstHelpFile(const std::string& folder, const std::string& mask) {
    const std::string dir = ExcludeTrailingBackslash(folder);
    if (auto found = FindFirstMatch(dir + "\\" + mask, faArchive)) return dir + "\\" + found->Name;
    return {};
}
}  // namespace

bool IsProgInfoLine(const std::string& line) {
    const size_t equals = line.find('=');
    return equals != std::string::npos && line.find(',', equals + 1) != std::string::npos;
}

TProgInfoLine SplitProgInfoLine(const std::string& line) {
    const size_t equals = line.find('=');
    BranAssert(equals != std::string::npos, "Assertion failure", SourceUnit);
    const std::string value = line.substr(equals + 1);
    const size_t comma = value.find(',');
    BranAssert(comma != std::string::npos, "Assertion failure", SourceUnit);
    return {Trim(value.substr(0, comma)), Trim(value.substr(comma + 1))};
}

void DiscoverLegacyApplications(TServiceItemList& list) {
    RegisterProductLines();
    // Read afresh on every call; within the call, each application's section once.
    const TIniFilePass ini(LegacyIniFileName);
    for (const std::string& line : ini.File().ReadSectionLines("ProgInfo")) {
        // A line we cannot use says nothing about the others.
        if (!IsProgInfoLine(line)) continue;
        Attempt([&] {
            const TProgInfoLine parts = SplitProgInfoLine(line);
            if (auto app = FillLegacyApplication(parts.Identifier, ini, parts.Section)) list.push_back(std::move(app));
        });
    }
}

void ReadLegacyApplication(const TIniReader& ini, const std::string& section, TBranApplication& app) {
    const std::string installLog = ini.ReadString(section, "InstallLog", "");
    app.InstallLog().SetAsString(installLog);
    app.Uninstall().SetAsString(LegacyUninstaller + installLog);

    app.HelpFile().SetAsString(ini.ReadString(section, "Helpfile", ""));
    if (app.HelpFile().AsString().empty()) {
        std::string folder = ini.ReadString(section, "Systeem directory", "");
        if (folder.empty()) folder = ini.ReadString(section, "System directory", "");
        if (!folder.empty()) app.HelpFile().SetAsString(FirstHelpFile(folder, "*.hlp"));
    }

    app.ReadmeFile().SetAsString(ini.ReadString(section, "LeesMij", ""));
    app.Build().SetAsString(ini.ReadString(section, "ReleaseVersion", ""));
    if (auto date = TryStrToDate(ini.ReadString(section, "ReleaseDate", "")))
        app.ReleaseDate().SetAsVariant(TVariant::Date(*date));
    else
        app.ReleaseDate().Clear();

    for (const char* category : LegacyCategories) AddTechInfoByIdentifier(app, category);
}

void FindLegacyHelpFile(const TIniReader& ini, const std::string& section, const std::string& folderKey,
                        const std::string& prefix, TBranApplication& app) {
    const std::string folder = ini.ReadString(section, folderKey, "");
    if (folder.empty()) return;
    const std::string helpFile = FirstHelpFile(folder, prefix + "*.hlp");
    if (!helpFile.empty()) app.HelpFile().SetAsString(helpFile);
}
