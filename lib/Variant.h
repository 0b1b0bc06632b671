#pragma once
// The value a property holds. Besides its kinds of value it knows two ways of holding none:
// Unassigned (never given a value, the default of a property declared without one) and Null
// (explicitly no value). Most callers only ask HasValue(); the distinction matters where a default
// must stay apart from a cleared value.
#include <string>

#include "core/DateTime.h"

enum class TVarType { Unassigned, Null, String, Integer, Float, Date, Boolean };

class TVariant {
public:
    TVariant() = default;  // Unassigned
    TVariant(const char* v) : FType(TVarType::String), FString(v ? v : "") {}
    TVariant(std::string v) : FType(TVarType::String), FString(std::move(v)) {}
    TVariant(int v) : FType(TVarType::Integer), FInt(v) {}
    TVariant(long long v) : FType(TVarType::Integer), FInt(v) {}
    TVariant(double v) : FType(TVarType::Float), FFloat(v) {}
    TVariant(bool v) : FType(TVarType::Boolean), FBool(v) {}

    static TVariant Null();
    static TVariant Date(TDateTime v);

    TVarType Type() const { return FType; }
    bool IsNull() const { return FType == TVarType::Null; }
    bool IsUnassigned() const { return FType == TVarType::Unassigned; }
    bool HasValue() const { return !IsNull() && !IsUnassigned(); }

    // The stored value of that kind; asking for a kind the variant does not hold is a programming
    // error (EBranAssertion).
    const std::string& String() const;
    long long Integer() const;
    double Float() const;  // Float, Integer and Date alike
    TDateTime Date() const;
    bool Boolean() const;

    // Readable text for messages: the string, the number, the short date, "True"/"False", "" for none.
    std::string Text() const;
    // Name of the kind as messages show it ("String", "Null", ...).
    const char* TypeName() const;

    bool operator==(const TVariant& other) const;

private:
    TVarType FType = TVarType::Unassigned;
    std::string FString;
    long long FInt = 0;
    double FFloat = 0;
    bool FBool = false;
};
