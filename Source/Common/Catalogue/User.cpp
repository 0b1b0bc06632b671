#include "Source/Common/Catalogue/User.h"

#include <algorithm>

#include "Source/Common/Catalogue/Deployment.h"
#include "platform/Registry.h"

const char* const UserRegistrationKey = "Software\\Brantel\\Shared\\Registration";

namespace {
std::string WithoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// The first count characters of a UTF-8 text (all of it when shorter).
std::string FirstChars(const std::string& text, int count) {
    size_t end = 0;
    for (int n = 0; n < count && end < text.size(); ++n) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    }
    return text.substr(0, end);
}

bool HasText(const TAppProp& prop) { return !prop.IsNull() && !prop.AsString().empty(); }
}  // namespace

// --- descriptor ----------------------------------------------------------------------------------

TUserDesc::TUserDesc(TAppModel& model)
    : TAppObjDesc(model, "TUserDesc", "TUser", 1, 0, "User", "Gebruiker(s)", "Gebruiker") {}

std::unique_ptr<TAppObj> TUserDesc::CreatePrototype() const { return std::make_unique<TUser>(); }

void TUserDesc::DescribeProps(TAppObj& p) {
    using F = TUser;
    const TVariant none;
    const TVariant empty("");
    DescribeString(*this, p, F::fLastName, 80, none, apfPrimaryKey, "De achternaam van de gebruiker.", "Achter&naam",
                   "LastName");
    DescribeString(*this, p, F::fInitials, 80, none, 0, "De voorletters van de gebruiker.", "&Voorletters",
                   "Initials");
    DescribeString(*this, p, F::fPrefix, 80, empty, 0, "Het tussenvoegsel van de gebruiker.", "T&ussenvoegsel(s)",
                   "Prefix");
    DescribeString(*this, p, F::fOrganization, 80, none, 0, "Het bedrijf van de gebruiker.", "&Bedrijf",
                   "Organization");
    DescribeString(*this, p, F::fStreet, 80, none, 0, "De straat waar de gebruiker woont.", "&Straat", "Street");
    DescribeString(*this, p, F::fHouseNumber, 80, none, 0, "Het huisnummer in de straat waar de gebruiker woont.",
                   "&Huisnummer", "HouseNumber");
    DescribeString(*this, p, F::fZipCode, 80, none, 0, "De postcode van de gebruiker.", "Post&code", "ZipCode");
    DescribeString(*this, p, F::fCity, 80, none, 0, "De plaats waar de gebruiker woont.", "&Plaats", "City");
    DescribeString(*this, p, F::fCountry, 80, none, 0, "Het land waar de gebruiker in woont.", "&Land", "Country");
    DescribeString(*this, p, F::fEmail, 80, none, 0, "Het e-mailadres van de gebruiker.", "&E-mail", "E-mail");
    DescribeString(*this, p, F::fTel, 80, none, 0, "Het telefoonnummer van de gebruiker.", "&Telefoon", "Tel");
    DescribeString(*this, p, F::fReachableFrom, 7, "08:00", 0, "Tijd vanaf de gebruiker per telefoon bereikbaar is.",
                   "Berei&kbaar van", "ReachableFrom");
    DescribeString(*this, p, F::fReachableUntil, 7, "17:00", 0,
                   "Tijd totdat de gebruiker per telefoon bereikbaar is.", "Bereikbaar tot", "ReachableUntil");
    DescribeString(*this, p, F::fFax, 80, empty, 0, "Het faxnummer van de gebruiker.", "&Fax", "Fax");
    DescribeBoolean(*this, p, F::fCallBeforeFax, "False", "True", false, 0,
                    "Gebruiker moet eerst worden gebeld voordat een fax kan worden gestuurd.",
                    "Bellen &alvorens naar dit nummer te faxen", "CallBeforeFax");
    DescribeBoolean(*this, p, F::fInternet, "False", "True", true, 0,
                    "De gebruiker beschikt over een Internet-aansluiting", "&Ik beschik over een Internet-aansluiting",
                    "Internet");
    DescribeString(*this, p, F::fMailserver, 40, DefaultMailHost, 0, "Mailserver", "&Mailserver", "Mailserver");
    DescribeString(*this, p, F::fMailSecurity, 10, none, 0, "De beveiliging van de verbinding met de mailserver.",
                   "&Beveiliging", "MailSecurity");
    DescribeString(*this, p, F::fMailUserName, 80, none, 0, "De gebruikersnaam bij de mailserver.",
                   "&Gebruikersnaam", "MailUserName");
}

void TUserDesc::DefineSortOrders() { AddSortOrder("Achternaam", {"LastName"}); }

// --- record --------------------------------------------------------------------------------------

TUser::TUser() : TAppObj("TUser") {}

std::string TUser::CustomerNumber() const {
    return WithoutBlanks(ZipCode().AsString()) + WithoutBlanks(HouseNumber().AsString()) +
           FirstChars(LastName().AsString(), 3);
}

bool TUser::HasCustomerNumber() const { return HasText(ZipCode()) && HasText(HouseNumber()) && HasText(LastName()); }

void TUser::LoadFromRegistry() {
    TRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true)) {
        for (int nr = 0; nr < PropCount(); ++nr) {
            TAppProp& prop = Prop(nr);
            bool loaded = false;
            if (key.ValueExists(prop.Name())) {
                try {
                    prop.SetAsString(key.ReadString(prop.Name()));
                    loaded = true;
                } catch (const EBranValidate&) {
                    // A text the property cannot hold (a boolean other than "True"/"False") counts
                    // as missing, so one damaged value does not lock the user out of the record.
                }
            }
            if (!loaded) {
                prop.Clear();
                if (prop.Desc().IsRequired()) prop.ClearToEmpty();
            }
        }
        key.Close();
    }
    if (Internet().IsNull()) Internet().SetAsVariant(true);
    if (CallBeforeFax().IsNull()) CallBeforeFax().SetAsVariant(false);
}

bool TUser::SaveToRegistry() const {
    TRegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, false)) return false;
    for (int nr = 0; nr < PropCount(); ++nr) {
        const TAppProp& prop = Prop(nr);
        if (prop.IsNull()) key.DeleteValue(prop.Name());
        else key.WriteString(prop.Name(), prop.AsStorageString());
    }
    return true;
}
