#include <gtest/gtest.h>

#include <windows.h>
#include <wincrypt.h>

#include "Source/Common/Catalogue/MailServerSetting.h"
#include "Source/Common/Catalogue/User.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Registry.h"

namespace {
std::string StoredBytes() {
    TRegKey key = TRegKey::OpenReadOnly(HKEY_CURRENT_USER, MailPasswordKey);
    auto bytes = key.ReadBinary("MailPassword");
    return {bytes.begin(), bytes.end()};
}

void StoreBytes(const std::string& bytes) {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, MailPasswordKey, true));
    key.WriteBinary("MailPassword", std::vector<uint8_t>(bytes.begin(), bytes.end()));
}
}  // namespace

TEST(MailPassword, StoredEncryptedForTheUserAndReadBackOnlyAsStored) {
    TRegistrySandbox registry;
    const std::string password = "Één geheim wachtwoord!";
    SaveMailPassword(password);
    const std::string stored = StoredBytes();
    EXPECT_GT(stored.size(), password.size());
    const std::wstring wide = Widen(password);
    const std::string utf16(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    for (const std::string& plain : {password, utf16, std::string("geheim")})
        EXPECT_EQ(stored.find(plain), std::string::npos) << "the plain text is in the registry";
    EXPECT_EQ(LoadMailPassword(), password);

    // Bytes protected for this user by another program (without this program's tag), damaged bytes
    // and a value of another type all read as no password.
    DATA_BLOB in{static_cast<DWORD>(password.size()), reinterpret_cast<BYTE*>(const_cast<char*>(password.data()))};
    DATA_BLOB out{};
    ASSERT_TRUE(CryptProtectData(&in, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out));
    const std::string foreign(reinterpret_cast<const char*>(out.pbData), out.cbData);
    LocalFree(out.pbData);
    std::string damaged = stored;
    damaged[damaged.size() - 25] ^= 0x55;  // in the encrypted part, not in a header the platform ignores
    for (const std::string& bytes : {foreign, damaged, std::string()}) {
        StoreBytes(bytes);
        EXPECT_EQ(LoadMailPassword(), "") << bytes.size();
    }
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, MailPasswordKey, true));
    key.WriteString("MailPassword", password);
    EXPECT_EQ(LoadMailPassword(), "");

    SaveMailPassword("");
    EXPECT_FALSE(TRegKey::OpenReadOnly(HKEY_CURRENT_USER, MailPasswordKey).ValueExists("MailPassword"));
}

TEST(MailPassword, TheSettingCarriesItOnlyWithAnAccount) {
    TRegistrySandbox registry;
    SaveMailPassword("geheim");
    TUser user;
    user.LoadFromRegistry();
    user.Mailserver().SetAsString("smtp.provider.nl:2525");
    for (const auto& [security, expected] : {std::pair<std::string, TMailSecurity>{"", TMailSecurity::None},
                                             {"STARTTLS", TMailSecurity::StartTls},
                                             {"tls", TMailSecurity::Tls},
                                             {"SSL", TMailSecurity::None}}) {
        user.MailSecurity().SetAsString(security);
        EXPECT_EQ(MailServerOf(user).Security, expected) << security;
    }
    EXPECT_EQ(MailServerOf(user).Server, "smtp.provider.nl:2525");
    EXPECT_EQ(MailServerOf(user).Password, "") << "no user name, no password";
    user.MailUserName().SetAsString("jan");
    EXPECT_EQ(MailServerOf(user).UserName, "jan");
    EXPECT_EQ(MailServerOf(user).Password, "geheim");
}
