#pragma once
// Whether a program file carries a valid signature of its maker (Authenticode), as the platform
// judges it (WinVerifyTrust, "wintrust.dll", bound at the first use).
//
// A signature counts as valid only when the platform accepts it and its signer's certificate chain
// ends, without a fault, in a root the platform trusts, with a certificate meant for signing code.
// The second half is checked here as well because not every platform's verdict covers it: Wine's
// WinVerifyTrust checks the file's digest but accepts a signer whose chain ends in an unknown root.
#include <string>

enum class TSignatureVerdict {
    Signed,        // valid: the signer is known
    Unsigned,      // a program without a signature
    Altered,       // the file was changed after it was signed
    Untrusted,     // signed, but the signer's chain does not end in a trusted root
    Expired,       // signed with a certificate that is no longer (or not yet) valid
    Revoked,       // signed with a certificate that is revoked or explicitly distrusted
    NotForCode,    // signed with a certificate that is not meant for signing code
    Unverifiable,  // the platform cannot judge it (no verifier, a file of a kind it cannot read)
};

struct TFileSignature {
    TSignatureVerdict Verdict = TSignatureVerdict::Unverifiable;
    std::string Signer;  // the signing certificate's name, when there is a signature
    long Status = 0;     // the platform's own answer, for diagnosis
};

TFileSignature CheckFileSignature(const std::string& path);
