// Verified downloads against peers we did not write, run by tests/checks/secure_update.py (skipped
// otherwise): digests computed by Python's hashlib, and an update index served over HTTPS by
// Python's ssl module with certificates made by openssl.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <tuple>

#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Internet/DownloadForm.h"
#include "Source/Common/Internet/OnlineUpdateForm.h"
#include "TestSupport.h"
#include "TrustedRoot.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Sha256.h"

namespace {
}  // namespace

// Each line of the manifest: an address, the digest the index would give, and whether it is right.
TEST(SecureUpdate, DigestsAreTheOnesHashlibComputes) {
    const std::string manifest = EnvironmentValue("BRAN_DIGEST_MANIFEST");
    if (manifest.empty()) GTEST_SKIP() << "run by tests/checks/secure_update.py";
    TScratchFolder scratch;
    std::istringstream lines(ReadFileBytes(manifest));
    int checked = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string url, digest, verdict;
        fields >> url >> digest >> verdict;
        SCOPED_TRACE(line);
        THttpExpectation expect;
        expect.Sha256 = digest;
        const std::string target = scratch / "Updates\\Kasboek\\setup.exe";
        const THttpFailure failure =
            DownloadChecked(DownloadFormClass<TfrmOnlineUpdateDownload>(), "", url, target, expect);
        EXPECT_EQ(failure, verdict == "ok" ? THttpFailure::None : THttpFailure::Digest);
        EXPECT_EQ(FileExists(target), verdict == "ok");
        if (FileExists(target)) {
            EXPECT_EQ(FileSha256(target), LowerCase(digest));
            FileDelete(target);
        }
        EXPECT_TRUE(FindFiles(scratch / "Updates\\Kasboek\\~dl*", faAnyFile).empty());
        ++checked;
    }
    EXPECT_GE(checked, 18);
}

// The index address in the machine's own registry for one test, as it was again afterwards. Not a
// sandbox: the platform's certificate checks find their revocation checker in the machine's registry.
class TIndexAddress {
public:
    ~TIndexAddress() {
        for (const auto& [path, name, before] : FBefore) {
            TRegKey key;
            if (!key.Open(HKEY_LOCAL_MACHINE, path)) continue;
            if (before) {
                key.WriteString(name, *before);
            } else {
                key.DeleteValue(name);
            }
        }
    }
    void Set(const std::string& url) {
        Write("Software\\Brantel\\Shared", "CurrentLanguage", "NL");
        Write("Software\\Brantel\\Shared\\NL", "UpdateIni", url);
    }

private:
    void Write(const std::string& path, const std::string& name, const std::string& value) {
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, path, true));
        const bool known = std::any_of(FBefore.begin(), FBefore.end(), [&](const auto& before) {
            return std::get<0>(before) == path && std::get<1>(before) == name;
        });
        if (!known) FBefore.push_back({path, name, key.ValueExists(name) ? std::optional(key.ReadString(name)) : std::nullopt});
        key.WriteString(name, value);
    }
    std::vector<std::tuple<std::string, std::string, std::optional<std::string>>> FBefore;
};

// A certificate that the platform does not trust is a failure with its own message, whatever the
// index would have offered; one of a root the platform trusts brings the index and its setup.
TEST(SecureUpdate, HttpsIsTheCertificatesOrNothing) {
    const std::string ca = EnvironmentValue("BRAN_HTTPS_CA");
    if (ca.empty()) GTEST_SKIP() << "run by tests/checks/secure_update.py";
    [[maybe_unused]] TAppModel& model = BranModel();
    TIndexAddress index;
    TScratchFolder scratch;
    SetProgramFolder(scratch.Path());
    const TTrustedRoot maker(ca);
    std::shared_ptr<TServiceItem> general{&GetGeneralServiceItem(), [](TServiceItem*) {}};

    index.Set(EnvironmentValue("BRAN_HTTPS_REFUSED"));
    {
        TMessageRecorder messages;
        TfrmOnlineUpdate f;
        f.SetServiceItems(general, {general});
        f.Show();
        f.NextButton()->Click();
        EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabConnection);
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{
                                        "Uw PC kan geen veilige verbinding maken met localhost: het certificaat van de "
                                        "server is niet geldig of wordt niet vertrouwd. Er is niets gedownload."});
        EXPECT_FALSE(FileExists(scratch / "Temp\\Update.ini"));
    }

    index.Set(EnvironmentValue("BRAN_HTTPS_TRUSTED"));
    TMessageRecorder messages;
    TfrmOnlineUpdate f;
    f.SetServiceItems(general, {general});
    f.Show();
    f.NextButton()->Click();
    EXPECT_TRUE(messages.Texts().empty());
    ASSERT_EQ(f.pgcWizard.ActivePage(), &f.tabUpdates);
    ASSERT_EQ(f.lstUpdates.Count(), 1);
    f.lstUpdates.SetChecked(0, true);
    f.NextButton()->Click();
    EXPECT_EQ(f.pgcWizard.ActivePage(), &f.tabInstall);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(f.lstSetups.Count(), 1);
    const std::string setup = scratch / "Updates\\(Algemeen)\\setup.exe";
    EXPECT_EQ(FileSha256(setup), f.lstUpdates.ItemData<TUpdateInfo>(0)->Sha256);
    f.DeleteRestartEntry();
    SetProgramFolder("");
}
