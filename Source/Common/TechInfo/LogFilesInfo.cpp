#include "Source/Common/TechInfo/LogFilesInfo.h"

#include <algorithm>

#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"

namespace {
constexpr long long SizeLimitKb = 200;

bool Listed(const TStringList& candidates, const std::string& path) {
    const std::string name = ExtractFileName(path);
    return std::any_of(candidates.begin(), candidates.end(),
                       [&](const std::string& candidate) { return SameText(candidate, name); });
}
}  // namespace

TStringList ReadFileLines(const std::string& path) {
    TStringList lines;
    for (const std::string& line : ReadTextLines(path)) lines.push_back(AnsiToUtf8(line));
    return lines;
}

TLogFilesInfo::TLogFilesInfo() : TTechInfo("LogFiles") {}

void TLogFilesInfo::GatherInfo() {
    LogContent.clear();
    if (LogFolder().empty() || !DirectoryExists(LogFolder())) return;
    TStringList candidates;
    int64_t unused = 0;
    ListFiles(LogFolder(), "*.log", false, candidates, unused);
    for (const std::string& log : {InstallLogFile(), ProgramLogFile()})
        if (!log.empty() && !Listed(candidates, log) && FileExists(log)) candidates.push_back(log);

    for (const std::string& candidate : candidates) {
        // Bare names from the folder listing lie in the log folder.
        const std::string path = ExtractFilePath(candidate).empty() ? LogFolder() + candidate : candidate;
        if (FileSizeKB(path) >= SizeLimitKb) {
            LogContent.insert(LogContent.end(),
                              {"", candidate, "Bestand is groter dan 200 Kb en zal niet worden opgenomen in het rapport.", ""});
            continue;
        }
        const TStringList lines = ReadFileLines(path);
        LogContent.insert(LogContent.end(), {"", candidate, ""});
        LogContent.insert(LogContent.end(), lines.begin(), lines.end());
        LogContent.push_back("");
    }
}

const TStringList& TLogFilesInfo::BuildInfoText() {
    Lines.clear();
    if (LogContent.empty()) return Lines;
    for (const std::string& entry : LogContent) Lines.push_back(VerbatimLine(entry));
    Lines.push_back(RtfPar);
    return Lines;
}
