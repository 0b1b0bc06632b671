#pragma once
// The user record: the personal data entered once and reused by the helpdesk report, the address
// change and the news subscription. It lives in the registry, one string value per property.
#include <string>

#include "lib/AppObj.h"
#include "lib/PropBoolean.h"
#include "lib/PropString.h"

// Below HKEY_LOCAL_MACHINE.
extern const char* const UserRegistrationKey;

class TUserDesc : public TAppObjDesc {
public:
    explicit TUserDesc(TAppModel& model);
    void DefineSortOrders() override;

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override;
    void DescribeProps(TAppObj& prototype) override;
};

class TUser : public TAppObj {
public:
    enum TField {
        fLastName, fInitials, fPrefix, fOrganization, fStreet, fHouseNumber, fZipCode, fCity, fCountry, fEmail,
        fTel, fReachableFrom, fReachableUntil, fFax, fCallBeforeFax, fInternet, fMailserver, fMailSecurity, fMailUserName
    };
    TUser();

    TStringProp& LastName() const { return FieldAs<TStringProp>(fLastName); }
    TStringProp& Initials() const { return FieldAs<TStringProp>(fInitials); }
    TStringProp& Prefix() const { return FieldAs<TStringProp>(fPrefix); }
    TStringProp& Organization() const { return FieldAs<TStringProp>(fOrganization); }
    TStringProp& Street() const { return FieldAs<TStringProp>(fStreet); }
    TStringProp& HouseNumber() const { return FieldAs<TStringProp>(fHouseNumber); }
    TStringProp& ZipCode() const { return FieldAs<TStringProp>(fZipCode); }
    TStringProp& City() const { return FieldAs<TStringProp>(fCity); }
    TStringProp& Country() const { return FieldAs<TStringProp>(fCountry); }
    TStringProp& Email() const { return FieldAs<TStringProp>(fEmail); }  // property "E-mail"
    TStringProp& Tel() const { return FieldAs<TStringProp>(fTel); }
    TStringProp& ReachableFrom() const { return FieldAs<TStringProp>(fReachableFrom); }
    TStringProp& ReachableUntil() const { return FieldAs<TStringProp>(fReachableUntil); }
    TStringProp& Fax() const { return FieldAs<TStringProp>(fFax); }
    TBooleanProp& CallBeforeFax() const { return FieldAs<TBooleanProp>(fCallBeforeFax); }
    TBooleanProp& Internet() const { return FieldAs<TBooleanProp>(fInternet); }
    TStringProp& Mailserver() const { return FieldAs<TStringProp>(fMailserver); }
    // How the mail server is reached and logged in to (MailServerSetting.h); the password is kept
    // apart, for the Windows user alone, and is no property of the record.
    TStringProp& MailSecurity() const { return FieldAs<TStringProp>(fMailSecurity); }
    TStringProp& MailUserName() const { return FieldAs<TStringProp>(fMailUserName); }

    // "Klantnummer": the zip code and the house number without blanks, then the first three
    // characters of the last name ("1234 AB", "12 a", "Jansen" give "1234AB12aJan").
    std::string CustomerNumber() const;
    // Zip code, house number and last name all hold a non-empty text.
    bool HasCustomerNumber() const;

    // Reads every property from its value under the registration key (creating the key when it is
    // missing). A missing value leaves the property Null, or empty when it must not be Null; the
    // descriptor defaults do not survive. Afterwards Internet is true and CallBeforeFax false unless
    // a value said otherwise. A value of the wrong registry type throws ERegistry.
    void LoadFromRegistry();
    // Writes every property's text, and deletes the value of every property without one. Writes
    // nothing when the key does not exist; the answer tells whether it did.
    bool SaveToRegistry() const;
};
