#include "lib/Variant.h"

#include "core/Exceptions.h"
#include "core/Format.h"

namespace {
void Expect(bool ok, const char* what) { BranAssert(ok, what, "Variant"); }
}  // namespace

TVariant TVariant::Null() {
    TVariant v;
    v.FType = TVarType::Null;
    return v;
}

TVariant TVariant::Date(TDateTime d) {
    TVariant v;
    v.FType = TVarType::Date;
    v.FFloat = d;
    return v;
}

const std::string& TVariant::String() const {
    Expect(FType == TVarType::String, "TVariant.String: not a string");
    return FString;
}

long long TVariant::Integer() const {
    Expect(FType == TVarType::Integer, "TVariant.Integer: not an integer");
    return FInt;
}

double TVariant::Float() const {
    if (FType == TVarType::Integer) return static_cast<double>(FInt);
    Expect(FType == TVarType::Float || FType == TVarType::Date, "TVariant.Float: not a number");
    return FFloat;
}

TDateTime TVariant::Date() const {
    Expect(FType == TVarType::Date, "TVariant.Date: not a date");
    return FFloat;
}

bool TVariant::Boolean() const {
    Expect(FType == TVarType::Boolean, "TVariant.Boolean: not a boolean");
    return FBool;
}

std::string TVariant::Text() const {
    switch (FType) {
        case TVarType::String: return FString;
        case TVarType::Integer: return std::to_string(FInt);
        case TVarType::Float: return Format("%g", {FFloat});
        case TVarType::Date: return DateToStr(FFloat);
        case TVarType::Boolean: return FBool ? "True" : "False";
        default: return {};
    }
}

const char* TVariant::TypeName() const {
    switch (FType) {
        case TVarType::Unassigned: return "Unassigned";
        case TVarType::Null: return "Null";
        case TVarType::String: return "String";
        case TVarType::Integer: return "Integer";
        case TVarType::Float: return "Float";
        case TVarType::Date: return "Date";
        case TVarType::Boolean: return "Boolean";
    }
    return "?";
}

bool TVariant::operator==(const TVariant& other) const {
    if (FType != other.FType) return false;
    switch (FType) {
        case TVarType::String: return FString == other.FString;
        case TVarType::Integer: return FInt == other.FInt;
        case TVarType::Float:
        case TVarType::Date: return FFloat == other.FFloat;
        case TVarType::Boolean: return FBool == other.FBool;
        default: return true;
    }
}
