#include <gtest/gtest.h>

#include "TestRecords.h"

TEST(PropNumeric, ConversionsAndRanges) {
    auto model = BuildTestModel();
    TTestPerson person;
    TAppProp& level = person.Prop(pnLevel);
    TAppProp& score = person.Prop(pnScore);
    TAppProp& colour = person.Prop(pnColour);

    level.SetAsString("2");
    EXPECT_EQ(level.AsString(), "midden");
    EXPECT_EQ(ThrownUserMessage([&] { level.SetAsString("twee"); }),
              "twee is geen geldig getal.\r\nHet veld Niveau kan alleen een geheel getal bevatten.");
    level.SetAsVariant(0);
    EXPECT_EQ(ThrownUserMessage([&] { level.Validate(); }),
              "0 is geen geldig getal.\r\nDe waarde van het veld Niveau moet groter/gelijk zijn aan 1.");
    level.SetAsVariant(4);
    EXPECT_EQ(ThrownUserMessage([&] { level.Validate(); }),
              "4 is geen geldig getal.\r\nDe waarde van het veld Niveau moet kleiner/gelijk zijn aan 3.");

    score.SetAsString("7,5");
    EXPECT_EQ(score.AsVariant(), TVariant(7.5));
    EXPECT_EQ(score.AsString(), "7,5");
    score.SetAsVariant(12);
    EXPECT_EQ(score.AsString(), "12");
    EXPECT_EQ(ThrownUserMessage([&] { score.SetAsString("veel"); }),
              "veel is geen geldig getal.\r\nHet veld Score kan alleen een getal bevatten.");

    EXPECT_EQ(ThrownUserMessage([&] { colour.SetAsVariant(3); }), "Het veld Kleur kan alleen tekst bevatten");
    colour.SetAsString("blauw");
    EXPECT_EQ(ThrownUserMessage([&] { colour.Validate(); }),
              "blauw is geen geldige waarde.\r\nHet veld Kleur kan alleen een waarde uit de lijst bevatten.");
    colour.SetAsString("groen");
    EXPECT_NO_THROW(colour.Validate());
}
