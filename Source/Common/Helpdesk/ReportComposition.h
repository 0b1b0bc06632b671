#pragma once
// Gathering the chapter "Technische Informatie" while the window stays with the user. The collectors
// run on worker threads, a few at a time in list order, so that the processor's one-second clock
// measurement (in the system summary) runs alongside the others instead of before them; the thread
// that asks keeps handling its messages meanwhile. Each collector works on an instance of its own,
// never on the general item's: a collector that is given up may still be running.
//
//     TReportComposition composition(report.TechInfos, report.ServiceItem.get());
//     if (composition.Gather(wizard))            // false: cancelled, nothing was touched
//         ComposeReportText(report, user, composition.Sections());
//
// A collector that has not answered within the time limit (a network drive that hangs) is given up
// with a notice in its section; its thread ends on its own, whenever the system lets it.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

class TBranWizardForm;

// How long one collector may take before it is given up, unless a composition says otherwise.
inline constexpr std::chrono::milliseconds CollectorTimeLimit{10000};

class TReportComposition {
public:
    // The collectors chosen (the general item's) and the item whose log files they read; both are
    // only read here, on the calling thread.
    TReportComposition(const TTechInfoRefs& collectors, const ILogFileSource* item);
    ~TReportComposition();
    TReportComposition(const TReportComposition&) = delete;
    TReportComposition& operator=(const TReportComposition&) = delete;

    using TProgressEvent = std::function<void(int done, int total)>;
    // Gathers every section, handling the calling thread's messages until all are there; progress is
    // told after each collector. False when Cancel came first (or the program is quitting): the
    // collectors running then were let finish, the rest never started, and Sections is incomplete.
    bool Gather(const TProgressEvent& progress = {});
    // The same with the wizard's look while it works: Back, Next and Help wait and the page takes no
    // input (Cancel stays), the header's progress bar counts the collectors done; all as it was
    // afterwards.
    bool Gather(TBranWizardForm& wizard);
    // Stops after the collectors running now; safe to call from a message handled during Gather.
    void Cancel() { FCancelled = true; }
    bool Busy() const { return FBusy; }
    bool Cancelled() const { return FCancelled; }

    // The lines of each collector, in the order given (complete after a Gather that answered true).
    const std::vector<TStringList>& Sections() const { return FSections; }

    std::chrono::milliseconds TimeLimit = CollectorTimeLimit;
    // How many collectors run at the same time.
    int Parallel = 3;

private:
    struct TJob;
    void Start(const std::shared_ptr<TJob>& job);

    std::vector<std::shared_ptr<TJob>> FJobs;
    std::vector<TStringList> FSections;
    bool FCancelled = false;
    bool FBusy = false;
};

// Test hook: makes the collector that gathers in place of a chosen one (default: a new collector of
// the same category). Reset with an empty function.
using TCollectorMaker = std::function<std::unique_ptr<TTechInfo>(const TTechInfo& chosen)>;
void SetCollectorMaker(TCollectorMaker maker);
