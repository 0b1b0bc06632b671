#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"
#include "platform/Registry.h"

namespace {
const char* kKey = "Software\\Brantel\\Test";
}

TEST(Registry, TypedReadsTellMissingFromWrongType) {
    TRegistrySandbox sandbox;
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kKey, true));
    key.WriteString("Naam", "Kasboek één");
    key.WriteInteger("Aantal", -7);
    key.WriteFloat("Left", 0.25);
    key.WriteBool("StatusBar", true);

    EXPECT_EQ(key.ReadString("Naam"), "Kasboek één");
    EXPECT_EQ(key.ReadString("Ontbreekt"), "");  // missing text reads as empty
    EXPECT_EQ(key.ReadInteger("Aantal"), -7);
    EXPECT_DOUBLE_EQ(key.ReadFloat("Left"), 0.25);
    EXPECT_TRUE(key.ReadBool("StatusBar"));

    // Wrong types and missing non-text values fail instead of guessing.
    EXPECT_THROW(key.ReadString("Aantal"), ERegistry);
    EXPECT_THROW(key.ReadInteger("Naam"), ERegistry);
    EXPECT_THROW(key.ReadInteger("Ontbreekt"), ERegistry);
    EXPECT_THROW(key.ReadFloat("Aantal"), ERegistry);
    EXPECT_THROW(key.ReadBool("Left"), ERegistry);
    EXPECT_EQ(key.GetDataType("Left"), TRegDataType::Binary);
    EXPECT_EQ(key.GetDataType("Ontbreekt"), TRegDataType::Unknown);

    EXPECT_TRUE(key.DeleteValue("Naam"));
    EXPECT_FALSE(key.ValueExists("Naam"));
    EXPECT_FALSE(key.DeleteValue("Naam"));
}

TEST(Registry, FloatsAndBooleansUseTheStoredFormatOfEarlierInstallations) {
    TRegistrySandbox sandbox;
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, kKey, true));
    key.WriteFloat("Width", 0.5);
    key.WriteBool("Maximized", false);
    // 0.5 as a little-endian IEEE double.
    EXPECT_EQ(key.ReadBinary("Width"), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));
    EXPECT_EQ(key.GetDataType("Maximized"), TRegDataType::Integer);
    EXPECT_EQ(key.ReadInteger("Maximized"), 0);
    // A binary value of another length is no float.
    key.WriteBinary("Kort", {1, 2, 3, 4});
    EXPECT_THROW(key.ReadFloat("Kort"), ERegistry);
}

TEST(Registry, OpeningCreatingAndEnumerationOrder) {
    TRegistrySandbox sandbox;
    TRegKey key;
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, kKey));
    EXPECT_FALSE(key.IsOpen());
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, std::string("\\") + kKey, true));
    for (const char* n : {"Kasboek", "Adresboek", "Facturering"}) {
        TRegKey sub;
        ASSERT_TRUE(sub.Open(key.Handle(), n, true));
        key.WriteString(std::string("w") + n, n);
    }
    EXPECT_EQ(key.GetKeyNames(), (std::vector<std::string>{"Adresboek", "Facturering", "Kasboek"}));
    // Subkeys come sorted by name; the order of values is the registry's own (Wine sorts them too,
    // Windows keeps the order of creation), so only the set is fixed.
    std::vector<std::string> values = key.GetValueNames();
    std::sort(values.begin(), values.end());
    EXPECT_EQ(values, (std::vector<std::string>{"wAdresboek", "wFacturering", "wKasboek"}));
    EXPECT_TRUE(key.HasSubKey("kasboek"));

    TRegKey readOnly = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, kKey);
    ASSERT_TRUE(readOnly.IsOpen());
    EXPECT_EQ(readOnly.ReadString("wKasboek"), "Kasboek");

    key.Close();
    EXPECT_TRUE(TRegKey::DeleteKey(HKEY_LOCAL_MACHINE, "Software\\Brantel"));
    EXPECT_FALSE(TRegKey::KeyExists(HKEY_LOCAL_MACHINE, kKey));
}

TEST(Registry, SandboxKeepsTheRealMachineKeyUntouched) {
    const char* probe = "Software\\BranSandboxProbe";
    {
        TRegistrySandbox sandbox;
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, probe, true));
        key.WriteString("x", "y");
        EXPECT_TRUE(TRegKey::KeyExists(HKEY_LOCAL_MACHINE, probe));
    }
    EXPECT_FALSE(TRegKey::KeyExists(HKEY_LOCAL_MACHINE, probe));
    EXPECT_FALSE(TRegKey::KeyExists(HKEY_CURRENT_USER, std::string("Software\\BranTests\\sandbox")));
}

// The values of one enumeration answer every read exactly as the key's own reads do.
TEST(Registry, EnumeratedValuesReadLikeTheKey) {
    TRegistrySandbox sandbox;
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kKey, true));
    key.WriteString("", "Standaard");
    key.WriteString("Naam", "Kasboek één");
    key.WriteString("Leeg", "");
    key.WriteExpandString("Pad", "%WINDIR%\\kas");
    key.WriteInteger("Aantal", -7);
    key.WriteBinary("Blok", {1, 2, 3, 4});
    key.WriteBinary("Niets", {});
    const std::wstring multi = std::wstring(L"een") + L'\0' + L"twee" + L'\0' + L'\0';
    ASSERT_EQ(RegSetValueExW(key.Handle(), L"Lijst", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi.data()),
                             static_cast<DWORD>(multi.size() * sizeof(wchar_t))),
              ERROR_SUCCESS);
    // Stored without its terminator, as some setups write it.
    ASSERT_EQ(RegSetValueExW(key.Handle(), L"Kaal", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"abc"), 6), ERROR_SUCCESS);
    std::string longText(3000, 'x');
    key.WriteString("Lang", longText);

    const TRegValues values = key.ReadValues();
    auto outcome = [](auto read) -> std::string {
        try {
            return "=" + read();
        } catch (const ERegistry&) {
            return "ERegistry";
        }
    };
    for (const char* name : {"", "Naam", "NAAM", "leeg", "Pad", "Aantal", "Blok", "Niets", "Lijst", "Kaal", "Lang",
                             "Ontbreekt"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(values.ValueExists(name), key.ValueExists(name));
        EXPECT_EQ(outcome([&] { return values.ReadString(name); }), outcome([&] { return key.ReadString(name); }));
        EXPECT_EQ(outcome([&] { return std::to_string(values.ReadInteger(name)); }),
                  outcome([&] { return std::to_string(key.ReadInteger(name)); }));
    }
    std::vector<std::string> names = values.GetValueNames(), keyNames = key.GetValueNames();
    EXPECT_EQ(names, keyNames);
    EXPECT_EQ(names.size(), 10u);

    // A key that is not open has no values.
    EXPECT_FALSE(TRegKey().ReadValues().ValueExists(""));
    EXPECT_EQ(TRegKey().ReadValues().ReadString("Naam"), "");
}
