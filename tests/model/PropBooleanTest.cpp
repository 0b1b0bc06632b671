#include <gtest/gtest.h>

#include "TestRecords.h"

TEST(PropBoolean, AcceptsItsOwnTextsExactly) {
    auto model = BuildTestModel();
    TTestPerson person;
    TBooleanProp& member = person.Member();
    struct {
        TVariant in;
        std::string stored;  // "" when refused
    } cases[] = {
        {TVariant("True"), "True"}, {TVariant("False"), "False"}, {TVariant(true), "True"},
        {TVariant(0), "False"},     {TVariant(1), "True"},        {TVariant("true"), ""},
        {TVariant("Ja"), ""},       {TVariant(2), ""},            {TVariant::Date(3), ""},
    };
    for (const auto& c : cases) {
        member.SetAsVariant(false);
        if (c.stored.empty()) {
            EXPECT_EQ(ThrownUserMessage([&] { member.SetAsVariant(c.in); }),
                      c.in.Text() + " is geen geldige logische waarde.\r\nHet veld Lid kan alleen een logische waarde bevatten")
                << c.in.Text();
            continue;
        }
        member.SetAsVariant(c.in);
        EXPECT_EQ(member.AsStorageString(), c.stored) << c.in.Text();
        EXPECT_EQ(member.AsString(), c.stored);
        EXPECT_EQ(member.AsLiteral(), c.stored == "True" ? "1" : "0");
        EXPECT_EQ(member.AsBoolean(), c.stored == "True");
    }
    member.SetAsString("");
    EXPECT_TRUE(member.IsNull());
    EXPECT_EQ(ThrownMessage([&] { member.AsBoolean(); }), "TBooleanProp.AsBoolean: Member is NULL");
}

TEST(PropBoolean, TheTwoTextsMustDiffer) {
    EXPECT_EQ(ThrownMessage([] {
                  BuildProbeModel([](TAppObjDesc& d, TAppObj& p) {
                      DescribeBoolean(d, p, 0, "Ja", "Ja", true, 0, "", "Akkoord", "Agreed");
                  });
              }),
              "TBooleanPropDesc.Create: false text and true text must differ (PropBoolean)");
}
