#include "Source/Common/Catalogue/ServiceCollector.h"

#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "core/Exceptions.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"

namespace {
// Appends the service the factory makes; a factory that fails adds nothing.
template <class TFactory>
void Add(TServiceList& list, TFactory make) {
    // A service that cannot be given here and now is left out; the list simply goes without it.
    Attempt([&] { list.push_back(make()); });
}

TStoredReportServices& StoredReportServices() {
    static TStoredReportServices lister;
    return lister;
}
}  // namespace

void SetStoredReportServices(TStoredReportServices lister) { StoredReportServices() = std::move(lister); }

std::string UpdateFolder(const TServiceItem& item) {
    return GetProgramFolder() + "Updates\\" + SafeFolderName(item.Name().AsString()) + "\\";
}

void TServiceCollector::GetServices(const TServiceItemRef& itemRef, TServiceList& list) {
    list.clear();
    TServiceItem& item = *itemRef;
    auto application = std::dynamic_pointer_cast<TBranApplication>(itemRef);
    auto* general = dynamic_cast<TGeneralServiceItem*>(&item);

    if (!GetGeneralServiceItem().Applications().empty())
        Add(list, [] { return std::make_shared<TProblemSolverService>(); });
    Add(list, [&] { return std::make_shared<TOnlineHelpdeskService>(item); });
    Add(list, [&] { return std::make_shared<TOnlineUpdateService>(item); });

    if (application) {
        Add(list, [&] { return std::make_shared<THelpfileService>(*application); });
        Add(list, [&] { return std::make_shared<TReadmeService>(*application); });
        Add(list, [&] { return std::make_shared<TUninstallService>(*application); });
    }
    if (general) {
        Add(list, [] { return std::make_shared<TBrantelOnlineService>(); });
        Add(list, [&] { return std::make_shared<TOnlineShopService>(*general); });
        Add(list, [] { return std::make_shared<TAddressChangeService>(); });
        Add(list, [] { return std::make_shared<TENewsService>(); });
    }

    const std::string updates = UpdateFolder(item);
    for (const TSearchRec& r : FindFiles(updates + "*.exe", faReadOnly | faHidden | faArchive))
        Add(list, [&] { return std::make_shared<TLocalUpdateService>(item, updates + r.Name); });

    if (application && StoredReportServices()) StoredReportServices()(application, list);
}
