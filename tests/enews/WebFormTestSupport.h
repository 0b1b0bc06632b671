#pragma once
// The maker's web server and mail server of these tests are peers on 127.0.0.1; the program folder,
// where the script's answer "Script.ini" lands, is a scratch folder; the registry is a sandbox that
// names the shared service version and language the requests carry.
#include <string>

#include "HttpTestPeer.h"
#include "ModelFixture.h"
#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/User.h"
#include "TestSupport.h"
#include "platform/Files.h"
#include "platform/Registry.h"

// The script's address path as the peer sees it, before the query.
inline const std::string ScriptPath = "/cgi-brantel/formmail/nwsbrf_abb_nl_produkt.cgi";
// What the script answers.
inline std::string ScriptAnswer(const std::string& succeeded) {
    return "[e-nieuws]\r\n" + (succeeded.empty() ? std::string() : "geslaagd=" + succeeded + "\r\n");
}

class WebFormTest : public testing::Test {
protected:
    WebFormTest() {
        SetProgramFolder(Folder.Path());
        TRegKey service;
        service.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared\\Service", true);
        service.WriteString("CurrentVersion", "3.0");
        TRegKey version;
        version.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Shared\\Service\\3.0", true);
        version.WriteString("CurrentLanguage", "NL");
    }
    ~WebFormTest() override {
        SetMakerWebHost("");
        SetProgramFolder("");
    }
    void UseWebServer(const THttpTestPeer& peer) { SetMakerWebHost("127.0.0.1:" + std::to_string(peer.Port())); }
    std::string ResultFile() const { return Folder / "Script.ini"; }
    // The user record as an earlier window stored it.
    static void StoreUser(const std::function<void(TUser&)>& fill) {
        TUser user;
        TRegKey key;
        key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true);
        fill(user);
        user.SaveToRegistry();
    }
    static std::string Stored(const std::string& name) {
        TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, UserRegistrationKey);
        return key.IsOpen() && key.ValueExists(name) ? key.ReadString(name) : "(none)";
    }

    TAppModel& Model = BranModel();
    TRegistrySandbox Registry;
    TScratchFolder Folder;
};
