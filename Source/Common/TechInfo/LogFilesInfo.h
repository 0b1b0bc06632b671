#pragma once
// TLogFilesInfo ("LogFiles"): the log files of the application the report is about, copied whole:
// every "*.log" in the folder of its installation log, then the installation log and the program
// log themselves. A file of 200 Kb or more is replaced by a notice, so that the report, which also
// travels by e-mail and on floppies, stays small.
#include "Source/Common/TechInfo/TechInfo.h"

class TLogFilesInfo : public TTechInfo {
public:
    TLogFilesInfo();

    TStringList LogContent;

protected:
    // Makes the log folder the current directory.
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};

// The lines of a text file as the program shows them (stored in the ANSI code page); throws EBrantel
// when the file cannot be read.
TStringList ReadFileLines(const std::string& path);
