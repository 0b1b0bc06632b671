#include "lib/PropBoolean.h"

#include "core/Format.h"

TBooleanPropDesc::TBooleanPropDesc(std::string falseText, std::string trueText, TVariant defaultValue,
                                   uint16_t flags, std::string hint, std::string caption, std::string name)
    : TAppPropDesc(std::move(name), std::move(caption), std::move(hint), std::move(defaultValue), flags),
      FFalseText(std::move(falseText)),
      FTrueText(std::move(trueText)) {
    BranAssert(FFalseText != FTrueText, "TBooleanPropDesc.Create: false text and true text must differ",
               "PropBoolean");
}

std::unique_ptr<TAppProp> TBooleanPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TBooleanProp>(owner, *this);
}

TVariant TBooleanProp::DoSetAsVariant(const TVariant& value) const {
    const TBooleanPropDesc& desc = BooleanDesc();
    switch (value.Type()) {
        case TVarType::Boolean: return value;
        case TVarType::Integer:
            if (value.Integer() == 0 || value.Integer() == 1) return TVariant(value.Integer() == 1);
            break;
        case TVarType::String:
            if (value.String() == desc.TrueText()) return TVariant(true);
            if (value.String() == desc.FalseText()) return TVariant(false);
            break;
        default: break;
    }
    throw Refusal(Format("%s is geen geldige logische waarde.\r\nHet veld %s kan alleen een logische waarde bevatten",
                         {value.Text(), desc.PlainCaption()}));
}

TVariant TBooleanProp::TextToVariant(const std::string& text) const {
    return text.empty() ? TVariant::Null() : TVariant(text);
}

std::string TBooleanProp::FToString() const {
    return AsVariant().Boolean() ? BooleanDesc().TrueText() : BooleanDesc().FalseText();
}

void DescribeBoolean(TAppObjDesc& desc, TAppObj& prototype, int field, const std::string& falseText,
                     const std::string& trueText, const TVariant& defaultValue, uint16_t flags, const std::string& hint,
                     const std::string& caption, const std::string& name) {
    desc.Describe(prototype, field,
                  std::make_unique<TBooleanPropDesc>(falseText, trueText, defaultValue, flags, hint, caption, name));
}
