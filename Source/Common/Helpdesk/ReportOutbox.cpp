#include "Source/Common/Helpdesk/ReportOutbox.h"

#include <set>

#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportDelivery.h"
#include "Source/Common/Helpdesk/ReportFolders.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "mail/SendMail.h"
#include "platform/Files.h"
#include "platform/gui/Messages.h"

const char* const KeptInOutbox =
    "Het rapport blijft bewaard als niet verzonden. U kunt het later opnieuw verzenden met \"Helpdeskrapport (niet "
    "verzonden)\" in het hoofdvenster.";

namespace {
std::string UnsentDescription(const THelpdeskReport& report) {
    const TReportDispatch dispatch = report.Dispatch();
    if (dispatch.State != TDispatchState::Unsent)
        throw EBrantel("TUnsentReportService", "Create", "Niet in de wachtrij: " + report.Folder());
    return Format("Helpdeskrapport van %s opnieuw per e-mail verzenden. Niet verzonden op %s: %s",
                  {ReportWrittenAt(report), dispatch.Time, dispatch.Detail});
}
}  // namespace

TUnsentReportService::TUnsentReportService(std::shared_ptr<TBranApplication> application,
                                           std::shared_ptr<THelpdeskReport> report)
    : TService("Helpdeskrapport (niet verzonden)", UnsentDescription(*report), 1015, 10),
      FApplication(std::move(application)),
      FReport(std::move(report)) {}

bool TUnsentReportService::Provide(const TServiceItemRef&) {
    // The helpdesk answers the address the report holds, the one the user confirmed when it was
    // first sent.
    const std::string sender = FReport->ReadCustomer() ? FReport->Customer().Email().AsString() : std::string();
    if (!IsValidEmailAddress(sender)) {
        ShowWarning(Format("Het helpdeskrapport kan niet opnieuw worden verzonden: het e-mailadres '%s' in het rapport "
                           "is ongeldig. Open het rapport en verbeter uw e-mailadres bij uw persoonlijke gegevens.",
                           {sender}));
        return true;
    }
    const TReportDispatch dispatch = FReport->Dispatch();
    if (ShowMessageBox(Format("Het helpdeskrapport van %s is nog niet verzonden.", {ReportWrittenAt(*FReport)}) + "\r" +
                           Format("Laatste poging (%s): %s", {dispatch.Time, dispatch.Detail}) + "\r\r" +
                           Format("Wilt u het nu per e-mail naar de Brantel Helpdesk verzenden? De helpdesk zal het "
                                  "e-mailadres '%s' gebruiken om met u te communiceren.",
                                  {sender}),
                       TMsgKind::Question, TMsgButtons::YesNo) == IDYES) {
        TUser user;
        user.LoadFromRegistry();
        TReportDelivery().MailReport(*FReport, sender, user);
    }
    return true;
}

int CountUnsentReports(const std::vector<std::shared_ptr<TServiceItem>>& items) {
    int count = 0;
    std::set<std::string> counted;  // two builds of one application share its report folder
    for (const auto& item : items) {
        if (!dynamic_cast<TBranApplication*>(item.get())) continue;
        const std::string base = GetProgramFolder() + ReportBaseFolder(item->Name().AsString()) + "\\";
        if (!counted.insert(UpperCase(base)).second) continue;
        for (const TSearchRec& r : FindFiles(base + "Report*", faAnyFile))
            if ((r.Attr & faDirectory) && ReadReportDispatch(base + r.Name).State == TDispatchState::Unsent) ++count;
    }
    return count;
}

std::string UnsentReportsText(int count) {
    if (count <= 0) return {};
    return count == 1 ? "Er is 1 helpdeskrapport nog niet verzonden."
                      : Format("Er zijn %d helpdeskrapporten nog niet verzonden.", {count});
}
