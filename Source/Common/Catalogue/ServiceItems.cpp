#include "Source/Common/Catalogue/ServiceItems.h"

#include <algorithm>
#include <memory>

#include "core/Format.h"

namespace {
constexpr int kPathLength = 255;

std::unique_ptr<TGeneralServiceItem>& GeneralItemInstance() {
    static std::unique_ptr<TGeneralServiceItem> item;
    return item;
}
}  // namespace

// --- descriptor ----------------------------------------------------------------------------------

TServiceItemDesc::TServiceItemDesc(TAppModel& model)
    : TAppObjDesc(model, "TServiceItemDesc", "TServiceItem", 1, 0, "ServiceItem", "ServiceItem(s)", "ServiceItem") {}

std::unique_ptr<TAppObj> TServiceItemDesc::CreatePrototype() const { return std::make_unique<TServiceItem>(); }

void TServiceItemDesc::DescribeProps(TAppObj& p) {
    using F = TServiceItem;
    const TVariant none;
    const TVariant empty("");
    DescribeString(*this, p, F::fName, 80, none, apfPrimaryKey | apfIndexed, "De naam van het item waarvoor service gegeven kan worden.",
                   "Naam", "Name");
    DescribeString(*this, p, F::fHelpFile, kPathLength, empty, 0, "Het helpbestand van de applicatie", "Helpfile",
                   "HelpFile");
    DescribeString(*this, p, F::fReadmeFile, kPathLength, empty, 0, "Het LeesMij-bestand van de applicatie",
                   "ReadmeFile", "ReadmeFile");
    DescribeString(*this, p, F::fBuild, 11, none, 0, "Het buildnummer van de applicatie", "Build", "Build");
    DescribeString(*this, p, F::fUninstall, kPathLength, empty, 0, "Het de-installatie programma van de applicatie",
                   " Uninstall", "Uninstall");
    DescribeString(*this, p, F::fHelpdeskURL, kPathLength, empty, 0,
                   "De URL van de helpdeskpagina voor het service item", "HelpdeskURL", "HelpdeskURL");
    DescribeString(*this, p, F::fShopURL, kPathLength, empty, 0, "De URL van de Online Shop", "ShopURL", "ShopURL");
    DescribeDate(*this, p, F::fReleaseDate, "yyyymmdd", DefaultMinDate(), EncodeDate(2100, 12, 31), none, 0,
                 "De datum waarop deze versie uitgegeven is", "Uitgiftedatum", "ReleaseDate");
    DescribeString(*this, p, F::fInstallLog, kPathLength, empty, 0, "Het log-bestand van de installatie",
                   "InstallLog", "InstallLog");
    DescribeString(*this, p, F::fProgramLog, kPathLength, empty, 0, "Het log-bestand van het het programma",
                   "ProgramLog", "ProgramLog");
    DescribeString(*this, p, F::fHelpDeskEmailAddress, kPathLength, none, 0, "Het Emailadres van de helpdesk",
                   "HelpdeskEmailAddress", "HelpDeskEmailAddress");
    DescribeString(*this, p, F::fHelpDeskPostAddress, kPathLength, none, 0, "Het Postadres van de helpdesk",
                   "HelpdeskPostAddress", "HelpDeskPostAddress");
    DescribeString(*this, p, F::fHelpDeskFaxNumber, kPathLength, none, 0, "Het Faxnummer van de helpdesk",
                   "HelpdeskFaxNumber", "HelpDeskFaxNumber");
    DescribeString(*this, p, F::fHelpDeskZipcode, kPathLength, none, 0, "De adresgegevens van de helpdesk",
                   "HelpdeskZipCode", "HelpDeskZipcode");
    DescribeString(*this, p, F::fHelpDeskDescription, kPathLength, none, 0, "De helpdesk omschrijving",
                   "HelpdeskOmschrijving", "HelpDeskDescription");
}

void TServiceItemDesc::DefineSortOrders() { AddSortOrder("Naam", {"Name"}); }

// --- items ---------------------------------------------------------------------------------------

TServiceItem::TServiceItem() : TAppObj("TServiceItem") {}

std::string TServiceItem::DisplayText() const { return Name().AsString(); }

TBranApplication::TBranApplication() { GetGeneralServiceItem().FApplications.push_back(this); }

TBranApplication::~TBranApplication() {
    // At process end the general item may be gone before the last application.
    if (auto& general = GeneralItemInstance()) {
        auto& apps = general->FApplications;
        apps.erase(std::remove(apps.begin(), apps.end(), this), apps.end());
    }
}

std::string TBranApplication::DisplayText() const {
    return Format("%s (%s)", {Name().AsString(), Build().AsString()});
}

TUnknownApplication::TUnknownApplication() { Name().SetAsString("Anders..."); }

std::string TUnknownApplication::DisplayText() const { return Name().AsString(); }

TAddedApplication::TAddedApplication(const std::string& typedName) {
    Name().SetAsString(typedName);
    Build().SetAsString("???");
    TechInfos() = GetGeneralServiceItem().TechInfos();
}

TGeneralServiceItem::TGeneralServiceItem() : FCollectors(CreateAllCollectors()) {
    Name().SetAsString("(Algemeen)");
    for (const auto& collector : FCollectors) TechInfos().push_back(collector.get());
}

TGeneralServiceItem::~TGeneralServiceItem() = default;

TGeneralServiceItem& GetGeneralServiceItem() {
    auto& item = GeneralItemInstance();
    if (!item) item = std::make_unique<TGeneralServiceItem>();
    return *item;
}

std::shared_ptr<TServiceItem> SharedGeneralServiceItem() {
    return std::shared_ptr<TServiceItem>(std::shared_ptr<TServiceItem>(), &GetGeneralServiceItem());
}

void AddTechInfoByIdentifier(TServiceItem& item, const std::string& identifier) {
    FindCollector(GetGeneralServiceItem().Collectors(), identifier, item.TechInfos());
}
