#pragma once
// TLogFilesInfo ("LogFiles"): the log files of the application the report is about, copied whole:
// every "*.log" in the folder of its installation log, then the installation log and the program
// log themselves. The report also travels by e-mail and on floppies, so it stays small: a file of
// 200 Kb or more is replaced by a notice, and so is every file past 1 Mb of logs in all (the
// application's own two logs go first, then the newest files).
#include "Source/Common/TechInfo/TechInfo.h"

class TLogFilesInfo : public TTechInfo {
public:
    TLogFilesInfo();

    TStringList LogContent;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
