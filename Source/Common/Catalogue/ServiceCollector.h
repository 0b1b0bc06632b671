#pragma once
// Which services an item offers, in a fixed order:
//   general item: [problem solver], online helpdesk, online update, the maker's online service,
//                 online shop, address change, E-News, local updates;
//   application:  [problem solver], online helpdesk, online update, help file, readme, uninstall,
//                 local updates, stored helpdesk reports.
// Every service is created afresh on each call, in a step of its own: one that cannot be given here
// (no browser, a missing file, an unreadable report) is left out and the rest still come.
#include <functional>
#include <memory>

#include "Source/Common/Catalogue/ServiceInterface.h"

class TBranApplication;

class TServiceCollector : public IServiceCollector {
public:
    void GetServices(const TServiceItemRef& item, TServiceList& list) override;
};

// The folder of downloaded updates of an item: <program folder>Updates\<item Name>\ (the name made
// safe for a folder name, as for reports).
std::string UpdateFolder(const TServiceItem& item);

// Appends the services of an application's stored helpdesk reports. The helpdesk report module sets
// it at start-up (RegisterStoredReportServices); until then no stored report is listed.
using TStoredReportServices = std::function<void(const std::shared_ptr<TBranApplication>&, TServiceList&)>;
void SetStoredReportServices(TStoredReportServices lister);
