#include "lib/PropDate.h"

#include <cctype>
#include <cmath>

#include "core/Format.h"
#include "core/StrConv.h"

namespace {
// The token at pos of a storage format: its letter and length (yyyy, yy, mm, m, dd, d).
std::pair<char, int> TokenAt(const std::string& format, size_t pos) {
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(format[pos])));
    if (c != 'y' && c != 'm' && c != 'd') return {0, 1};
    int n = 0;
    while (pos + n < format.size() && std::tolower(static_cast<unsigned char>(format[pos + n])) == c) ++n;
    if (c == 'y') n = n >= 4 ? 4 : 2;
    else n = n >= 2 ? 2 : 1;
    return {c, n};
}
}  // namespace

TDateTime DefaultMinDate() { return EncodeDate(1900, 1, 1); }

std::string FormatDateStorage(const std::string& format, TDateTime date) {
    TDateParts p = DecodeDateTime(date);
    std::string out;
    for (size_t i = 0; i < format.size();) {
        auto [c, n] = TokenAt(format, i);
        if (c == 'y') out += n == 4 ? Format("%.4d", {p.Year}) : Format("%.2d", {p.Year % 100});
        else if (c == 'm') out += Format(n == 2 ? "%.2d" : "%d", {p.Month});
        else if (c == 'd') out += Format(n == 2 ? "%.2d" : "%d", {p.Day});
        else out += format[i];
        i += static_cast<size_t>(n);
    }
    return out;
}

std::optional<TDateTime> ParseDateStorage(const std::string& format, const std::string& text) {
    int year = -1, month = -1, day = -1;
    size_t t = 0;
    for (size_t i = 0; i < format.size();) {
        auto [c, n] = TokenAt(format, i);
        i += static_cast<size_t>(n);
        if (!c) {
            if (t >= text.size() || text[t] != format[i - 1]) return std::nullopt;
            ++t;
            continue;
        }
        // Fixed widths read exactly that many digits; d and m read one or two.
        const int fixed = (c == 'y' || n == 2) ? n : 0;
        int value = 0, digits = 0;
        while (t < text.size() && std::isdigit(static_cast<unsigned char>(text[t])) && (fixed == 0 ? digits < 2 : digits < fixed)) {
            value = value * 10 + (text[t++] - '0');
            ++digits;
        }
        if (digits == 0 || (fixed && digits != fixed)) return std::nullopt;
        if (c == 'y') year = n == 2 ? value + (value < 50 ? 2000 : 1900) : value;
        else if (c == 'm') month = value;
        else day = value;
    }
    if (t != text.size() || year < 0 || month < 0 || day < 0) return std::nullopt;
    return TryEncodeDate(year, month, day);
}

std::unique_ptr<TAppProp> TDatePropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TDateProp>(owner, *this);
}

bool TDatePropDesc::AcceptsDefault(const TVariant& value) const {
    return value.Type() == TVarType::Date || value.Type() == TVarType::Float;
}

void TDateProp::RefuseText(const std::string& text) const {
    throw Refusal(Format("%s is geen geldige datum.\r\nHet veld '%s' kan alleen datums bevatten.",
                         {text, Desc().PlainCaption()}));
}

TVariant TDateProp::DoSetAsVariant(const TVariant& value) const {
    switch (value.Type()) {
        case TVarType::Date: return value;
        case TVarType::Float:
        case TVarType::Integer: return TVariant::Date(value.Float());
        case TVarType::String: return TextToVariant(value.String());
        default: RefuseText(value.Text());
    }
}

TVariant TDateProp::TextToVariant(const std::string& text) const {
    const std::string trimmed = Trim(text);
    if (trimmed.empty()) return TVariant::Null();
    if (auto date = ParseDateStorage(DateDesc().StorageFormat(), trimmed)) return TVariant::Date(*date);
    if (auto date = TryStrToDate(trimmed)) return TVariant::Date(*date);
    RefuseText(text);
}

void TDateProp::DoValidate() const {
    const TDateTime date = std::floor(AsVariant().Date());
    const TDatePropDesc& desc = DateDesc();
    if (date < desc.MinDate())
        throw Refusal(Format("%s is geen geldige datum.\r\nDe waarde van het veld '%s' moet groter/gelijk zijn aan %s.",
                             {DateToStr(date), desc.PlainCaption(), DateToStr(desc.MinDate())}));
    if (date > desc.MaxDate())
        throw Refusal(Format("%s is geen geldige datum.\r\nDe waarde van het veld '%s' moet kleiner/gelijk zijn aan %s.",
                             {DateToStr(date), desc.PlainCaption(), DateToStr(desc.MaxDate())}));
}

std::string TDateProp::FToString() const { return FormatLongDate(AsVariant().Date()); }

std::string TDateProp::StorageText() const { return FormatDateStorage(DateDesc().StorageFormat(), AsVariant().Date()); }

void DescribeDate(TAppObjDesc& desc, TAppObj& prototype, int field, const std::string& storageFormat,
                  TDateTime minDate, TDateTime maxDate, const TVariant& defaultValue, uint16_t flags,
                  const std::string& hint, const std::string& caption, const std::string& name) {
    desc.Describe(prototype, field,
                  std::make_unique<TDatePropDesc>(storageFormat, minDate, maxDate, defaultValue, flags, hint, caption,
                                                  name));
}
