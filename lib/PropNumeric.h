#pragma once
// The kinds our own records do not use but the model offers: numbers, a text from a fixed list,
// and a whole number within a range that indexes a list of texts.
#include <vector>

#include "lib/AppObj.h"

class TNumericPropDesc : public TAppPropDesc {
public:
    using TAppPropDesc::TAppPropDesc;
    const char* ClassName() const override { return "TNumericPropDesc"; }
    const char* PropClassName() const override { return "TNumericProp"; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant& value) const override;
};

class TNumericProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TNumericProp"; }

protected:
    TVariant DoSetAsVariant(const TVariant& value) const override;
    TVariant TextToVariant(const std::string& text) const override;  // empty text: Null
    std::string FToString() const override;
};

class TLookupPropDesc : public TAppPropDesc {
public:
    TLookupPropDesc(std::vector<std::string> texts, TVariant defaultValue, uint16_t flags, std::string hint,
                    std::string caption, std::string name)
        : TAppPropDesc(std::move(name), std::move(caption), std::move(hint), std::move(defaultValue), flags),
          FTexts(std::move(texts)) {}
    const char* ClassName() const override { return "TLookupPropDesc"; }
    const char* PropClassName() const override { return "TLookupProp"; }
    const std::vector<std::string>& Texts() const { return FTexts; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant& value) const override { return value.Type() == TVarType::String; }

private:
    std::vector<std::string> FTexts;
};

class TLookupProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TLookupProp"; }

protected:
    TVariant DoSetAsVariant(const TVariant& value) const override;
    void DoValidate() const override;  // one of the texts
};

class TIndexedLookupPropDesc : public TAppPropDesc {
public:
    TIndexedLookupPropDesc(int minValue, int maxValue, std::vector<std::string> texts, TVariant defaultValue,
                           uint16_t flags, std::string hint, std::string caption, std::string name)
        : TAppPropDesc(std::move(name), std::move(caption), std::move(hint), std::move(defaultValue), flags),
          FMin(minValue),
          FMax(maxValue),
          FTexts(std::move(texts)) {}
    const char* ClassName() const override { return "TIndexedLookupPropDesc"; }
    const char* PropClassName() const override { return "TIndexedLookupProp"; }
    int MinValue() const { return FMin; }
    int MaxValue() const { return FMax; }
    // The text for value MinValue() + i is Texts()[i].
    const std::vector<std::string>& Texts() const { return FTexts; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant& value) const override { return value.Type() == TVarType::Integer; }

private:
    int FMin, FMax;
    std::vector<std::string> FTexts;
};

class TIndexedLookupProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TIndexedLookupProp"; }
    const TIndexedLookupPropDesc& LookupDesc() const { return static_cast<const TIndexedLookupPropDesc&>(Desc()); }

protected:
    TVariant DoSetAsVariant(const TVariant& value) const override;  // whole numbers only
    TVariant TextToVariant(const std::string& text) const override;  // empty text: Null
    void DoValidate() const override;                                 // the range
    std::string FToString() const override;                           // the indexed text
};
