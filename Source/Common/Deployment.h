#pragma once
// Deployment data: what differs per maker's installation of the program. Kept in this one module.

// The maker's mail server, the default of the user's mail server setting.
extern const char* const DefaultMailHost;
