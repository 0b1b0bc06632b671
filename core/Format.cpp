#include "core/Format.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "core/Exceptions.h"
#include "core/Locale.h"

namespace {
[[noreturn]] void Invalid(std::string_view fmt) {
    throw EBrantel("Format '" + std::string(fmt) + "' invalid or incompatible with argument");
}

std::string WithSeparators(std::string digits, const std::string& sep) {
    if (sep.empty()) return digits;
    std::string out;
    int n = static_cast<int>(digits.size());
    for (int i = 0; i < n; ++i) {
        out += digits[static_cast<size_t>(i)];
        int left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += sep;
    }
    return out;
}

std::string Scientific(double v, int precision) {
    // Classic form: one digit, separator, (precision-1) digits, "E", sign, three digits.
    if (precision < 1 || precision > 18) precision = 15;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", precision - 1, v);
    std::string s = buf;
    size_t e = s.find('E');
    std::string mant = s.substr(0, e), exp = s.substr(e + 1);
    char sign = exp[0];
    std::string digits = exp.substr(1);
    while (digits.size() < 3) digits = "0" + digits;
    size_t dot = mant.find('.');
    if (dot != std::string::npos) mant.replace(dot, 1, DecimalSeparator());
    return mant + "E" + sign + digits;
}

std::string General(double v, int precision) {
    if (precision < 1 || precision > 18) precision = 15;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", precision, v);
    std::string s = buf;
    size_t dot = s.find('.');
    if (dot != std::string::npos) s.replace(dot, 1, DecimalSeparator());
    return s;
}
}  // namespace

std::string FormatFixed(double value, int decimals, bool thousands) {
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(value));
    std::string s = buf;
    size_t dot = s.find('.');
    std::string whole = s.substr(0, dot), frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    if (thousands) whole = WithSeparators(whole, ThousandSeparator());
    bool negative = std::signbit(value) && s.find_first_not_of("0.") != std::string::npos;
    return (negative ? "-" : "") + whole + (frac.empty() ? "" : DecimalSeparator() + frac);
}

std::string Format(std::string_view fmt, std::initializer_list<TFormatArg> args) {
    std::vector<const TFormatArg*> list;
    for (const TFormatArg& a : args) list.push_back(&a);
    std::string out;
    size_t next = 0;
    auto takeInt = [&]() -> long long {
        if (next >= list.size() || list[next]->Kind() != TFormatArg::TKind::Integer) Invalid(fmt);
        return list[next++]->Int();
    };
    auto readNumber = [&](size_t& i, bool allowStar) -> int {
        if (allowStar && i < fmt.size() && fmt[i] == '*') {
            ++i;
            return static_cast<int>(takeInt());
        }
        int v = -1;
        while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') v = (v < 0 ? 0 : v * 10) + (fmt[i++] - '0');
        return v;
    };

    for (size_t i = 0; i < fmt.size();) {
        char c = fmt[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i < fmt.size() && fmt[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        // [index:]
        size_t save = i;
        int n = readNumber(i, false);
        if (i < fmt.size() && fmt[i] == ':') {
            if (n < 0) n = 0;
            next = static_cast<size_t>(n);
            ++i;
        } else {
            i = save;
        }
        bool left = false;
        if (i < fmt.size() && fmt[i] == '-') {
            left = true;
            ++i;
        }
        int width = readNumber(i, true);
        int precision = -1;
        if (i < fmt.size() && fmt[i] == '.') {
            ++i;
            precision = readNumber(i, true);
            if (precision < 0) precision = 0;
        }
        if (i >= fmt.size()) Invalid(fmt);
        char type = static_cast<char>(toupper(static_cast<unsigned char>(fmt[i++])));
        if (next >= list.size()) Invalid(fmt);
        const TFormatArg& arg = *list[next++];
        std::string text;
        switch (type) {
            case 'D':
            case 'U': {
                if (arg.Kind() != TFormatArg::TKind::Integer) Invalid(fmt);
                long long v = arg.Int();
                if (type == 'U') v = static_cast<long long>(static_cast<unsigned long>(v));
                std::string digits = std::to_string(v < 0 ? -v : v);
                while (precision > 0 && static_cast<int>(digits.size()) < precision) digits = "0" + digits;
                text = (v < 0 ? "-" : "") + digits;
                break;
            }
            case 'X': {
                if (arg.Kind() != TFormatArg::TKind::Integer) Invalid(fmt);
                // A negative 32-bit value shows as its 32-bit pattern, as the platform's integers do.
                long long v = arg.Int();
                unsigned long long u = v < 0 && v >= INT32_MIN ? static_cast<uint32_t>(v) : static_cast<unsigned long long>(v);
                char buf[32];
                std::snprintf(buf, sizeof buf, "%llX", u);
                text = buf;
                while (precision > 0 && static_cast<int>(text.size()) < precision) text = "0" + text;
                break;
            }
            case 'F':
            case 'N':
            case 'E':
            case 'G': {
                if (arg.Kind() != TFormatArg::TKind::Float) Invalid(fmt);
                double v = arg.Float();
                if (type == 'F') text = FormatFixed(v, precision < 0 ? 2 : precision);
                if (type == 'N') text = FormatFixed(v, precision < 0 ? 2 : precision, true);
                if (type == 'E') text = Scientific(v, precision < 0 ? 15 : precision);
                if (type == 'G') text = General(v, precision < 0 ? 15 : precision);
                break;
            }
            case 'S': {
                if (arg.Kind() != TFormatArg::TKind::String) Invalid(fmt);
                text = arg.String();
                if (precision >= 0 && static_cast<int>(text.size()) > precision) text.resize(static_cast<size_t>(precision));
                break;
            }
            default:
                Invalid(fmt);
        }
        if (width > static_cast<int>(text.size())) {
            std::string pad(static_cast<size_t>(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}
