#pragma once
// Format(fmt, {args...}) with these directives:
//   %[index:][-][width][.precision]type   with type d u x f e g n s, '*' for width or precision,
//   %% for a percent sign.
// %f and %n default to two decimals and use the user's decimal separator ("1024,00" on a Dutch
// system); %x is upper-case hexadecimal; a precision on %d pads with zeros, on %s it cuts.
// A directive that does not fit its argument, or has none, throws EBrantel
// "Format '<fmt>' invalid or incompatible with argument".
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class TFormatArg {
public:
    enum class TKind { Integer, Float, String };
    TFormatArg(int v) : FKind(TKind::Integer), FInt(v) {}
    TFormatArg(long v) : FKind(TKind::Integer), FInt(v) {}
    TFormatArg(long long v) : FKind(TKind::Integer), FInt(v) {}
    TFormatArg(unsigned v) : FKind(TKind::Integer), FInt(v) {}
    TFormatArg(unsigned long v) : FKind(TKind::Integer), FInt(static_cast<long long>(v)) {}
    TFormatArg(unsigned long long v) : FKind(TKind::Integer), FInt(static_cast<long long>(v)) {}
    TFormatArg(double v) : FKind(TKind::Float), FFloat(v) {}
    TFormatArg(const char* v) : FKind(TKind::String), FString(v ? v : "") {}
    TFormatArg(std::string_view v) : FKind(TKind::String), FString(v) {}
    TFormatArg(const std::string& v) : FKind(TKind::String), FString(v) {}

    TKind Kind() const { return FKind; }
    long long Int() const { return FInt; }
    double Float() const { return FFloat; }
    const std::string& String() const { return FString; }

private:
    TKind FKind;
    long long FInt = 0;
    double FFloat = 0;
    std::string FString;
};

std::string Format(std::string_view fmt, std::initializer_list<TFormatArg> args = {});

// Fixed-point text with the user's decimal separator, optionally with thousands separators.
std::string FormatFixed(double value, int decimals, bool thousands = false);
