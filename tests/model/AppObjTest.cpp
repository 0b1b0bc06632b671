#include <gtest/gtest.h>

#include "TestRecords.h"
#include "lib/AppObjTypeStack.h"

namespace {
void Name80(TAppObjDesc& d, TAppObj& p, uint16_t flags = apfPrimaryKey) {
    DescribeString(d, p, 0, 80, TVariant(), flags, "De naam.", "&Naam", "Name");
}
}  // namespace

TEST(AppObj, ModelBuildRegistersPropertiesInOrderWithTheirFieldLocations) {
    auto model = BuildTestModel();
    TTestPerson person;
    const TAppObjDesc& desc = person.GetObjDesc();
    EXPECT_EQ(desc.ClassName(), "TTestPersonDesc");
    EXPECT_EQ(desc.DescName(), "Person");
    EXPECT_EQ(desc.SingularName(), "Persoon");
    EXPECT_EQ(desc.PluralName(), "Personen");
    EXPECT_TRUE(desc.IsDescribed());

    const std::vector<std::pair<std::string, int>> expected = {
        {"Name", TTestPerson::fName},     {"Note", TTestPerson::fNote},     {"Born", TTestPerson::fBorn},
        {"Member", TTestPerson::fMember}, {"Level", TTestPerson::fLevel},   {"Score", TTestPerson::fScore},
        {"Colour", TTestPerson::fColour}, {"Report", TTestPerson::fReport}, {"Address", TTestPerson::fAddress}};
    ASSERT_EQ(desc.PropCount(), static_cast<int>(expected.size()));
    ASSERT_EQ(desc.PropLocs().Count(), desc.PropCount());
    for (int nr = 0; nr < desc.PropCount(); ++nr) {
        EXPECT_EQ(desc.PropDesc(nr).Name(), expected[nr].first);
        EXPECT_EQ(desc.PropLocs()[nr].Location, expected[nr].second) << expected[nr].first;
        EXPECT_EQ(desc.PropLocs()[nr].Desc, &desc.PropDesc(nr));
        EXPECT_EQ(&person.Prop(nr), person.Field(expected[nr].second));
        EXPECT_EQ(person.FindPropNr(expected[nr].first), nr);
    }
    EXPECT_EQ(desc.GetPKPropNr(), pnName);
    EXPECT_EQ(desc.PropDesc(pnName).PlainCaption(), "Achternaam");
    EXPECT_EQ(desc.PropDesc(pnName).Caption(), "Achter&naam");
    // The primary key is also indexed and required.
    EXPECT_EQ(desc.PropDesc(pnName).Flags(), apfPrimaryKey | apfIndexed | apfRequired);
    ASSERT_NE(desc.GetDefaultSortOrder(), nullptr);
    EXPECT_EQ(desc.GetDefaultSortOrder()->Name(), "Naam");

    // A new object holds the defaults.
    EXPECT_TRUE(person.Name().AsVariant().IsUnassigned());
    EXPECT_EQ(person.Prop(pnNote).AsVariant(), TVariant(""));
    EXPECT_EQ(person.Member().AsVariant(), TVariant(false));
    person.Name().SetAsString("Jansen");
    EXPECT_EQ(person.DisplayText(), "Jansen");
}

TEST(AppObj, InternalFlagImpliesHidden) {
    auto model = BuildProbeModel([](TAppObjDesc& d, TAppObj& p) { Name80(d, p, apfPrimaryKey | apfInternal); });
    TProbe probe;
    EXPECT_TRUE(probe.GetObjDesc().PropDesc(0).HasFlag(apfHidden));
}

TEST(AppObj, DescriptorMistakesAreRefused) {
    struct {
        const char* what;
        std::function<void(TAppObjDesc&, TAppObj&)> props;
        std::function<void(TAppObjDesc&)> orders;
        std::string expected;
    } cases[] = {
        {"field described twice",
         [](TAppObjDesc& d, TAppObj& p) {
             Name80(d, p);
             DescribeString(d, p, 0, 10, "", 0, "", "Tweede", "Second");
         },
         {}, "TStringProp TProbe.Second is already allocated (AppObj) <TProbe.Describe Second>"},
        {"Null default for a required property",
         [](TAppObjDesc& d, TAppObj& p) { DescribeString(d, p, 0, 10, TVariant::Null(), apfRequired, "", "A", "A"); },
         {}, "Default NULL value for required AppProp is not allowed (AppObj) <TProbe.Describe A>"},
        {"default of the wrong type",
         [](TAppObjDesc& d, TAppObj& p) { DescribeString(d, p, 0, 10, 12, 0, "", "A", "A"); },
         {}, "Default value is of incorrect type (AppObj) <TProbe.Describe A>"},
        {"sort order without the primary key",
         [](TAppObjDesc& d, TAppObj& p) {
             Name80(d, p);
             DescribeString(d, p, 1, 10, "", 0, "", "Plaats", "City");
         },
         [](TAppObjDesc& d) { d.AddSortOrder("Plaats", {"City"}); },
         "The SortPropRefList and the SelectPropRefList of sortorder \"Plaats\" must contain PK-appProp. (AppObj)"},
        {"sort order without any primary key",
         [](TAppObjDesc& d, TAppObj& p) { DescribeString(d, p, 0, 10, "", 0, "", "Plaats", "City"); },
         [](TAppObjDesc& d) { d.AddSortOrder("Plaats", {"City"}); },
         "TProbeDesc.GetPKPropNr: no Primary key in Probe (AppObj)"},
        {"volatile property ordered by an indexed sort order",
         [](TAppObjDesc& d, TAppObj& p) {
             Name80(d, p);
             DescribeString(d, p, 1, 10, "", apfVolatile, "", "Plaats", "City");
         },
         [](TAppObjDesc& d) { d.AddSortOrder("Plaats", {"City", "Name"}); },
         "Volatile AppProp City can not be used in sortorder \"Plaats\". (AppObj)"},
    };
    for (auto& c : cases) {
        EXPECT_EQ(ThrownMessage([&] { BuildProbeModel(c.props, c.orders); }), c.expected) << c.what;
        EXPECT_EQ(GlobalApp().FindObjDesc("TProbe"), nullptr) << "a failed build leaves no model: " << c.what;
    }
    // Without an index the volatile property may be used.
    EXPECT_NO_THROW(BuildProbeModel(
        [](TAppObjDesc& d, TAppObj& p) {
            Name80(d, p);
            DescribeString(d, p, 1, 10, "", apfVolatile, "", "Plaats", "City");
        },
        [](TAppObjDesc& d) { d.AddSortOrder("Plaats", {"City", "Name"}, SO_NO_INDEX); }));
}

TEST(AppObj, ARecordClassIsRegisteredOnce) {
    EXPECT_EQ(ThrownMessage([] { BuildModel("Dubbel", {DescClass<TTestAddressDesc>(), DescClass<TTestAddressDesc>()}); }),
              "TAppModel.AddObjDesc: TTestAddress already exists in another model. (AppObj)");
    auto model = BuildTestModel();
    EXPECT_EQ(ThrownMessage([] { BuildModel("Tweede", {DescClass<TTestAddressDesc>()}); }),
              "TAppModel.AddObjDesc: TTestAddress already exists in another model. (AppObj)");
}

TEST(AppObj, ObjectWithoutDescriptorCannotBeCreated) {
    EXPECT_EQ(ThrownMessage([] { TTestPerson person; }),
              "TTestPerson.Create: no AppObjDesc registered for TTestPerson (AppObj)");
}

TEST(AppObj, ValidationOfRequiredAndOptionalProperties) {
    auto model = BuildTestModel();
    TTestPerson person;
    EXPECT_EQ(ThrownUserMessage([&] { person.Name().Validate(); }), "het veld Achternaam moet een waarde krijgen");
    person.Name().Clear();
    try {
        person.Name().Validate();
        FAIL() << "a required Null must fail";
    } catch (const EBranValidate& e) {
        EXPECT_EQ(e.TechnicalMessage(), "het veld Achternaam moet een waarde krijgen (TTestPersonDesc.Name)");
        EXPECT_EQ(e.Object(), &person);
        EXPECT_EQ(e.Prop(), &person.Name());
    }
    // Optional properties without a value skip the kind's own rules.
    person.Born().Clear();
    EXPECT_NO_THROW(person.Born().Validate());
    EXPECT_NO_THROW(person.Prop(pnLevel).Validate());
}

TEST(AppObj, ChangeHandlersSeeRealChangesOnly) {
    auto model = BuildTestModel();
    TTestPerson person;
    std::vector<std::string> calls;
    int propSubscriber = 0, objSubscriber = 0;
    person.Name().AddOnChangedHandler(&propSubscriber, [&](TAppProp& p) { calls.push_back("prop " + p.AsString()); });
    person.AddOnChangedHandler(&objSubscriber, [&](TAppProp& p) { calls.push_back("obj " + p.Name()); });

    person.Name().SetAsString("Jansen");
    person.Name().SetAsString("Jansen");                          // same value: no change
    EXPECT_THROW(person.Name().SetAsVariant(true), EBranValidate);  // refused: no change
    EXPECT_EQ(person.Name().AsString(), "Jansen");
    person.Member().SetAsVariant(true);
    EXPECT_EQ(calls, (std::vector<std::string>{"prop Jansen", "obj Name", "obj Member"}));

    person.Name().RemoveOnChangedHandler(&propSubscriber);
    person.Name().SetAsString("Pietersen");
    EXPECT_EQ(calls.back(), "obj Name");
    try {
        person.Name().RemoveOnChangedHandler(&propSubscriber);
        FAIL() << "removing twice must fail";
    } catch (const EBrantel& e) {
        EXPECT_EQ(e.UserMessage(), "Kon OnChangedHandler voor TTestPerson.Name niet verwijderen");
        EXPECT_EQ(e.TechnicalMessage(), "Event handler was not added");
    }
    person.RemoveOnChangedHandler(&objSubscriber);
    try {
        person.RemoveOnChangedHandler(&objSubscriber);
        FAIL() << "removing twice must fail";
    } catch (const EBrantel& e) {
        EXPECT_EQ(e.UserMessage(), "Kon OnChangedHandler voor TTestPerson niet verwijderen");
    }
}

TEST(AppObj, RestoreReturnsToTheValueBeforeTheLastChange) {
    auto model = BuildTestModel();
    TTestPerson person;
    person.Name().SetAsString("Jansen");
    person.Name().SetAsString(std::string(81, 'x'));
    EXPECT_THROW(person.Name().Validate(), EBranStringTooLong);
    person.Name().Restore();
    EXPECT_EQ(person.Name().AsString(), "Jansen");
}

TEST(AppObj, AssignCopiesEveryPropertyOfTheSameKindOnly) {
    auto model = BuildTestModel();
    TTestPerson a, b;
    a.Name().SetAsString("Jansen");
    a.Born().SetAsVariant(TVariant::Date(EncodeDate(1970, 5, 17)));
    a.Member().SetAsVariant(true);
    a.GetPropByRef({pnAddress, 1}).SetAsString("Utrecht");
    b.Assign(a);
    for (int nr = 0; nr < a.PropCount(); ++nr) EXPECT_EQ(b.Prop(nr).AsString(), a.Prop(nr).AsString()) << nr;
    EXPECT_EQ(b.GetPropByRef({pnAddress, 1}).AsString(), "Utrecht");

    EXPECT_EQ(ThrownMessage([&] { b.Name().Assign(a.Born()); }),
              "TStringProp.Assign: Can't assign TDateProp to TStringProp");
    TTestAddress address;
    EXPECT_EQ(ThrownMessage([&] { b.Assign(address); }),
              "TTestPerson.Assign: Can't assign TTestAddress to TTestPerson");
}

TEST(AppObj, PropertiesAreFoundByNameAndPath) {
    auto model = BuildTestModel();
    TTestPerson person;
    EXPECT_EQ(ThrownMessage([&] { person.FindPropNr("Leeftijd"); }),
              "TAppObj.FindPropNr: Can't find Leeftijd in TTestPerson (AppObj)");
    EXPECT_EQ(ThrownMessage([&] { person.FindPropRef("Leeftijd"); }),
              "TAppObj.FindPropRef: Can't find Leeftijd in TTestPerson (AppObj)");
    EXPECT_EQ(person.FindPropRef("Born"), (TPropRef{pnBorn}));

    // Through the nested address: its second property, the city.
    TAppProp& city = person.GetPropByRef({pnAddress, 1});
    EXPECT_EQ(city.Name(), "City");
    EXPECT_EQ(person.GetObjDesc().GetPropLocPtrByPropRef({pnAddress, 1}),
              (std::vector<int>{TTestPerson::fAddress, TTestAddress::fCity}));
    EXPECT_EQ(ThrownMessage([&] { person.GetObjDesc().GetPropLocPtrByPropRef({pnBorn, 1}); }),
              "GetPropLocPtrByPropRef: Container property expected (AppObj)");
    EXPECT_EQ(ThrownMessage([&] { person.GetPropByRef({pnBorn, 1}); }),
              "PropRef has incompatible base type: TTestPerson (AppObj)");
    EXPECT_EQ(ThrownMessage([&] { person.GetPropByRef({pnAddress, 7}); }),
              "PropRef has incompatible base type: TTestAddress (AppObj)");
}

namespace {
class TLoop : public TAppObj {
public:
    TLoop() : TAppObj("TLoop") {}
};
class TLoopDesc : public TAppObjDesc {
public:
    explicit TLoopDesc(TAppModel& m) : TAppObjDesc(m, "TLoopDesc", "TLoop", 1, 0, "Loop", "Loops", "Loop") {}
    void DefineSortOrders() override {}

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override { return std::make_unique<TLoop>(); }
    void DescribeProps(TAppObj& p) override {
        DescribeContainer(*this, p, 0, "TLoop", [] { return std::make_unique<TLoop>(); }, 0, "", "Lus", "Inner");
    }
};
}  // namespace

TEST(AppObj, AKindThatContainsItselfIsCaughtByTheTypeStack) {
    EXPECT_EQ(ThrownMessage([] { BuildModel("Lus", {DescClass<TLoopDesc>()}); }),
              "TAppObjTypeStack.Push: Overflow (AppObjTypeStack)");
}

TEST(AppObj, FileContentIsLoadedForFlaggedProperties) {
    auto model = BuildTestModel();
    TTestPerson person;
    auto& report = static_cast<TMemoFileRefProp&>(person.Prop(pnReport));
    report.SetAsString("Z:\\does\\not\\exist.rtf");
    report.Lines() = {"oud"};
    person.LoadFileContents();
    EXPECT_TRUE(report.Lines().empty());
}
