#pragma once
// TSystemFilesInfo ("SystemFiles"): the PC's start-up and configuration files copied whole:
// "brantel.ini" from the Windows folder, "autoexec.bat", "config.sys", "system.ini" and "win.ini".
#include "Source/Common/TechInfo/TechInfo.h"

class TSystemFilesInfo : public TTechInfo {
public:
    TSystemFilesInfo();

    TStringList AutoexecBat, ConfigSys, BrantelIni, SystemIni, WinIni;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
