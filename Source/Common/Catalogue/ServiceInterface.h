#pragma once
// The two interfaces between the service catalogue and the main window's list view.
//
// Services are reference counted: the collector creates them, the list view's entries hold the
// references, and a service is freed with its last reference (std::shared_ptr). The interface
// identifiers are kept for anyone who needs to name the interfaces.
#include <memory>
#include <string>
#include <vector>

#include <guiddef.h>

class TServiceItem;

// {446CD800-D0A9-11D2-9B90-0008C73AD236}
constexpr GUID IID_IService = {0x446CD800, 0xD0A9, 0x11D2, {0x9B, 0x90, 0x00, 0x08, 0xC7, 0x3A, 0xD2, 0x36}};
// {446CD801-D0A9-11D2-9B90-0008C73AD236}
constexpr GUID IID_IServiceCollector = {0x446CD801, 0xD0A9, 0x11D2, {0x9B, 0x90, 0x00, 0x08, 0xC7, 0x3A, 0xD2, 0x36}};

// Items are shared: whoever uses one (a service, a report, a window) keeps it alive, so a refresh
// of the main window's list may drop its own references at any time.
using TServiceItemRef = std::shared_ptr<TServiceItem>;

// One thing the user can do for a service item. The operations answer whether they succeeded.
class IService {
public:
    virtual ~IService() = default;
    virtual bool Delete(const TServiceItemRef& item) = 0;
    virtual bool Print(const TServiceItemRef& item, int copies) = 0;
    virtual bool Provide(const TServiceItemRef& item) = 0;
    virtual bool CanDelete() const = 0;
    virtual bool CanPrint() const = 0;
    virtual std::string GetDescription() const = 0;
    virtual int GetHelpContext() const = 0;
    virtual int GetImageIndex() const = 0;
    virtual std::string GetCaption() const = 0;
};

using TServiceRef = std::shared_ptr<IService>;
using TServiceList = std::vector<TServiceRef>;

// Decides which services an item offers and in which order.
class IServiceCollector {
public:
    virtual ~IServiceCollector() = default;
    // Empties the list and fills it with freshly created services of the item.
    virtual void GetServices(const TServiceItemRef& item, TServiceList& list) = 0;
};
