#include "Source/Common/Deployment.h"

const char* const DefaultMailHost = "SMTP.BRANTEL.NL";

const char* const DefaultHelpdeskDescription = "Brantel Software Helpdesk";
const char* const DefaultHelpdeskPostAddress = "Postbus 1250";
const char* const DefaultHelpdeskZipcode = "3800 BG  Amersfoort";
const char* const DefaultHelpdeskFaxLine = "Fax: 033-4567890";
