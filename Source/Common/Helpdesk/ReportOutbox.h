#pragma once
// The outbox: a report whose e-mail did not go stays marked unsent in its folder (THelpdeskReport::
// WriteDispatch) and is listed among its application's services, where opening it sends the stored
// report again. Nothing goes without the user's action; at start the main window says how many wait.
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/Catalogue/Services.h"

class TBranApplication;
class THelpdeskReport;

class TUnsentReportService : public TService {
public:
    // The report must be marked unsent and have its text file (throws otherwise).
    TUnsentReportService(std::shared_ptr<TBranApplication> application, std::shared_ptr<THelpdeskReport> report);
    const char* ClassName() const override { return "TUnsentReportService"; }
    // Asks, then sends the report as it is stored (not composed again), from the address it holds,
    // through the user's mail server as it is set now. The outcome, whatever it is, has been told the
    // user and kept in the report: the answer is true (false would be "could not be started").
    bool Provide(const TServiceItemRef& item) override;

private:
    std::shared_ptr<TBranApplication> FApplication;
    std::shared_ptr<THelpdeskReport> FReport;
};

// Told the user with a failure to send: where the report waits.
extern const char* const KeptInOutbox;

// How many reports of these items' applications are marked unsent.
int CountUnsentReports(const std::vector<std::shared_ptr<TServiceItem>>& items);
// What the status bar says about them; empty for none.
std::string UnsentReportsText(int count);
