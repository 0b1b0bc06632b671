#include "SolverTestSupport.h"

namespace {
struct TTimedSteps {
    TfrmProblemSolver& Solver;
    std::vector<std::function<void(TfrmProblemSolver&)>> Steps;
    size_t Next = 0;
    int IdleTicks = 0;
    bool Busy = false;
};
TTimedSteps* ActiveSteps = nullptr;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
    TTimedSteps* steps = ActiveSteps;
    // A step that opens a modal window of its own runs a loop that brings this timer again.
    if (!steps || steps->Busy || !steps->Solver.Visible()) return;
    steps->Busy = true;
    try {
        if (steps->Next < steps->Steps.size()) {
            steps->Steps[steps->Next++](steps->Solver);
        } else if (++steps->IdleTicks == 100) {
            ADD_FAILURE() << "the wizard is still open after its last step, on " << steps->Solver.pageProblemSolver.ActivePage()->Caption();
            steps->Solver.SetModalResult(mrCancel);
        }
    } catch (const std::exception& e) {
        ADD_FAILURE() << "a step failed: " << e.what();
    }
    steps->Busy = false;
}
}  // namespace

int SolverTest::RunModal(TfrmProblemSolver& solver, std::vector<TStep> steps) {
    TTimedSteps timed{solver, std::move(steps)};
    ActiveSteps = &timed;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, RunNextStep);
    const int result = solver.ShowModal();
    KillTimer(nullptr, timer);
    ActiveSteps = nullptr;
    EXPECT_EQ(timed.Next, timed.Steps.size()) << "the wizard closed before its last step";
    return result;
}
