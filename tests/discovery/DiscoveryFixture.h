#pragma once
// Shared by the discovery tests: the program's model, the categories an item ended up with, and the
// legacy BRANTEL.INI in the Windows folder of the test prefix.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Shell/BranModel.h"

// Built once: the general item outlives every test and refers to this model's descriptors.
inline TAppModel& BranModel() {
    static std::unique_ptr<TAppModel> model = BuildBranServiceModel();
    return *model;
}

// The identifiers of the item's collectors, in order.
std::vector<std::string> CategoryIds(const TServiceItem& item);
// The identifiers among `wanted` for which a collector exists, in the given order: what an item
// asking for `wanted` receives.
std::vector<std::string> Available(const std::vector<std::string>& wanted);

// BRANTEL.INI in the Windows folder holds `text` (nullopt: there is none) for the lifetime of the
// object; whatever was there before comes back afterwards.
class TLegacyIni {
public:
    explicit TLegacyIni(const std::optional<std::string>& text);
    ~TLegacyIni();
    TLegacyIni(const TLegacyIni&) = delete;
    TLegacyIni& operator=(const TLegacyIni&) = delete;

private:
    std::string FPath;
    std::optional<std::string> FSaved;
};
