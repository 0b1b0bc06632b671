#pragma once
// A stored helpdesk report as a service of its application: listed by the service collector, opened
// in the problem solver, printed and deleted from the main window.
#include <functional>
#include <memory>
#include <string>

#include "Source/Common/Catalogue/Services.h"

class TBranApplication;
class THelpdeskReport;

// A window that can be handed a stored report to open on (the problem solver).
class IReportWindow {
public:
    virtual ~IReportWindow() = default;
    virtual void OpenReport(std::shared_ptr<THelpdeskReport> report) = 0;
};

// How a report is printed; set by the delivery module. Without it printing fails.
using TReportPrinter = std::function<bool(THelpdeskReport& report, int copies)>;
void SetReportPrinter(TReportPrinter printer);

class THelpdeskReportService : public TFormService {
public:
    // The caption shows when the report's text file was last written; a report without its text
    // file cannot be listed (throws). The service keeps its application alive as long as it lives.
    THelpdeskReportService(std::shared_ptr<TBranApplication> application, std::shared_ptr<THelpdeskReport> report);
    const char* ClassName() const override { return "THelpdeskReportService"; }
    bool Delete(const TServiceItemRef& item) override;  // deletes the report folder
    bool Print(const TServiceItemRef& item, int copies) override;
    THelpdeskReport& Report() const { return *FReport; }
    TBranApplication& Application() const { return *FApplication; }

protected:
    void PrepareForm(TForm& form) override;

private:
    std::shared_ptr<TBranApplication> FApplication;
    std::shared_ptr<THelpdeskReport> FReport;
};

// When the report's text file was last written, in the user's date and time format; throws when
// the report has no text file (it cannot be listed then).
std::string ReportWrittenAt(const THelpdeskReport& report);

// Makes the service collector list every stored report of an application as a THelpdeskReportService.
void RegisterStoredReportServices();
