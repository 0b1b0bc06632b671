#include "Source/Common/Catalogue/Deployment.h"

const char* const DefaultMailHost = "SMTP.BRANTEL.NL";

namespace {
std::string& WebHostOverride() {
    static std::string host;
    return host;
}
}  // namespace

std::string MakerWebHost() { return WebHostOverride().empty() ? "www.brantel.nl" : WebHostOverride(); }
void SetMakerWebHost(const std::string& host) { WebHostOverride() = host; }
std::string WebFormScriptAddress() { return "http://" + MakerWebHost() + "/cgi-brantel/formmail/nwsbrf_abb_nl_produkt.cgi"; }
std::string DefaultHelpdeskAddress() { return MakerWebHost() + "/cgi-brantel/frames/produkt_inlog.cgi?set=helpdesk"; }
std::string DefaultUpdateIndexAddress() {
    return "http://" + MakerWebHost() + "/cgi-brantel/select/fileopen.cgi?open_bestand=iupdate_nl.dat";
}
std::string MakerHomePage() { return "http://" + MakerWebHost() + "/"; }
std::string DefaultShopAddress() { return MakerWebHost() + "/cgi-brantel/frames/produkt_inlog.cgi?set=shop"; }

const char* const DefaultHelpdeskDescription = "Brantel Software Helpdesk";
const char* const DefaultHelpdeskPostAddress = "Postbus 1250";
const char* const DefaultHelpdeskZipcode = "3800 BG  Amersfoort";
const char* const DefaultHelpdeskFaxLine = "Fax: 033-4567890";
const char* const HelpdeskPhoneText =
    "Brantel Helpdesk\r\n"
    "Telefoon: 0900-2726835 (25 cent per minuut), op werkdagen van 9.00 tot 17.00 uur\r\n"
    "Fax: 033-4567890\r\n"
    "Houd bij het bellen uw klantnummer en het helpdeskrapport bij de hand.";
const char* const DefaultHelpdeskMailbox = "helpdesk@brantel.nl";

const char* const AddressChangeMailbox = "adreswijziging@brantel.nl";
const char* const MakerCompanyName = "Brantel Software B.V.";
const char* const MakerPostAddress = "Postbus 1250";
const char* const MakerZipcodeCity = "3800 BG  Amersfoort";
const char* const MakerFaxNumber = "033-4567890";

const TMailHostRow MailHostTable[4] = {
    {"@POLDERNET.NL", "SMTP.POLDERNET.NL"},
    {"@DIJKMAIL.NL", "MAIL.DIJKMAIL.NL"},
    {"@KANAALWEB.NL", "SMTP.KANAALWEB.NL"},
    {"@VEENLINK.NL", "UITGAAND.VEENLINK.NL"},
};

const TMailProviders& MailProviders() {
    static const TMailProviders providers{DefaultMailHost, MailHostTable};
    return providers;
}
