#pragma once
// Text properties: single-line text with a maximum length, unbounded memo text, and the file
// reference memo whose value names a file whose lines it can load.
#include <string>
#include <vector>

#include "lib/AppObj.h"

class TStringPropDesc : public TAppPropDesc {
public:
    TStringPropDesc(int maxLength, TVariant defaultValue, uint16_t flags, std::string hint, std::string caption,
                    std::string name)
        : TAppPropDesc(std::move(name), std::move(caption), std::move(hint), std::move(defaultValue), flags),
          FMaxLength(maxLength) {}
    const char* ClassName() const override { return "TStringPropDesc"; }
    const char* PropClassName() const override { return "TStringProp"; }
    int MaxLength() const { return FMaxLength; }  // in characters; 0 = unlimited
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant& value) const override { return value.Type() == TVarType::String; }

private:
    int FMaxLength;
};

class TStringProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TStringProp"; }
    const TStringPropDesc& StringDesc() const { return static_cast<const TStringPropDesc&>(Desc()); }

protected:
    // Only text: "Het veld '<caption>' kan alleen tekst bevatten."
    TVariant DoSetAsVariant(const TVariant& value) const override;
    // Longer than the maximum: EBranStringTooLong.
    void DoValidate() const override;
    TVariant EmptyValue() const override { return TVariant(std::string()); }
};

class TMemoPropDesc : public TStringPropDesc {
public:
    TMemoPropDesc(TVariant defaultValue, uint16_t flags, std::string hint, std::string caption, std::string name)
        : TStringPropDesc(0, std::move(defaultValue), flags, std::move(hint), std::move(caption), std::move(name)) {}
    const char* ClassName() const override { return "TMemoPropDesc"; }
    const char* PropClassName() const override { return "TMemoProp"; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;
};

class TMemoProp : public TStringProp {
public:
    using TStringProp::TStringProp;
    const char* ClassName() const override { return "TMemoProp"; }
};

// The value is a path (bounded like a string); the lines of that file are held beside it. They are
// read when first asked for, not when loading is requested: an object listed again and again (the
// main window lists every stored report whenever it is activated) then never reads a file nobody
// looks at.
class TMemoFileRefPropDesc : public TStringPropDesc {
public:
    using TStringPropDesc::TStringPropDesc;
    const char* ClassName() const override { return "TMemoFileRefPropDesc"; }
    const char* PropClassName() const override { return "TMemoFileRefProp"; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;
};

class TMemoFileRefProp : public TStringProp {
public:
    using TStringProp::TStringProp;
    const char* ClassName() const override { return "TMemoFileRefProp"; }
    std::vector<std::string>& Lines() { return ReadPending(), FLines; }
    const std::vector<std::string>& Lines() const { return ReadPending(), FLines; }
    // Empties the lines; then, when the value names an existing file, its lines are what Lines()
    // gives (Windows-1252 on disk, UTF-8 here; without line ends), read on first use from the path
    // named now.
    void LoadFileContent() override;
    void Assign(const TAppProp& source) override;

private:
    void ReadPending() const;
    mutable std::vector<std::string> FLines;
    mutable std::string FPendingPath;  // the file still to be read into FLines; empty when read
};

// Describe routines, called by a descriptor's DescribeProps for each property in order.
void DescribeString(TAppObjDesc& desc, TAppObj& prototype, int field, int maxLength, const TVariant& defaultValue,
                    uint16_t flags, const std::string& hint, const std::string& caption, const std::string& name);
void DescribeMemo(TAppObjDesc& desc, TAppObj& prototype, int field, const TVariant& defaultValue, uint16_t flags,
                  const std::string& hint, const std::string& caption, const std::string& name);
void DescribeMemoFileRef(TAppObjDesc& desc, TAppObj& prototype, int field, int maxLength,
                         const TVariant& defaultValue, uint16_t flags, const std::string& hint,
                         const std::string& caption, const std::string& name);
