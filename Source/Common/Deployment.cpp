#include "Source/Common/Deployment.h"

const char* const DefaultMailHost = "SMTP.BRANTEL.NL";

std::string MakerWebHost() { return "www.brantel.nl"; }
std::string DefaultHelpdeskAddress() { return MakerWebHost() + "/cgi-brantel/frames/produkt_inlog.cgi?set=helpdesk"; }
std::string DefaultShopAddress() { return MakerWebHost() + "/cgi-brantel/frames/produkt_inlog.cgi?set=shop"; }
