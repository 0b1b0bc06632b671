#pragma once
// TWindowsInfo ("Windows"): the Windows installation: version, flags, folders, search path,
// country, code pages, start-up programs, temporary files and the contents of "scandisk.log".
#include <windows.h>

#include <cstdint>
#include <string>

#include "Source/Common/TechInfo/TechInfo.h"

// The platform header maps this name to its path search; here it is the collector's field.
#undef SearchPath

class TWindowsInfo : public TTechInfo {
public:
    TWindowsInfo();

    std::string VersionText;
    std::string WindowsFolder;
    std::string SystemFolder;
    std::string SearchPath;
    std::string TempFolder;  // empty when there is none
    std::string Country;     // English name
    uint32_t AnsiCodePage = 0, OemCodePage = 0;
    bool DebugVersion = false, SecurityPresent = false, DbcsEnabled = false, MidEastEnabled = false;
    std::string BootType;
    TStringList StartupPrograms;  // the user's start-up shortcuts, then the machine's Run commands
    TStringList TempFiles;
    int TempFileCount = 0;
    int64_t TempFileSize = 0;  // bytes; a full temporary folder easily passes 2 GB
    TStringList ScandiskLog;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};

// The first "folder\name" that exists along a ";"-separated folder list; empty when none.
std::string FileSearch(const std::string& name, const std::string& folderList);
