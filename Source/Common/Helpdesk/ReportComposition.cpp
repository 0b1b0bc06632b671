#include "Source/Common/Helpdesk/ReportComposition.h"

#include <windows.h>

#include <algorithm>
#include <thread>

#include "Source/Common/Helpdesk/ReportComposer.h"
#include "core/Exceptions.h"
#include "lib/BranButtons.h"
#include "lib/BranProgressBar.h"
#include "lib/BranWizardForm.h"
#include "platform/Handles.h"
#include "platform/gui/Application.h"

namespace {
using TClock = std::chrono::steady_clock;
constexpr const char* SourceUnit = "Source\\Common\\Helpdesk";

TCollectorMaker& CollectorMaker() {
    static TCollectorMaker maker;
    return maker;
}

std::unique_ptr<TTechInfo> MakeCollectorFor(const TTechInfo& chosen) {
    if (CollectorMaker()) return CollectorMaker()(chosen);
    const TTechInfoCategory* category = FindTechInfoCategory(chosen.Identifier());
    BranAssert(category && category->Create, "TReportComposition.Create: collector without a category", SourceUnit);
    return category->Create();
}

// The item's log files as they were when the composition began: a worker never asks the item.
class TLogFiles final : public ILogFileSource {
public:
    explicit TLogFiles(const ILogFileSource& item) : FInstall(item.InstallLogFile()), FProgram(item.ProgramLogFile()) {}
    std::string InstallLogFile() const override { return FInstall; }
    std::string ProgramLogFile() const override { return FProgram; }

private:
    std::string FInstall, FProgram;
};

// Handles the thread's waiting messages; false once the program is quitting (the quit stays queued
// for the loop that ends the program).
bool HandleWaitingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        Application().DispatchOne(msg);
    }
    return true;
}

// The wizard while the report is gathered: only Cancel answers, and the header's progress bar counts
// collectors instead of pages.
class TWizardAtWork {
public:
    explicit TWizardAtWork(TBranWizardForm& wizard) : FWizard(wizard), FFocus(GetFocus()) {
        for (TControl* button : {static_cast<TControl*>(wizard.BackButton()), static_cast<TControl*>(wizard.NextButton()),
                                 static_cast<TControl*>(wizard.HelpButton())}) {
            if (!button) continue;
            FButtons.emplace_back(button, button->Enabled());
            button->SetEnabled(false);
        }
        if (wizard.Pages && wizard.Pages->Handle())
            FPagesWereEnabled = EnableWindow(wizard.Pages->Handle(), FALSE) == 0;
        if (TBranButton* cancel = wizard.WizardCancelButton(); cancel && cancel->Visible()) cancel->SetFocus();
    }
    ~TWizardAtWork() {
        for (auto [button, enabled] : FButtons) button->SetEnabled(enabled);
        if (FWizard.Pages && FWizard.Pages->Handle()) EnableWindow(FWizard.Pages->Handle(), FPagesWereEnabled);
        FWizard.UpdateProgress();
        if (FFocus && IsWindow(FFocus) && IsWindowEnabled(FFocus)) SetFocus(FFocus);
    }
    TWizardAtWork(const TWizardAtWork&) = delete;
    TWizardAtWork& operator=(const TWizardAtWork&) = delete;

    void Progress(int done, int total) {
        TBranProgressBar* bar = FWizard.ProgressBar();
        if (!bar) return;
        bar->SetPosition(0);
        bar->SetMax(total);
        bar->SetPosition(done);
    }

private:
    TBranWizardForm& FWizard;
    HWND FFocus;
    std::vector<std::pair<TControl*, bool>> FButtons;
    bool FPagesWereEnabled = true;
};
}  // namespace

void SetCollectorMaker(TCollectorMaker maker) { CollectorMaker() = std::move(maker); }

// One collector's work, shared by the composition and the worker thread that runs it: whichever lets
// go last frees it, so a collector given up may run on after the composition has ended.
struct TReportComposition::TJob {
    std::unique_ptr<TTechInfo> Collector;
    std::unique_ptr<TLogFiles> LogFiles;
    TStringList Lines;
    TKernelHandle Finished{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    TClock::time_point Deadline;

    // Runs on any thread; never throws.
    void Run() noexcept {
        try {
            Lines = CollectTechInfoLines(*Collector, LogFiles.get());
        } catch (...) {
            // Not even the notice could be made (no memory left): the section stays empty.
            Lines.clear();
        }
        SetEvent(Finished.Get());
    }
};

TReportComposition::TReportComposition(const TTechInfoRefs& collectors, const ILogFileSource* item) {
    for (const TTechInfo* chosen : collectors) {
        auto job = std::make_shared<TJob>();
        if (!job->Finished) throw EBrantel("TReportComposition", "Create", "CreateEvent", "Niet genoeg geheugen.");
        job->Collector = MakeCollectorFor(*chosen);
        if (item) job->LogFiles = std::make_unique<TLogFiles>(*item);
        FJobs.push_back(std::move(job));
    }
    FSections.resize(FJobs.size());
}

TReportComposition::~TReportComposition() = default;

void TReportComposition::Start(const std::shared_ptr<TJob>& job) {
    job->Deadline = TClock::now() + TimeLimit;
    if (job->Collector->GathersOnWindowThread()) {
        job->Run();
        return;
    }
    try {
        std::thread([job] { job->Run(); }).detach();
    } catch (const std::system_error&) {
        // No thread to be had: the collector runs here, as it did before there were workers.
        job->Run();
    }
}

bool TReportComposition::Gather(const TProgressEvent& progress) {
    BranAssert(!FBusy, "TReportComposition.Gather: already gathering", SourceUnit);
    struct TBusy {
        bool& Flag;
        explicit TBusy(bool& flag) : Flag(flag) { Flag = true; }
        ~TBusy() { Flag = false; }
    } busy(FBusy);

    const int total = static_cast<int>(FJobs.size());
    int done = 0;
    if (progress) progress(done, total);
    size_t next = 0;
    std::vector<size_t> running;
    bool serving = true;  // the thread's messages are handled until the program quits
    while (true) {
        while (!FCancelled && next < FJobs.size() && running.size() < static_cast<size_t>(std::max(1, Parallel))) {
            Start(FJobs[next]);
            running.push_back(next++);
        }
        if (running.empty()) break;

        std::vector<HANDLE> handles;
        TClock::time_point wakeUp = TClock::time_point::max();
        for (size_t index : running) {
            handles.push_back(FJobs[index]->Finished.Get());
            wakeUp = std::min(wakeUp, FJobs[index]->Deadline);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(wakeUp - TClock::now()).count();
        const DWORD timeout = static_cast<DWORD>(std::clamp<long long>(left + 1, 0, 0x7FFFFFFF));
        const DWORD count = static_cast<DWORD>(handles.size());
        if (serving)
            MsgWaitForMultipleObjectsEx(count, handles.data(), timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        else
            WaitForMultipleObjects(count, handles.data(), FALSE, timeout);

        const TClock::time_point now = TClock::now();
        for (auto it = running.begin(); it != running.end();) {
            std::shared_ptr<TJob>& job = FJobs[*it];
            if (WaitForSingleObject(job->Finished.Get(), 0) == WAIT_OBJECT_0) {
                FSections[*it] = std::move(job->Lines);
            } else if (now >= job->Deadline) {
                FSections[*it] = TechInfoNotice(
                    "er kwam te lang geen antwoord (bijvoorbeeld van een netwerkschijf of een apparaat).");
            } else {
                ++it;
                continue;
            }
            job.reset();
            it = running.erase(it);
            ++done;
            if (progress) progress(done, total);
        }
        if (serving && !HandleWaitingMessages()) {
            serving = false;
            Cancel();
        }
    }
    return !FCancelled;
}

bool TReportComposition::Gather(TBranWizardForm& wizard) {
    TWizardAtWork look(wizard);
    return Gather([&look](int done, int total) { look.Progress(done, total); });
}
