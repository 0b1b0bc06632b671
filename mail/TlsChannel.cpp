#include "mail/TlsChannel.h"

#include <wincrypt.h>

#include <memory>

#include "core/StrConv.h"
#include "mail/MailErrors.h"
#include "platform/LateLibrary.h"

namespace {
constexpr ULONG kContextRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                  ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR;

std::string StatusText(const char* what, SECURITY_STATUS status) {
    char hex[16];
    wsprintfA(hex, "%08lX", static_cast<unsigned long>(status));
    return std::string(what) + ": 0x" + hex;
}

[[noreturn]] void Fail(const char* what, SECURITY_STATUS status) {
    throw ESecureMailError(TMailFailure::Tls, StatusText(what, status));
}

struct TCertificateFree {
    void operator()(const CERT_CONTEXT* c) const {
        if (const auto free = BRAN_LATE_FIND(Crypt32(), CertFreeCertificateContext)) free(c);
    }
};
struct TChainFree {
    void operator()(const CERT_CHAIN_CONTEXT* c) const {
        if (const auto free = BRAN_LATE_FIND(Crypt32(), CertFreeCertificateChain)) free(c);
    }
};
struct TEngineFree {
    void operator()(HCERTCHAINENGINE e) const {
        if (const auto free = BRAN_LATE_FIND(Crypt32(), CertFreeCertificateChainEngine)) free(e);
    }
};
struct TContextBufferFree {
    void operator()(void* buffer) const {
        if (const auto free = BRAN_LATE_FIND(Secur32(), FreeContextBuffer)) free(buffer);
    }
};
}  // namespace

TTlsChannel::TTlsChannel(std::string serverName, TSendRaw send, TReceiveRaw receive)
    : FServerName(std::move(serverName)), FSendRaw(std::move(send)), FReceiveRaw(std::move(receive)) {}

TTlsChannel::~TTlsChannel() {
    if (FHaveContext)
        if (const auto remove = BRAN_LATE_FIND(Secur32(), DeleteSecurityContext)) remove(&FContext);
    if (FHaveCredentials)
        if (const auto free = BRAN_LATE_FIND(Secur32(), FreeCredentialsHandle)) free(&FCredentials);
}

void TTlsChannel::Handshake() {
    SCHANNEL_CRED credentials{};
    credentials.dwVersion = SCHANNEL_CRED_VERSION;
    // The certificate is checked here, after the handshake, the same way on every Windows: the
    // platform's chain for the server's name, nothing the connection could talk its way around.
    credentials.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
    TimeStamp expiry;
    SECURITY_STATUS status = BRAN_LATE(Secur32(), AcquireCredentialsHandleW)(
        nullptr, const_cast<wchar_t*>(UNISP_NAME_W), SECPKG_CRED_OUTBOUND, nullptr, &credentials, nullptr, nullptr,
        &FCredentials, &expiry);
    if (status != SEC_E_OK) Fail("AcquireCredentialsHandle", status);
    FHaveCredentials = true;
    HandshakeLoop(false);
    status = BRAN_LATE(Secur32(), QueryContextAttributesW)(&FContext, SECPKG_ATTR_STREAM_SIZES, &FSizes);
    if (status != SEC_E_OK) Fail("QueryContextAttributes", status);
    CheckCertificate();
}

bool TTlsChannel::ReadMore() { return FReceiveRaw(FIncoming); }

void TTlsChannel::HandshakeLoop(bool haveInput) {
    std::wstring target = Widen(FServerName);
    for (;;) {
        if (haveInput && FIncoming.empty() && !ReadMore())
            throw ESecureMailError(TMailFailure::Tls, "Connection closed during the TLS handshake");
        SecBuffer in[2] = {{static_cast<ULONG>(FIncoming.size()), SECBUFFER_TOKEN, FIncoming.data()},
                           {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inDesc{SECBUFFER_VERSION, 2, in};
        SecBuffer out[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc outDesc{SECBUFFER_VERSION, 1, out};
        ULONG attributes = 0;
        SECURITY_STATUS status = BRAN_LATE(Secur32(), InitializeSecurityContextW)(
            &FCredentials, FHaveContext ? &FContext : nullptr, target.data(), kContextRequest, 0, 0,
            haveInput ? &inDesc : nullptr, 0, &FContext, &outDesc, &attributes, nullptr);
        FHaveContext = true;
        // Whatever the platform wants sent goes out, also with an error: it may be the alert that
        // tells the server why.
        if (out[0].pvBuffer) {
            std::unique_ptr<void, TContextBufferFree> token(out[0].pvBuffer);
            if (out[0].cbBuffer) FSendRaw({static_cast<const char*>(out[0].pvBuffer), out[0].cbBuffer});
        }
        if (status == SEC_E_INCOMPLETE_MESSAGE) {
            if (!ReadMore()) throw ESecureMailError(TMailFailure::Tls, "Connection closed during the TLS handshake");
            haveInput = true;
            continue;
        }
        if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED) Fail("InitializeSecurityContext", status);
        // Bytes after the handshake's own records belong to what follows.
        if (haveInput) {
            if (in[1].BufferType == SECBUFFER_EXTRA) FIncoming.erase(0, FIncoming.size() - in[1].cbBuffer);
            else FIncoming.clear();
        }
        if (status == SEC_E_OK) return;
        haveInput = true;
    }
}

void TTlsChannel::CheckCertificate() {
    const CERT_CONTEXT* received = nullptr;
    SECURITY_STATUS status =
        BRAN_LATE(Secur32(), QueryContextAttributesW)(&FContext, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &received);
    if (status != SEC_E_OK || !received)
        throw ESecureMailError(TMailFailure::Certificate, StatusText("no server certificate", status));
    std::unique_ptr<const CERT_CONTEXT, TCertificateFree> certificate(received);

    // An engine of its own each time, so that a root the user trusted since the last check counts.
    CERT_CHAIN_ENGINE_CONFIG config{};
    config.cbSize = sizeof config;
    HCERTCHAINENGINE rawEngine = nullptr;
    if (!BRAN_LATE(Crypt32(), CertCreateCertificateChainEngine)(&config, &rawEngine))
        throw ESecureMailError(TMailFailure::Certificate, "CertCreateCertificateChainEngine failed");
    std::unique_ptr<void, TEngineFree> engine(rawEngine);

    LPSTR serverAuth = const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH);
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = &serverAuth;
    const CERT_CHAIN_CONTEXT* rawChain = nullptr;
    if (!BRAN_LATE(Crypt32(), CertGetCertificateChain)(rawEngine, certificate.get(), nullptr, certificate->hCertStore,
                                                       &para, 0, nullptr, &rawChain))
        throw ESecureMailError(TMailFailure::Certificate, "CertGetCertificateChain failed");
    std::unique_ptr<const CERT_CHAIN_CONTEXT, TChainFree> chain(rawChain);

    std::wstring name = Widen(FServerName);
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = name.data();
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS result{};
    result.cbSize = sizeof result;
    if (!BRAN_LATE(Crypt32(), CertVerifyCertificateChainPolicy)(CERT_CHAIN_POLICY_SSL, rawChain, &policy, &result))
        throw ESecureMailError(TMailFailure::Certificate, "CertVerifyCertificateChainPolicy failed");
    // The chain's own verdict counts as well: a chain that ends at no trusted root is refused even
    // where a policy check lets it pass.
    if (chain->TrustStatus.dwErrorStatus != CERT_TRUST_NO_ERROR)
        throw ESecureMailError(TMailFailure::Certificate,
                               StatusText("certificate chain", static_cast<SECURITY_STATUS>(chain->TrustStatus.dwErrorStatus)));
    if (result.dwError != 0)
        throw ESecureMailError(TMailFailure::Certificate,
                               StatusText("certificate policy", static_cast<SECURITY_STATUS>(result.dwError)));
}

void TTlsChannel::Send(std::string_view plain) {
    const size_t most = FSizes.cbMaximumMessage ? FSizes.cbMaximumMessage : 16384;
    std::string record;
    while (!plain.empty()) {
        const size_t n = std::min(most, plain.size());
        record.assign(FSizes.cbHeader + n + FSizes.cbTrailer, '\0');
        record.replace(FSizes.cbHeader, n, plain.data(), n);
        SecBuffer buffers[4] = {{FSizes.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                                {static_cast<ULONG>(n), SECBUFFER_DATA, record.data() + FSizes.cbHeader},
                                {FSizes.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + FSizes.cbHeader + n},
                                {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
        SECURITY_STATUS status = BRAN_LATE(Secur32(), EncryptMessage)(&FContext, 0, &desc, 0);
        if (status != SEC_E_OK) Fail("EncryptMessage", status);
        FSendRaw(std::string_view(record).substr(0, buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer));
        plain.remove_prefix(n);
    }
}

bool TTlsChannel::Receive(std::string& plain) {
    for (;;) {
        if (!FIncoming.empty()) {
            SecBuffer buffers[4] = {{static_cast<ULONG>(FIncoming.size()), SECBUFFER_DATA, FIncoming.data()},
                                    {0, SECBUFFER_EMPTY, nullptr},
                                    {0, SECBUFFER_EMPTY, nullptr},
                                    {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc desc{SECBUFFER_VERSION, 4, buffers};
            SECURITY_STATUS status = BRAN_LATE(Secur32(), DecryptMessage)(&FContext, &desc, 0, nullptr);
            if (status == SEC_E_OK || status == SEC_I_RENEGOTIATE || status == SEC_I_CONTEXT_EXPIRED) {
                size_t before = plain.size();
                std::string extra;
                for (const SecBuffer& b : buffers) {
                    if (b.BufferType == SECBUFFER_DATA) plain.append(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
                    if (b.BufferType == SECBUFFER_EXTRA) extra.assign(static_cast<const char*>(b.pvBuffer), b.cbBuffer);
                }
                FIncoming = std::move(extra);
                if (status == SEC_I_CONTEXT_EXPIRED) return plain.size() > before;  // the server said goodbye
                if (status == SEC_I_RENEGOTIATE) HandshakeLoop(true);
                if (plain.size() > before) return true;
                continue;  // a record without data (a session ticket): read on
            }
            if (status != SEC_E_INCOMPLETE_MESSAGE) Fail("DecryptMessage", status);
        }
        if (!ReadMore()) return false;
    }
}
