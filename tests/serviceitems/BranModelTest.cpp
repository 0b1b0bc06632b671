#include <gtest/gtest.h>

#include "BranModelFixture.h"
#include "lib/PropString.h"

void ExpectPropTable(const TAppObjDesc& desc, const std::vector<TPropRow>& rows) {
    ASSERT_EQ(desc.PropCount(), static_cast<int>(rows.size())) << desc.ClassName();
    for (int nr = 0; nr < desc.PropCount(); ++nr) {
        const TAppPropDesc& p = desc.PropDesc(nr);
        const TPropRow& row = rows[static_cast<size_t>(nr)];
        EXPECT_EQ(p.Name(), row.Name) << nr;
        EXPECT_EQ(p.Caption(), row.Caption) << row.Name;
        EXPECT_EQ(p.Hint(), row.Hint) << row.Name;
        EXPECT_STREQ(p.PropClassName(), row.Kind) << row.Name;
        if (auto* s = dynamic_cast<const TStringPropDesc*>(&p)) EXPECT_EQ(s->MaxLength(), row.MaxLength) << row.Name;
        else EXPECT_EQ(row.MaxLength, -1) << row.Name;
        EXPECT_EQ(p.DefaultValue(), row.Default) << row.Name;
        EXPECT_EQ(p.Flags(), row.Flags) << row.Name;
    }
}

TEST(BranModel, HoldsTheServiceItemReportAndUserDescriptors) {
    TAppModel& model = BranModel();
    EXPECT_EQ(model.Name(), "Bran-Service");
    struct {
        const char* objClass;
        const char* descClass;
        const char* descName;
        const char* singular;
        const char* plural;
        const char* sortOrder;
        const char* sortProp;
    } rows[] = {
        {"TServiceItem", "TServiceItemDesc", "ServiceItem", "ServiceItem", "ServiceItem(s)", "Naam", "Name"},
        {"THelpdeskReport", "THelpdeskReportDesc", "HelpdeskReport", "Helpdeskrapport", "Helpdeskrapport(en)", "Naam",
         "Naam"},
        {"TUser", "TUserDesc", "User", "Gebruiker", "Gebruiker(s)", "Achternaam", "LastName"},
    };
    for (const auto& r : rows) {
        const TAppObjDesc* desc = GlobalApp().FindObjDesc(r.objClass);
        ASSERT_NE(desc, nullptr) << r.objClass;
        EXPECT_EQ(&desc->Model(), &model);
        EXPECT_EQ(desc->ClassName(), r.descClass);
        EXPECT_EQ(desc->DescName(), r.descName);
        EXPECT_EQ(desc->SingularName(), r.singular);
        EXPECT_EQ(desc->PluralName(), r.plural);
        EXPECT_EQ(desc->Option1(), 1);
        EXPECT_EQ(desc->Option2(), 0);
        EXPECT_TRUE(desc->IsDescribed());
        ASSERT_NE(desc->GetDefaultSortOrder(), nullptr);
        EXPECT_EQ(desc->GetDefaultSortOrder()->Name(), r.sortOrder);
        EXPECT_EQ(desc->GetDefaultSortOrder()->OrderBy()[0][0], desc->IndexOfProp(r.sortProp));
    }
}

TEST(BranModel, HelpdeskReportProperties) {
    BranModel();
    const TAppObjDesc* desc = GlobalApp().FindObjDesc("THelpdeskReport");
    ASSERT_NE(desc, nullptr);
    ExpectPropTable(*desc, {
        {"Naam", "Naam", "De naam van het helpdeskrapport.", "TStringProp", 200, TVariant(), 0x0025},
        {"ReportText", "ReportText", "De tekst van het helpdeskrapport.", "TMemoFileRefProp", 200, TVariant(), 0x0200},
    });
}
