#pragma once
// Deployment data: what differs per maker's installation of the program. Kept in this one module.

// The maker's mail server, the default of the user's mail server setting.
extern const char* const DefaultMailHost;

#include <string>

// The maker's web server, the host of every address on the maker's site.
std::string MakerWebHost();
// The general item's helpdesk and shop pages when the registry names none, written as host and path.
std::string DefaultHelpdeskAddress();
std::string DefaultShopAddress();
