#include "Source/Common/TechInfo/SystemFilesInfo.h"

#include "Source/Common/TechInfo/LogFilesInfo.h"  // ReadFileLines
#include "Source/Common/TechInfo/WindowsInfo.h"   // FileSearch
#include "platform/Files.h"

namespace {
// The lines of the file found, or none.
TStringList LinesOf(const std::string& path) { return path.empty() ? TStringList() : ReadFileLines(path); }
}  // namespace

TSystemFilesInfo::TSystemFilesInfo() : TTechInfo("SystemFiles") {}

void TSystemFilesInfo::GatherInfo() {
    // The current directory is left out of the search: it is wherever an earlier collector left it.
    const std::string folders = "c:\\;" + GetSearchPath();
    AutoexecBat = LinesOf(FileSearch("autoexec.bat", folders));
    ConfigSys = LinesOf(FileSearch("config.sys", folders));
    const std::string brantel = IncludeTrailingBackslash(GetWindowsFolder()) + "brantel.ini";
    BrantelIni = LinesOf(FileExists(brantel) ? brantel : std::string());
    SystemIni = LinesOf(FileSearch("system.ini", folders));
    WinIni = LinesOf(FileSearch("win.ini", folders));
}

const TStringList& TSystemFilesInfo::BuildInfoText() {
    Lines.clear();
    const std::pair<const char*, const TStringList*> files[] = {
        {"brantel.ini", &BrantelIni}, {"autoexec.bat", &AutoexecBat}, {"config.sys", &ConfigSys},
        {"system.ini", &SystemIni},   {"win.ini", &WinIni},
    };
    for (const auto& [heading, lines] : files) {
        if (lines->empty()) continue;
        AddSubHeading(Lines, heading);
        for (const std::string& line : *lines) Lines.push_back(VerbatimLine(line));
        Lines.push_back(RtfPar);
    }
    return Lines;
}
