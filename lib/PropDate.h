#pragma once
// Date properties: shown in the user's long date format, stored in the descriptor's own format
// (e.g. "yyyymmdd"), limited to a range.
#include "lib/AppObj.h"

class TDatePropDesc : public TAppPropDesc {
public:
    TDatePropDesc(std::string storageFormat, TDateTime minDate, TDateTime maxDate, TVariant defaultValue,
                  uint16_t flags, std::string hint, std::string caption, std::string name)
        : TAppPropDesc(std::move(name), std::move(caption), std::move(hint), std::move(defaultValue), flags),
          FStorageFormat(std::move(storageFormat)),
          FMinDate(minDate),
          FMaxDate(maxDate) {}
    const char* ClassName() const override { return "TDatePropDesc"; }
    const char* PropClassName() const override { return "TDateProp"; }
    const std::string& StorageFormat() const { return FStorageFormat; }
    TDateTime MinDate() const { return FMinDate; }
    TDateTime MaxDate() const { return FMaxDate; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant& value) const override;

private:
    std::string FStorageFormat;
    TDateTime FMinDate, FMaxDate;
};

class TDateProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TDateProp"; }
    const TDatePropDesc& DateDesc() const { return static_cast<const TDatePropDesc&>(Desc()); }

protected:
    // Dates and day numbers; text in the storage format or the user's short date format.
    TVariant DoSetAsVariant(const TVariant& value) const override;
    TVariant TextToVariant(const std::string& text) const override;  // empty text: Null
    void DoValidate() const override;                                 // the range
    std::string FToString() const override;                           // long date
    std::string StorageText() const override;

private:
    [[noreturn]] void RefuseText(const std::string& text) const;
};

// The earliest date a date property accepts unless its descriptor says otherwise.
TDateTime DefaultMinDate();

// A date as text in a format of the tokens yyyy, yy, mm, m, dd, d (other characters literal), and
// the reverse: nullopt when the text does not follow the format or names no date.
std::string FormatDateStorage(const std::string& format, TDateTime date);
std::optional<TDateTime> ParseDateStorage(const std::string& format, const std::string& text);

void DescribeDate(TAppObjDesc& desc, TAppObj& prototype, int field, const std::string& storageFormat,
                  TDateTime minDate, TDateTime maxDate, const TVariant& defaultValue, uint16_t flags,
                  const std::string& hint, const std::string& caption, const std::string& name);
