#include "platform/FileSignature.h"

#include <windows.h>

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <cstring>
#include <vector>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/LateLibrary.h"

namespace {
// Revocation is not asked for (it would wait for the network); its unknown state is no fault.
const DWORD kRevocationNotChecked = CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;

// One verification, its state kept until it is closed again.
class TVerification {
public:
    explicit TVerification(const std::string& path) : FPath(Widen(path)) {
        FFile.cbStruct = sizeof(FFile);
        FFile.pcwszFilePath = FPath.c_str();
        FData.cbStruct = sizeof(FData);
        FData.dwUIChoice = WTD_UI_NONE;
        FData.fdwRevocationChecks = WTD_REVOKE_NONE;
        FData.dwUnionChoice = WTD_CHOICE_FILE;
        FData.pFile = &FFile;
        FData.dwStateAction = WTD_STATEACTION_VERIFY;
        FData.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
    }
    TVerification(const TVerification&) = delete;
    TVerification& operator=(const TVerification&) = delete;
    ~TVerification() {
        if (!FVerified) return;
        FData.dwStateAction = WTD_STATEACTION_CLOSE;
        if (const auto verify = BRAN_LATE_FIND(Wintrust(), WinVerifyTrust)) verify(nullptr, &FAction, &FData);
    }

    LONG Verify() {
        const auto verify = BRAN_LATE(Wintrust(), WinVerifyTrust);
        FVerified = true;
        return verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &FAction, &FData);
    }

    // The first signer, when the file has one.
    CRYPT_PROVIDER_SGNR* Signer() const {
        CRYPT_PROVIDER_DATA* provider = BRAN_LATE(Wintrust(), WTHelperProvDataFromStateData)(FData.hWVTStateData);
        return provider ? BRAN_LATE(Wintrust(), WTHelperGetProvSignerFromChain)(provider, 0, FALSE, 0) : nullptr;
    }

private:
    std::wstring FPath;
    GUID FAction = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_FILE_INFO FFile{};
    WINTRUST_DATA FData{};
    bool FVerified = false;
};

TSignatureVerdict FromStatus(LONG status) {
    switch (status) {
        case TRUST_E_NOSIGNATURE:
            return TSignatureVerdict::Unsigned;
        case TRUST_E_BAD_DIGEST:
            return TSignatureVerdict::Altered;
        case CERT_E_UNTRUSTEDROOT:
        case CERT_E_UNTRUSTEDTESTROOT:
        case CERT_E_CHAINING:
        case TRUST_E_CERT_SIGNATURE:
            return TSignatureVerdict::Untrusted;
        case CERT_E_EXPIRED:
        case CERT_E_VALIDITYPERIODNESTING:
            return TSignatureVerdict::Expired;
        case CERT_E_REVOKED:
        case CRYPT_E_REVOKED:
        case TRUST_E_EXPLICIT_DISTRUST:
        case TRUST_E_SUBJECT_NOT_TRUSTED:
            return TSignatureVerdict::Revoked;
        case CERT_E_WRONG_USAGE:
            return TSignatureVerdict::NotForCode;
        default:
            return TSignatureVerdict::Unverifiable;
    }
}

TSignatureVerdict FromChain(DWORD errors) {
    errors &= ~kRevocationNotChecked;
    if (errors == CERT_TRUST_NO_ERROR) return TSignatureVerdict::Signed;
    if (errors & CERT_TRUST_IS_REVOKED) return TSignatureVerdict::Revoked;
    if (errors & CERT_TRUST_IS_NOT_TIME_VALID) return TSignatureVerdict::Expired;
    if (errors & CERT_TRUST_IS_NOT_VALID_FOR_USAGE) return TSignatureVerdict::NotForCode;
    // An unknown root, a chain that reaches no root, a certificate whose own signature fails, ...
    return TSignatureVerdict::Untrusted;
}

// A certificate that names no usage may be used for any; one that names some must name code signing.
bool MeantForCode(PCCERT_CONTEXT certificate) {
    const auto usage = BRAN_LATE(Crypt32(), CertGetEnhancedKeyUsage);
    DWORD size = 0;
    if (!usage(certificate, 0, nullptr, &size)) return false;
    std::vector<BYTE> buffer(size);
    auto* usages = reinterpret_cast<CERT_ENHKEY_USAGE*>(buffer.data());
    if (!usage(certificate, 0, usages, &size)) return false;
    if (usages->cUsageIdentifier == 0) return GetLastError() == static_cast<DWORD>(CRYPT_E_NOT_FOUND);
    for (DWORD i = 0; i < usages->cUsageIdentifier; ++i)
        if (std::strcmp(usages->rgpszUsageIdentifier[i], szOID_PKIX_KP_CODE_SIGNING) == 0) return true;
    return false;
}

std::string CertificateName(PCCERT_CONTEXT certificate) {
    wchar_t name[256] = {};
    BRAN_LATE(Crypt32(), CertGetNameStringW)(certificate, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, name, 256);
    return Narrow(name);
}
}  // namespace

TFileSignature CheckFileSignature(const std::string& path) {
    TFileSignature result;
    try {
        TVerification verification(path);
        result.Status = verification.Verify();
        result.Verdict = FromStatus(result.Status);
        const CRYPT_PROVIDER_SGNR* signer = verification.Signer();
        const CRYPT_PROVIDER_CERT* certificate =
            signer ? BRAN_LATE(Wintrust(), WTHelperGetProvCertFromChain)(const_cast<CRYPT_PROVIDER_SGNR*>(signer), 0)
                   : nullptr;
        if (certificate && certificate->pCert) result.Signer = CertificateName(certificate->pCert);
        if (result.Status != ERROR_SUCCESS) return result;
        // Accepted: the chain and the certificate's use must bear it out.
        if (!signer || !signer->pChainContext || !certificate || !certificate->pCert) {
            result.Verdict = TSignatureVerdict::Unverifiable;
        } else {
            result.Verdict = FromChain(signer->pChainContext->TrustStatus.dwErrorStatus);
            if (result.Verdict == TSignatureVerdict::Signed && !MeantForCode(certificate->pCert))
                result.Verdict = TSignatureVerdict::NotForCode;
        }
    } catch (const EBrantel&) {
        // No verifier on this system.
        result.Verdict = TSignatureVerdict::Unverifiable;
    }
    return result;
}
