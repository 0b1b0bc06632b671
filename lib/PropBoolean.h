#pragma once
// Boolean properties, shown and stored with the descriptor's two texts (e.g. "False" / "True").
#include "lib/AppObj.h"

class TBooleanPropDesc : public TAppPropDesc {
public:
    // The two texts must differ (a programming error otherwise).
    TBooleanPropDesc(std::string falseText, std::string trueText, TVariant defaultValue, uint16_t flags,
                     std::string hint, std::string caption, std::string name);
    const char* ClassName() const override { return "TBooleanPropDesc"; }
    const char* PropClassName() const override { return "TBooleanProp"; }
    const std::string& FalseText() const { return FFalseText; }
    const std::string& TrueText() const { return FTrueText; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant& value) const override { return value.Type() == TVarType::Boolean; }

private:
    std::string FFalseText, FTrueText;
};

class TBooleanProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TBooleanProp"; }
    const TBooleanPropDesc& BooleanDesc() const { return static_cast<const TBooleanPropDesc&>(Desc()); }

protected:
    // Booleans, 0 and 1, and exactly the descriptor's two texts.
    TVariant DoSetAsVariant(const TVariant& value) const override;
    TVariant TextToVariant(const std::string& text) const override;  // empty text: Null
    std::string FToString() const override;
    std::string Literal() const override { return AsVariant().Boolean() ? "1" : "0"; }
    bool FToBoolean() const override { return AsVariant().Boolean(); }
};

void DescribeBoolean(TAppObjDesc& desc, TAppObj& prototype, int field, const std::string& falseText,
                     const std::string& trueText, const TVariant& defaultValue, uint16_t flags, const std::string& hint,
                     const std::string& caption, const std::string& name);
