#pragma once
// Secrets kept for the Windows user who is logged on (the platform's data protection): what one
// user stored, only that user can read back, and the stored bytes are never the secret itself.
#include <optional>
#include <string>

// The encrypted form of `secret`. Throws EBrantel when the platform refuses.
std::string ProtectForCurrentUser(const std::string& secret);
// The secret, or nothing when `stored` was not protected for this user (another user's, damaged).
std::optional<std::string> UnprotectForCurrentUser(const std::string& stored);
