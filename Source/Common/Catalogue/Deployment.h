#pragma once
// Deployment data: what differs per maker's installation of the program. Kept in this one module.
#include <string>

#include "mail/SendMail.h"

// The maker's mail server, the default of the user's mail server setting.
extern const char* const DefaultMailHost;

// The maker's web server, the host of every address on the maker's site.
std::string MakerWebHost();
// Tests: another web server ("127.0.0.1:<port>") in place of the maker's; empty restores the maker's.
void SetMakerWebHost(const std::string& host);
// The newsletter form script that subscriptions and address changes are sent to.
std::string WebFormScriptAddress();
// The general item's helpdesk and shop pages when the registry names none, written as host and path.
std::string DefaultHelpdeskAddress();
std::string DefaultShopAddress();
// Where the online update fetches its index when the registry names no address.
std::string DefaultUpdateIndexAddress();
// The maker's home page, opened by "Brantel Online" when the registry names none.
std::string MakerHomePage();

// The maker's own helpdesk, named in a report when the application names none.
extern const char* const DefaultHelpdeskDescription;
extern const char* const DefaultHelpdeskPostAddress;
extern const char* const DefaultHelpdeskZipcode;
extern const char* const DefaultHelpdeskFaxLine;  // "Fax: " and the number
// The helpdesk's telephone numbers and call rates, shown before a report is made.
extern const char* const HelpdeskPhoneText;
// The maker's helpdesk mailbox: receives e-mailed reports of applications that name no valid address.
extern const char* const DefaultHelpdeskMailbox;

// The mailbox that receives e-mailed address changes, and the maker's address printed on the form
// that is sent or faxed instead.
extern const char* const AddressChangeMailbox;
extern const char* const MakerCompanyName;
extern const char* const MakerPostAddress;
extern const char* const MakerZipcodeCity;
extern const char* const MakerFaxNumber;

// Mail providers whose customers must send through the provider's own SMTP host (see TMailProviders).
extern const TMailHostRow MailHostTable[4];
// The maker's default host with the provider table, as SendMail takes them.
const TMailProviders& MailProviders();
