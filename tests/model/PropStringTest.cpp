#include <gtest/gtest.h>

#include "TestRecords.h"
#include "TestSupport.h"

TEST(PropString, MaximumLengthCountsCharacters) {
    auto model = BuildTestModel();
    TTestPerson person;
    struct {
        std::string text;
        bool accepted;
    } cases[] = {
        {std::string(80, 'a'), true},
        {std::string(81, 'a'), false},
        {"", true},
        // 80 characters of two bytes each are still 80 characters.
        {[] { std::string s; for (int i = 0; i < 80; ++i) s += "é"; return s; }(), true},
    };
    for (const auto& c : cases) {
        person.Name().SetAsString(c.text);
        EXPECT_EQ(ThrownUserMessage([&] { person.Name().Validate(); }),
                  c.accepted ? "" : "Het veld 'achternaam' mag uit maximaal 80 tekens bestaan.\r\nVoer een kortere tekst in.")
            << c.text.size();
    }
    person.Name().SetAsString(std::string(81, 'a'));
    try {
        person.Name().Validate();
    } catch (const EBranStringTooLong& e) {
        EXPECT_EQ(e.MaxLength(), 80);
        EXPECT_EQ(e.TechnicalMessage(),
                  "Het veld 'achternaam' mag uit maximaal 80 tekens bestaan.\r\nVoer een kortere tekst in. "
                  "(TTestPersonDesc.Name)");
    }
    // A memo has no maximum.
    person.Prop(pnNote).SetAsString(std::string(100000, 'm'));
    EXPECT_NO_THROW(person.Prop(pnNote).Validate());
}

TEST(PropString, OnlyTextIsAccepted) {
    auto model = BuildTestModel();
    TTestPerson person;
    person.Name().SetAsString("Jansen");
    for (const TVariant& v : {TVariant(12), TVariant(true), TVariant(1.5), TVariant::Date(1000)})
        EXPECT_EQ(ThrownUserMessage([&] { person.Name().SetAsVariant(v); }),
                  "Het veld 'Achternaam' kan alleen tekst bevatten.")
            << v.TypeName();
    EXPECT_EQ(person.Name().AsString(), "Jansen");
}

TEST(PropString, TextForms) {
    auto model = BuildTestModel();
    TTestPerson person;
    EXPECT_EQ(person.Name().AsLiteral(), "NULL");
    person.Name().SetAsString("d'Ancona");
    EXPECT_EQ(person.Name().AsString(), "d'Ancona");
    EXPECT_EQ(person.Name().AsStorageString(), "d'Ancona");
    EXPECT_EQ(person.Name().AsLiteral(), "'d''Ancona'");
    person.Name().ClearToEmpty();
    EXPECT_FALSE(person.Name().IsNull());
    EXPECT_EQ(person.Name().AsVariant(), TVariant(""));
    person.Name().Unassign();
    EXPECT_TRUE(person.Name().IsNull());
    EXPECT_TRUE(person.Name().AsVariant().IsUnassigned());
}

TEST(PropString, FileReferenceLoadsTheLinesOfItsFile) {
    auto model = BuildTestModel();
    TScratchFolder folder;
    const std::string path = folder.WriteFile("CASE.RTF", "{\\rtf1\r\nregel twee\r\n}\r\n");
    TTestPerson person, copy;
    auto& report = static_cast<TMemoFileRefProp&>(person.Prop(pnReport));
    report.SetAsString(path);
    person.LoadFileContents();
    EXPECT_EQ(report.Lines(), (std::vector<std::string>{"{\\rtf1", "regel twee", "}"}));
    copy.Assign(person);
    EXPECT_EQ(static_cast<TMemoFileRefProp&>(copy.Prop(pnReport)).Lines(), report.Lines());

    report.Clear();
    person.LoadFileContents();
    EXPECT_TRUE(report.Lines().empty());
}
