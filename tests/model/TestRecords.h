#pragma once
// Small record kinds for the model's own tests: a person with one property of every kind the
// program's records use, and an address nested in it as a container.
#include "lib/App.h"
#include "lib/AppObj.h"
#include "lib/PropBoolean.h"
#include "lib/PropContainer.h"
#include "lib/PropDate.h"
#include "lib/PropNumeric.h"
#include "lib/PropString.h"

class TTestAddress : public TAppObj {
public:
    enum { fStreet, fCity };
    TTestAddress() : TAppObj("TTestAddress") {}
};

class TTestAddressDesc : public TAppObjDesc {
public:
    explicit TTestAddressDesc(TAppModel& model)
        : TAppObjDesc(model, "TTestAddressDesc", "TTestAddress", 1, 0, "Address", "Adres(sen)", "Adres") {}
    void DefineSortOrders() override { AddSortOrder("Straat", {"Street"}); }

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override { return std::make_unique<TTestAddress>(); }
    void DescribeProps(TAppObj& p) override {
        DescribeString(*this, p, TTestAddress::fStreet, 40, TVariant(), apfPrimaryKey, "De straat.", "&Straat", "Street");
        DescribeString(*this, p, TTestAddress::fCity, 40, "", 0, "De plaats.", "&Plaats", "City");
    }
};

class TTestPerson : public TAppObj {
public:
    // Field order differs from registration order on purpose: locations are not property numbers.
    enum { fAddress, fName, fNote, fBorn, fMember, fLevel, fScore, fColour, fReport };
    TTestPerson() : TAppObj("TTestPerson") {}
    TStringProp& Name() const { return FieldAs<TStringProp>(fName); }
    TDateProp& Born() const { return FieldAs<TDateProp>(fBorn); }
    TBooleanProp& Member() const { return FieldAs<TBooleanProp>(fMember); }
};

class TTestPersonDesc : public TAppObjDesc {
public:
    explicit TTestPersonDesc(TAppModel& model)
        : TAppObjDesc(model, "TTestPersonDesc", "TTestPerson", 1, 0, "Person", "Personen", "Persoon") {}
    void DefineSortOrders() override { AddSortOrder("Naam", {"Name"}); }

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override { return std::make_unique<TTestPerson>(); }
    void DescribeProps(TAppObj& p) override {
        DescribeString(*this, p, TTestPerson::fName, 80, TVariant(), apfPrimaryKey, "De naam.", "Achter&naam", "Name");
        DescribeMemo(*this, p, TTestPerson::fNote, "", 0, "Een notitie.", "&Notitie", "Note");
        DescribeDate(*this, p, TTestPerson::fBorn, "yyyymmdd", DefaultMinDate(), EncodeDate(2100, 12, 31), TVariant(),
                     0, "De geboortedatum.", "&Geboren", "Born");
        DescribeBoolean(*this, p, TTestPerson::fMember, "False", "True", false, 0, "Lid of niet.", "&Lid", "Member");
        Describe(p, TTestPerson::fLevel,
                 std::make_unique<TIndexedLookupPropDesc>(1, 3, std::vector<std::string>{"laag", "midden", "hoog"},
                                                          TVariant(), 0, "Het niveau.", "Ni&veau", "Level"));
        Describe(p, TTestPerson::fScore,
                 std::make_unique<TNumericPropDesc>("Score", "&Score", "De score.", TVariant(), apfVolatile));
        Describe(p, TTestPerson::fColour,
                 std::make_unique<TLookupPropDesc>(std::vector<std::string>{"rood", "groen"}, TVariant(), 0,
                                                   "De kleur.", "&Kleur", "Colour"));
        DescribeMemoFileRef(*this, p, TTestPerson::fReport, 200, TVariant(), apfFileContent, "Het verslag.",
                            "Verslag", "Report");
        DescribeContainer(*this, p, TTestPerson::fAddress, "TTestAddress",
                          [] { return std::make_unique<TTestAddress>(); }, 0, "Het adres.", "&Adres", "Address");
    }
};

// Property numbers of the person in registration order.
enum { pnName, pnNote, pnBorn, pnMember, pnLevel, pnScore, pnColour, pnReport, pnAddress };

inline std::unique_ptr<TAppModel> BuildTestModel() {
    return BuildModel("Test", {DescClass<TTestAddressDesc>(), DescClass<TTestPersonDesc>()});
}

// The message of the exception thrown by f, or "" when none was thrown.
template <class TException = EBrantel, class F>
std::string ThrownMessage(F&& f) {
    try {
        f();
    } catch (const TException& e) {
        return e.Message();
    }
    return {};
}

template <class F>
std::string ThrownUserMessage(F&& f) {
    try {
        f();
    } catch (const EBranValidate& e) {
        return e.UserMessage();
    }
    return {};
}

// A record kind whose properties and sort orders each test writes itself.
class TProbe : public TAppObj {
public:
    TProbe() : TAppObj("TProbe") {}
};

class TProbeDesc : public TAppObjDesc {
public:
    inline static std::function<void(TAppObjDesc&, TAppObj&)> Props;
    inline static std::function<void(TAppObjDesc&)> Orders;
    explicit TProbeDesc(TAppModel& model)
        : TAppObjDesc(model, "TProbeDesc", "TProbe", 1, 0, "Probe", "Probes", "Probe") {}
    void DefineSortOrders() override {
        if (Orders) Orders(*this);
    }

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override { return std::make_unique<TProbe>(); }
    void DescribeProps(TAppObj& p) override {
        if (Props) Props(*this, p);
    }
};

// Builds a model of only the probe kind, with the given properties and sort orders.
inline std::unique_ptr<TAppModel> BuildProbeModel(std::function<void(TAppObjDesc&, TAppObj&)> props,
                                                  std::function<void(TAppObjDesc&)> orders = {}) {
    TProbeDesc::Props = std::move(props);
    TProbeDesc::Orders = std::move(orders);
    return BuildModel("Probe", {DescClass<TProbeDesc>()});
}
