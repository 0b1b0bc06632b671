#include "Source/Common/TechInfo/LogFilesInfo.h"

#include <algorithm>
#include <numeric>

#include "Source/Common/TechInfo/TextFiles.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"

namespace {
constexpr long long SizeLimitKb = 200;
constexpr uint64_t TotalLimitBytes = 1024 * 1024;

struct TLogCandidate {
    std::string Name;  // as the report names it: bare in the log folder, whole path elsewhere
    std::string Path;
    TSearchRec File;
    bool Named = false;  // the application's installation or program log
    bool TooBig = false;  // over the limit of one file
};

bool SamePath(const std::string& a, const std::string& b) { return SameText(ExpandFileName(a), ExpandFileName(b)); }

std::vector<TLogCandidate> Candidates(const std::string& folder, const std::string& installLog,
                                      const std::string& programLog) {
    std::vector<TLogCandidate> candidates;
    for (const TSearchRec& file : FindFiles(folder + "*.log", faAnyFile & ~faDirectory))
        candidates.push_back({file.Name, folder + file.Name, file});
    for (const std::string& log : {installLog, programLog}) {
        if (log.empty()) continue;
        auto listed = std::find_if(candidates.begin(), candidates.end(),
                                   [&](const TLogCandidate& c) { return SamePath(c.Path, log); });
        if (listed != candidates.end()) {
            listed->Named = true;
        } else if (auto file = FindFirstMatch(log, faAnyFile & ~faDirectory)) {
            candidates.push_back({log, log, *file, true});
        }
    }
    for (TLogCandidate& candidate : candidates) candidate.TooBig = FileSizeKB(candidate.Path) >= SizeLimitKb;
    return candidates;
}

// Which candidates under the per-file limit fit into the total: the application's own logs first,
// then the newest; a file too big for what is left makes way for smaller, older ones.
std::vector<bool> WithinTotal(const std::vector<TLogCandidate>& candidates) {
    std::vector<size_t> order(candidates.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (candidates[a].Named != candidates[b].Named) return candidates[a].Named;
        return candidates[a].File.Time > candidates[b].File.Time;
    });
    std::vector<bool> fits(candidates.size(), false);
    uint64_t used = 0;
    for (size_t i : order) {
        if (candidates[i].TooBig || used + candidates[i].File.Size > TotalLimitBytes) continue;
        used += candidates[i].File.Size;
        fits[i] = true;
    }
    return fits;
}
}  // namespace

TLogFilesInfo::TLogFilesInfo() : TTechInfo("LogFiles") {}

void TLogFilesInfo::GatherInfo() {
    LogContent.clear();
    if (LogFolder().empty() || !DirectoryExists(LogFolder())) return;
    const std::vector<TLogCandidate> candidates = Candidates(LogFolder(), InstallLogFile(), ProgramLogFile());
    const std::vector<bool> fits = WithinTotal(candidates);
    for (size_t i = 0; i < candidates.size(); ++i) {
        const TLogCandidate& candidate = candidates[i];
        auto notice = [&](const std::string& text) { LogContent.insert(LogContent.end(), {"", candidate.Name, text, ""}); };
        if (candidate.TooBig) {
            notice("Bestand is groter dan 200 Kb en zal niet worden opgenomen in het rapport.");
        } else if (!fits[i]) {
            notice("De log bestanden samen zijn groter dan 1 Mb: dit bestand zal niet worden opgenomen in het rapport.");
        } else if (TFileText text = ReadFileText(candidate.Path); !text.Notice.empty()) {
            notice(text.Notice);
        } else {
            LogContent.insert(LogContent.end(), {"", candidate.Name, ""});
            LogContent.insert(LogContent.end(), text.Lines.begin(), text.Lines.end());
            LogContent.push_back("");
        }
    }
}

const TStringList& TLogFilesInfo::BuildInfoText() {
    Lines.clear();
    if (LogContent.empty()) return Lines;
    for (const std::string& entry : LogContent) Lines.push_back(VerbatimLine(entry));
    Lines.push_back(RtfPar);
    return Lines;
}
