#include <gtest/gtest.h>

#include "BranModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "core/StrConv.h"

namespace {
class ServiceItems : public testing::Test {
protected:
    void SetUp() override { BranModel(); }
};

std::vector<std::string> Identifiers(const TTechInfoRefs& refs) {
    std::vector<std::string> ids;
    for (const TTechInfo* t : refs) ids.push_back(t->Identifier());
    return ids;
}
}  // namespace

TEST_F(ServiceItems, DescriptorPropertiesInRegistrationOrder) {
    const TVariant none, empty("");
    const uint16_t pk = apfPrimaryKey | apfIndexed | apfRequired;
    ExpectPropTable(
        *GlobalApp().FindObjDesc("TServiceItem"),
        {
            {"Name", "Naam", "De naam van het item waarvoor service gegeven kan worden.", "TStringProp", 80, none, pk},
            {"HelpFile", "Helpfile", "Het helpbestand van de applicatie", "TStringProp", 255, empty, 0},
            {"ReadmeFile", "ReadmeFile", "Het LeesMij-bestand van de applicatie", "TStringProp", 255, empty, 0},
            {"Build", "Build", "Het buildnummer van de applicatie", "TStringProp", 11, none, 0},
            {"Uninstall", " Uninstall", "Het de-installatie programma van de applicatie", "TStringProp", 255, empty, 0},
            {"HelpdeskURL", "HelpdeskURL", "De URL van de helpdeskpagina voor het service item", "TStringProp", 255,
             empty, 0},
            {"ShopURL", "ShopURL", "De URL van de Online Shop", "TStringProp", 255, empty, 0},
            {"ReleaseDate", "Uitgiftedatum", "De datum waarop deze versie uitgegeven is", "TDateProp", -1, none, 0},
            {"InstallLog", "InstallLog", "Het log-bestand van de installatie", "TStringProp", 255, empty, 0},
            {"ProgramLog", "ProgramLog", "Het log-bestand van het het programma", "TStringProp", 255, empty, 0},
            {"HelpDeskEmailAddress", "HelpdeskEmailAddress", "Het Emailadres van de helpdesk", "TStringProp", 255, none, 0},
            {"HelpDeskPostAddress", "HelpdeskPostAddress", "Het Postadres van de helpdesk", "TStringProp", 255, none, 0},
            {"HelpDeskFaxNumber", "HelpdeskFaxNumber", "Het Faxnummer van de helpdesk", "TStringProp", 255, none, 0},
            {"HelpDeskZipcode", "HelpdeskZipCode", "De adresgegevens van de helpdesk", "TStringProp", 255, none, 0},
            {"HelpDeskDescription", "HelpdeskOmschrijving", "De helpdesk omschrijving", "TStringProp", 255, none, 0},
        });
    TServiceItem item;
    const auto& release = static_cast<const TDatePropDesc&>(item.ReleaseDate().Desc());
    EXPECT_EQ(release.StorageFormat(), "yyyymmdd");
    EXPECT_EQ(release.MaxDate(), EncodeDate(2100, 12, 31));
    item.ReleaseDate().SetAsString("20000131");
    EXPECT_EQ(item.ReleaseDate().AsStorageString(), "20000131");
}

TEST_F(ServiceItems, DisplayTextPerClass) {
    TServiceItem item;
    item.Name().SetAsString("Iets");
    TBranApplication noBuild, nullBuild, withBuild;
    noBuild.Name().SetAsString("Boekhouden");
    noBuild.Build().SetAsString("");
    nullBuild.Name().SetAsString("Kasboek");
    withBuild.Name().SetAsString("Facturen");
    withBuild.Build().SetAsString("5.1.0.12");
    TUnknownApplication unknown;
    TAddedApplication typed("Mijn programma");
    TAddedApplication fromRegistry;
    fromRegistry.Name().SetAsString("Adresboek");
    fromRegistry.Build().SetAsString("2.0");

    struct {
        const TServiceItem& item;
        const char* expected;
    } cases[] = {
        {item, "Iets"},
        {noBuild, "Boekhouden ()"},
        {nullBuild, "Kasboek ()"},
        {withBuild, "Facturen (5.1.0.12)"},
        {unknown, "Anders..."},
        {typed, "Mijn programma (" "???" ")"},
        {fromRegistry, "Adresboek (2.0)"},
        {GetGeneralServiceItem(), "(Algemeen)"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.item.DisplayText(), c.expected);
}

TEST_F(ServiceItems, ApplicationsJoinAndLeaveTheGeneralItemsList) {
    TGeneralServiceItem& general = GetGeneralServiceItem();
    EXPECT_EQ(&GetGeneralServiceItem(), &general);
    const auto& apps = general.Applications();
    const size_t before = apps.size();
    {
        TBranApplication a;
        auto b = std::make_unique<TUnknownApplication>();
        TAddedApplication c("Getypt");
        EXPECT_EQ(apps.size(), before + 3);
        EXPECT_EQ(apps[before], &a);
        b.reset();
        EXPECT_EQ(apps.size(), before + 2);
        EXPECT_EQ(apps.back(), &c);
    }
    EXPECT_EQ(apps.size(), before);
}

TEST_F(ServiceItems, TypedApplicationListsEveryCollectorOfTheGeneralItem) {
    TGeneralServiceItem& general = GetGeneralServiceItem();
    std::vector<std::string> expected;
    for (const TTechInfoCategory& category : TechInfoCategories)
        if (category.Create) expected.push_back(category.Identifier);
    EXPECT_EQ(Identifiers(general.TechInfos()), expected);
    ASSERT_EQ(general.TechInfos().size(), general.Collectors().size());
    for (size_t i = 0; i < general.Collectors().size(); ++i)
        EXPECT_EQ(general.TechInfos()[i], general.Collectors()[i].get());

    TAddedApplication typed("Getypt");
    EXPECT_EQ(typed.TechInfos(), general.TechInfos());
    EXPECT_TRUE(TAddedApplication().TechInfos().empty());
    EXPECT_TRUE(TBranApplication().TechInfos().empty());
}

TEST_F(ServiceItems, AddTechInfoByIdentifierIgnoresCaseAndUnknownNames) {
    TBranApplication app;
    AddTechInfoByIdentifier(app, "CPUandBIOS");
    AddTechInfoByIdentifier(app, "InstallLog");
    AddTechInfoByIdentifier(app, "");
    EXPECT_TRUE(app.TechInfos().empty());

    const TTechInfoList& collectors = GetGeneralServiceItem().Collectors();
    if (collectors.empty()) GTEST_SKIP() << "no collector is built yet";
    const TTechInfo* last = collectors.back().get();
    AddTechInfoByIdentifier(app, LowerCase(last->Identifier()));
    AddTechInfoByIdentifier(app, UpperCase(last->Identifier()));
    EXPECT_EQ(app.TechInfos(), (TTechInfoRefs{const_cast<TTechInfo*>(last), const_cast<TTechInfo*>(last)}));
}
