#include "TrustedRoot.h"

#include <windows.h>

#include <wincrypt.h>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Files.h"

namespace {
// The machine's root store as the registry holds it.
HCERTSTORE OpenRootStore() {
    HKEY root = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\SystemCertificates\\Root", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &root, nullptr) != ERROR_SUCCESS)
        return nullptr;
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, root);
    RegCloseKey(root);  // the store keeps its own
    return store;
}
}  // namespace

TTrustedRoot::TTrustedRoot(const std::string& derFile) : FCertificate(ReadFileBytes(derFile)) {
    EXPECT_FALSE(FCertificate.empty()) << derFile;
    HCERTSTORE store = OpenRootStore();
    if (!store) {
        ADD_FAILURE() << "no root store";
        return;
    }
    EXPECT_TRUE(CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING,
                                                 reinterpret_cast<const BYTE*>(FCertificate.data()),
                                                 static_cast<DWORD>(FCertificate.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                 nullptr));
    CertCloseStore(store, 0);
}

TTrustedRoot::~TTrustedRoot() {
    HCERTSTORE store = OpenRootStore();
    if (!store) return;
    PCCERT_CONTEXT certificate = CertCreateCertificateContext(
        X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(FCertificate.data()), static_cast<DWORD>(FCertificate.size()));
    if (certificate) {
        if (PCCERT_CONTEXT found = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                              certificate, nullptr))
            CertDeleteCertificateFromStore(found);  // frees it too
        CertFreeCertificateContext(certificate);
    }
    CertCloseStore(store, 0);
}

std::map<std::string, std::string> SecureServerPorts() {
    std::map<std::string, std::string> ports;
    const std::string all = EnvironmentValue("BRAN_SECURE_SERVERS");
    for (size_t pos = 0; pos < all.size();) {
        size_t end = all.find(';', pos), eq = all.find('=', pos);
        if (end == std::string::npos) end = all.size();
        if (eq < end) ports[all.substr(pos, eq - pos)] = all.substr(eq + 1, end - eq - 1);
        pos = end + 1;
    }
    return ports;
}
