#include "Source/Common/Deployment.h"

const char* const DefaultMailHost = "SMTP.BRANTEL.NL";
