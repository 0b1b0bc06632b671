#include "Source/Common/TechInfo/SystemFilesInfo.h"

#include "Source/Common/TechInfo/TextFiles.h"
#include "Source/Common/TechInfo/WindowsInfo.h"  // FileSearch
#include "platform/Files.h"

TSystemFilesInfo::TSystemFilesInfo() : TTechInfo("SystemFiles") {}

void TSystemFilesInfo::GatherInfo() {
    // The current directory is left out of the search: it is wherever an earlier collector left it.
    const std::string folders = "c:\\;" + GetSearchPath();
    AutoexecBat = FileLinesOrNotice(FileSearch("autoexec.bat", folders));
    ConfigSys = FileLinesOrNotice(FileSearch("config.sys", folders));
    const std::string brantel = IncludeTrailingBackslash(GetWindowsFolder()) + "brantel.ini";
    BrantelIni = FileLinesOrNotice(FileExists(brantel) ? brantel : std::string());
    SystemIni = FileLinesOrNotice(FileSearch("system.ini", folders));
    WinIni = FileLinesOrNotice(FileSearch("win.ini", folders));
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
