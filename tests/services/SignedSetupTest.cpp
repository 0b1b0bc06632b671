// Downloaded setups signed in every way that matters - by a trusted maker, by nobody, by a stranger,
// with an expired or a web server's certificate, or changed after signing - made with openssl and
// osslsigncode by tests/checks/signed_setups.py, which runs this test; skipped otherwise.
#include <gtest/gtest.h>

#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "TestSupport.h"
#include "TrustedRoot.h"
#include "platform/FileSignature.h"
#include "platform/Files.h"
#include "platform/Shell.h"

namespace {
std::string SignatureFolder() {
    char folder[MAX_PATH] = {};
    return GetEnvironmentVariableA("BRAN_SIGNATURE_DIR", folder, MAX_PATH) ? IncludeTrailingBackslash(folder) : "";
}
}  // namespace

// Not in a registry sandbox: the platform finds its signature verifiers in the machine's registry.
class SignedSetups : public testing::Test {
protected:
    SignedSetups() {
        SetShellHook([this](const TShellStart&) {
            ++Started;
            return intptr_t(42);
        });
    }
    ~SignedSetups() override { SetShellHook(nullptr); }
    TAppModel& Model = BranModel();
    int Started = 0;
};

TEST_F(SignedSetups, TheServiceSaysWhoSignedASetupAndWarnsBeforeStartingAnyOther) {
    const std::string folder = SignatureFolder();
    if (folder.empty()) GTEST_SKIP() << "run by tests/checks/signed_setups.py";
    const TTrustedRoot maker(folder + "ca.der");
    auto appRef = std::make_shared<TBranApplication>();
    appRef->Name().SetAsString("Kasboek");
    const struct {
        const char* File;
        TSignatureVerdict Verdict;
        const char* Text;
    } cases[] = {
        {"signed.exe", TSignatureVerdict::Signed, "De update is ondertekend door Brantel B.V."},
        {"unsigned.exe", TSignatureVerdict::Unsigned,
         "De update is niet ondertekend: er valt niet na te gaan wie hem heeft gemaakt en of hij onderweg is veranderd."},
        {"altered.exe", TSignatureVerdict::Altered,
         "De handtekening van de update klopt niet: het bestand is veranderd nadat het werd ondertekend."},
        {"stranger.exe", TSignatureVerdict::Untrusted,
         "De update is ondertekend door Nep Uitgever, maar die handtekening wordt door Windows niet vertrouwd."},
        {"expired.exe", TSignatureVerdict::Expired,
         "De update is ondertekend door Verlopen B.V. met een certificaat dat niet (meer) geldig is."},
        {"webserver.exe", TSignatureVerdict::NotForCode,
         "De update is ondertekend door www.brantel.nl met een certificaat dat niet bedoeld is voor programma's."},
        {"text.exe", TSignatureVerdict::Unverifiable,
         "De handtekening van de update kon op deze computer niet worden gecontroleerd."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        EXPECT_EQ(CheckFileSignature(folder + c.File).Verdict, c.Verdict);
        TLocalUpdateService service(*appRef, folder + c.File);
        const bool signedWell = c.Verdict == TSignatureVerdict::Signed;
        const std::string question = signedWell ? "Wilt u de installatie starten?" : "Wilt u de installatie toch starten?";
        TMessageRecorder user;
        user.Answer(IDNO);
        Started = 0;
        EXPECT_TRUE(service.Provide(appRef));  // declined: nothing failed, nothing started
        EXPECT_EQ(Started, 0);
        user.Answer(IDYES);
        EXPECT_TRUE(service.Provide(appRef));
        EXPECT_EQ(Started, 1);
        ASSERT_EQ(user.Messages().size(), 2u);
        EXPECT_EQ(user.Messages()[0].Text, std::string(c.Text) + "\n\n" + question);
        EXPECT_EQ(user.Messages()[0].Kind, signedWell ? TMsgKind::Question : TMsgKind::Warning);
        EXPECT_EQ(user.Messages()[0].Buttons, TMsgButtons::YesNo);
    }
}
