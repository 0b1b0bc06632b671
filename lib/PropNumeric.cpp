#include "lib/PropNumeric.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "core/Format.h"
#include "core/Locale.h"
#include "core/StrConv.h"

namespace {
// A number typed with either '.' or the user's decimal separator.
std::optional<double> ParseNumber(std::string text) {
    text = Trim(text);
    const std::string sep = DecimalSeparator();
    if (!sep.empty() && sep != ".")
        for (size_t p; (p = text.find(sep)) != std::string::npos;) text.replace(p, sep.size(), ".");
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text.c_str(), &end);
    if (errno || *end) return std::nullopt;
    return v;
}

std::optional<long long> ParseWholeNumber(const std::string& text) {
    std::string t = Trim(text);
    if (t.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(t.c_str(), &end, 10);
    if (errno || *end) return std::nullopt;
    return v;
}
}  // namespace

// --- numeric -------------------------------------------------------------------------------------

std::unique_ptr<TAppProp> TNumericPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TNumericProp>(owner, *this);
}

bool TNumericPropDesc::AcceptsDefault(const TVariant& value) const {
    return value.Type() == TVarType::Integer || value.Type() == TVarType::Float;
}

TVariant TNumericProp::DoSetAsVariant(const TVariant& value) const {
    if (value.Type() == TVarType::Integer || value.Type() == TVarType::Float) return TVariant(value.Float());
    if (value.Type() == TVarType::String)
        if (auto v = ParseNumber(value.String())) return TVariant(*v);
    throw Refusal(Format("%s is geen geldig getal.\r\nHet veld %s kan alleen een getal bevatten.",
                         {value.Text(), Desc().PlainCaption()}));
}

TVariant TNumericProp::TextToVariant(const std::string& text) const {
    return Trim(text).empty() ? TVariant::Null() : TVariant(text);
}

std::string TNumericProp::FToString() const {
    std::string text = Format("%.6f", {AsVariant().Float()});
    // Only the decimals a number needs.
    const std::string sep = DecimalSeparator();
    if (text.find(sep) != std::string::npos) {
        while (!text.empty() && text.back() == '0') text.pop_back();
        if (text.size() >= sep.size() && text.compare(text.size() - sep.size(), sep.size(), sep) == 0)
            text.resize(text.size() - sep.size());
    }
    return text;
}

// --- lookup --------------------------------------------------------------------------------------

std::unique_ptr<TAppProp> TLookupPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TLookupProp>(owner, *this);
}

TVariant TLookupProp::DoSetAsVariant(const TVariant& value) const {
    if (value.Type() != TVarType::String)
        throw Refusal(Format("Het veld %s kan alleen tekst bevatten", {Desc().PlainCaption()}));
    return value;
}

void TLookupProp::DoValidate() const {
    const auto& texts = static_cast<const TLookupPropDesc&>(Desc()).Texts();
    if (std::find(texts.begin(), texts.end(), AsVariant().String()) == texts.end())
        throw Refusal(Format("%s is geen geldige waarde.\r\nHet veld %s kan alleen een waarde uit de lijst bevatten.",
                             {AsVariant().String(), Desc().PlainCaption()}));
}

// --- indexed lookup ------------------------------------------------------------------------------

std::unique_ptr<TAppProp> TIndexedLookupPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TIndexedLookupProp>(owner, *this);
}

TVariant TIndexedLookupProp::DoSetAsVariant(const TVariant& value) const {
    if (value.Type() == TVarType::Integer) return value;
    if (value.Type() == TVarType::String)
        if (auto v = ParseWholeNumber(value.String())) return TVariant(*v);
    throw Refusal(Format("%s is geen geldig getal.\r\nHet veld %s kan alleen een geheel getal bevatten.",
                         {value.Text(), Desc().PlainCaption()}));
}

TVariant TIndexedLookupProp::TextToVariant(const std::string& text) const {
    return Trim(text).empty() ? TVariant::Null() : TVariant(text);
}

void TIndexedLookupProp::DoValidate() const {
    const long long v = AsVariant().Integer();
    const TIndexedLookupPropDesc& desc = LookupDesc();
    if (v < desc.MinValue())
        throw Refusal(Format("%d is geen geldig getal.\r\nDe waarde van het veld %s moet groter/gelijk zijn aan %d.",
                             {v, desc.PlainCaption(), desc.MinValue()}));
    if (v > desc.MaxValue())
        throw Refusal(Format("%d is geen geldig getal.\r\nDe waarde van het veld %s moet kleiner/gelijk zijn aan %d.",
                             {v, desc.PlainCaption(), desc.MaxValue()}));
}

std::string TIndexedLookupProp::FToString() const {
    const long long index = AsVariant().Integer() - LookupDesc().MinValue();
    const auto& texts = LookupDesc().Texts();
    if (index >= 0 && index < static_cast<long long>(texts.size())) return texts[static_cast<size_t>(index)];
    return IntToStr(AsVariant().Integer());
}
