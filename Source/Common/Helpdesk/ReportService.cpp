#include "Source/Common/Helpdesk/ReportService.h"

#include "Source/Common/Catalogue/ServiceCollector.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportOutbox.h"
#include "core/DateTime.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "platform/Files.h"
#include "platform/gui/Hourglass.h"

namespace {
TReportPrinter& ReportPrinter() {
    static TReportPrinter printer;
    return printer;
}

}  // namespace

std::string ReportWrittenAt(const THelpdeskReport& report) {
    auto written = FileAge(report.CaseRtfPath());
    if (!written) throw EBrantel("THelpdeskReportService", "Create", "Geen rapporttekst in " + report.Folder());
    return DateToStr(*written) + " " + TimeToStr(*written);
}

void SetReportPrinter(TReportPrinter printer) { ReportPrinter() = std::move(printer); }

THelpdeskReportService::THelpdeskReportService(std::shared_ptr<TBranApplication> application,
                                               std::shared_ptr<THelpdeskReport> report)
    : TFormService("TfrmProblemSolver", Format("Helpdeskrapport %s", {ReportWrittenAt(*report)}), "Helpdeskrapport weergeven, afdrukken en verzenden.",
                   1015, 10),
      FApplication(std::move(application)),
      FReport(std::move(report)) {
    FCanDelete = true;
    FCanPrint = true;
}

bool THelpdeskReportService::Delete(const TServiceItemRef& item) {
    TService::Delete(item);
    return FReport->DeleteReportFolder();
}

bool THelpdeskReportService::Print(const TServiceItemRef& item, int copies) {
    TService::Print(item, copies);
    THourglass hourglass;
    return ReportPrinter() && ReportPrinter()(*FReport, copies);
}

void THelpdeskReportService::PrepareForm(TForm& form) {
    if (auto* window = dynamic_cast<IReportWindow*>(&form)) window->OpenReport(FReport);
}

void RegisterStoredReportServices() {
    SetStoredReportServices([](const std::shared_ptr<TBranApplication>& application, TServiceList& list) {
        for (auto& report : ListStoredReports(application)) {
            std::shared_ptr<THelpdeskReport> shared(std::move(report));
            // A report that cannot be listed (no text file) is left out; the others still come.
            Attempt([&] { list.push_back(std::make_shared<THelpdeskReportService>(application, shared)); });
            // An unsent report also stands in the list as what it waits for: sending it again.
            if (shared->Dispatch().State == TDispatchState::Unsent)
                Attempt([&] { list.push_back(std::make_shared<TUnsentReportService>(application, shared)); });
        }
    });
}
