#include "lib/PropString.h"

#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Files.h"

std::unique_ptr<TAppProp> TStringPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TStringProp>(owner, *this);
}

std::unique_ptr<TAppProp> TMemoPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TMemoProp>(owner, *this);
}

std::unique_ptr<TAppProp> TMemoFileRefPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TMemoFileRefProp>(owner, *this);
}

TVariant TStringProp::DoSetAsVariant(const TVariant& value) const {
    if (value.Type() != TVarType::String)
        throw Refusal(Format("Het veld '%s' kan alleen tekst bevatten.", {Desc().PlainCaption()}));
    return value;
}

void TStringProp::DoValidate() const {
    const int maxLength = StringDesc().MaxLength();
    if (maxLength > 0 && CharCount(AsVariant().String()) > maxLength)
        throw EBranStringTooLong(
            Format("Het veld '%s' mag uit maximaal %d tekens bestaan.\r\nVoer een kortere tekst in.",
                   {LowerCase(Desc().PlainCaption()), maxLength}),
            &Owner(), this, maxLength);
}

void TMemoFileRefProp::LoadFileContent() {
    FLines.clear();
    FPendingPath = IsNull() ? std::string() : AsVariant().String();
}

void TMemoFileRefProp::ReadPending() const {
    if (FPendingPath.empty()) return;
    std::vector<std::string> lines;
    // Text files of the program are Windows-1252 on disk; in memory every text is UTF-8.
    if (FileExists(FPendingPath))
        for (const std::string& line : ReadTextLines(FPendingPath)) lines.push_back(AnsiToUtf8(line));
    FLines = std::move(lines);
    FPendingPath.clear();
}

void TMemoFileRefProp::Assign(const TAppProp& source) {
    TStringProp::Assign(source);
    const auto& memo = static_cast<const TMemoFileRefProp&>(source);
    FLines = memo.FLines;
    FPendingPath = memo.FPendingPath;
}

void DescribeString(TAppObjDesc& desc, TAppObj& prototype, int field, int maxLength, const TVariant& defaultValue,
                    uint16_t flags, const std::string& hint, const std::string& caption, const std::string& name) {
    desc.Describe(prototype, field,
                  std::make_unique<TStringPropDesc>(maxLength, defaultValue, flags, hint, caption, name));
}

void DescribeMemo(TAppObjDesc& desc, TAppObj& prototype, int field, const TVariant& defaultValue, uint16_t flags,
                  const std::string& hint, const std::string& caption, const std::string& name) {
    desc.Describe(prototype, field, std::make_unique<TMemoPropDesc>(defaultValue, flags, hint, caption, name));
}

void DescribeMemoFileRef(TAppObjDesc& desc, TAppObj& prototype, int field, int maxLength,
                         const TVariant& defaultValue, uint16_t flags, const std::string& hint,
                         const std::string& caption, const std::string& name) {
    desc.Describe(prototype, field,
                  std::make_unique<TMemoFileRefPropDesc>(maxLength, defaultValue, flags, hint, caption, name));
}
