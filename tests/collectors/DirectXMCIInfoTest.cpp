#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <map>

#include "Source/Common/TechInfo/DirectXInfo.h"
#include "Source/Common/TechInfo/FileVersionInfo.h"
#include "Source/Common/TechInfo/MCIInfo.h"
#include "TestSupport.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
void SetDirectXVersion(const std::string& version) {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\MICROSOFT\\DirectX", true));
    key.WriteString("Version", version);
}
}  // namespace

TEST(DirectXInfo, NotInstalledWithoutAVersion) {
    TRegistrySandbox registry;
    TDirectXInfo directX;
    for (const char* version : {"", "   "}) {
        if (*version) SetDirectXVersion(version);
        directX.CollectInfo(nullptr);
        EXPECT_FALSE(directX.DirectXInstalled) << '"' << version << '"';
        EXPECT_TRUE(directX.ComponentEntries.empty());  // no file was examined
        EXPECT_EQ(directX.GetInfoText(), TStringList{"\\par DirectX is niet geinstalleerd"});
    }
}

TEST(DirectXInfo, LinesFromGivenEntries) {
    TRegistrySandbox registry;
    SetDirectXVersion("4.09.00.0904");
    TDirectXInfo directX;
    directX.CollectInfo(nullptr);
    directX.ComponentEntries = {"DDRAW.DLL : 5.3.2600.2180  Wine DirectDraw  Date: 1-1-2026 12:00:00  Size: 10 bytes",
                                "DDRAW16.DLL : File not found"};
    directX.DriverEntries = {"S3.DRV : 4.10  S3 {driver}  Date: 1-1-1999 0:00:00  Size: 5 bytes"};
    EXPECT_EQ(directX.GetInfoText(),
              (TStringList{"\\par DirectX Versie(registry):\\tab 4.09.00.0904", "\\par", "\\par DirectX Componenten",
                           "\\par", "DDRAW.DLL : 5.3.2600.2180  Wine DirectDraw  Date: 1-1-2026 12:00:00  Size: 10 bytes",
                           "\\par", "DDRAW16.DLL : File not found", "\\par DirectX Drivers", "\\par",
                           "S3.DRV : 4.10  S3 \\{driver\\}  Date: 1-1-1999 0:00:00  Size: 5 bytes"}));
}

TEST(DirectXInfo, TheSystemFoldersFiles) {
    TRegistrySandbox registry;
    SetDirectXVersion("4.09.00.0904");
    // A component replaced by a file without a version resource is there all the same.
    const std::string unversioned = GetSystemFolder() + "\\DINPUT.VXD";
    ASSERT_FALSE(FileExists(unversioned));
    WriteFileBytes(unversioned, "geen");
    struct TRemove {
        std::string Path;
        ~TRemove() { DeleteFileW(Widen(Path).c_str()); }
    } remove{unversioned};
    TDirectXInfo directX;
    directX.CollectInfo(nullptr);
    ASSERT_TRUE(directX.DirectXInstalled);
    ASSERT_EQ(directX.ComponentEntries.size(), DirectXComponentFiles.size());
    EXPECT_EQ(DirectXDriverFiles.size(), 139u);
    for (size_t i = 0; i < DirectXComponentFiles.size(); ++i) {
        const std::string file = DirectXComponentFiles[i];
        TFileVersionInfo version;
        const bool versioned = version.LoadFromFile(file);
        const std::string expected = versioned ? DirectXFileEntry(file, version)
                                     : FileExists(GetSystemFolder() + "\\" + file) ? DirectXUnversionedEntry(file, version)
                                                                                    : file + " : File not found";
        EXPECT_EQ(directX.ComponentEntries[i], expected);
    }
    // The system folder of every Windows since 98 has DirectDraw with its version; a 9x driver not.
    TFileVersionInfo ddraw;
    ASSERT_TRUE(ddraw.LoadFromFile("DDRAW.DLL"));
    EXPECT_EQ(directX.ComponentEntries[0].rfind("DDRAW.DLL : " + ddraw.FileVersion + "  ", 0), 0u);
    EXPECT_NE(directX.ComponentEntries[0].find(Format("  Size: %d bytes", {ddraw.FileSize})), std::string::npos);
    EXPECT_EQ(directX.ComponentEntries[4], "DSOUND.VXD : File not found");
    const std::string& dinput = directX.ComponentEntries[8];
    EXPECT_EQ(dinput.rfind("DINPUT.VXD : Geen versie-informatie  Date: ", 0), 0u) << dinput;
    EXPECT_EQ(dinput.substr(dinput.size() - 15), "  Size: 4 bytes") << dinput;
    for (const std::string& entry : directX.DriverEntries) EXPECT_EQ(entry.find("File not found"), std::string::npos);
}

TEST(MCIInfo, DeviceTypesAndCapabilities) {
    struct {
        std::optional<DWORD> code;
        const char* text;
    } types[] = {{513, "VCR"},           {514, "Video Disc"},   {515, "Overlay"},        {516, "CD Audio"},
                 {517, "DAT"},           {518, "Scanner"},      {519, "Animatie"},       {520, "Digitale Video"},
                 {521, "Onbekend"},      {522, "Waveform Audio"}, {523, "Sequencer"},    {600, "Gebruiker"},
                 {0, "Gebruiker"},       {std::nullopt, "Gebruiker"}};
    for (const auto& t : types) EXPECT_EQ(MciDeviceTypeText(t.code), t.text) << t.code.value_or(0);

    // Capability items: 1 record, 2 audio, 3 video, 4 type, 5 uses files, 6 compound, 7 eject, 8 play, 9 save.
    std::map<DWORD, DWORD> wave = {{1, 1}, {2, 1}, {3, 0}, {4, 522}, {5, 1}, {6, 1}, {7, 0}, {8, 1}, {9, 1}};
    TMCIDeviceInfo device;
    device.AssignCapabilities([&](DWORD item) -> std::optional<DWORD> {
        auto it = wave.find(item);
        return it == wave.end() ? std::nullopt : std::optional<DWORD>(it->second);
    });
    EXPECT_TRUE(device.CanPlay && device.CanRecord && device.HasAudio && device.Compound && device.UsesFiles &&
                device.CanSave);
    EXPECT_FALSE(device.CanEject || device.HasVideo);
    EXPECT_EQ(device.DeviceType, "Waveform Audio");

    // A simple device that says it uses files is no compound one: it does not.
    std::map<DWORD, DWORD> cd = {{4, 516}, {5, 1}, {7, 1}, {8, 1}};
    device.AssignCapabilities([&](DWORD item) -> std::optional<DWORD> {
        auto it = cd.find(item);
        return it == cd.end() ? std::nullopt : std::optional<DWORD>(it->second);
    });
    EXPECT_TRUE(device.CanPlay && device.CanEject);
    EXPECT_FALSE(device.CanRecord || device.Compound || device.UsesFiles || device.CanSave);
    EXPECT_EQ(device.DeviceType, "CD Audio");

    // Every query failing.
    device.AssignCapabilities([](DWORD) { return std::nullopt; });
    EXPECT_FALSE(device.CanPlay || device.CanEject);
    EXPECT_EQ(device.DeviceType, "Gebruiker");
}

TEST(MCIInfo, LinesFromGivenDevices) {
    TMCIInfo mci;
    mci.CollectInfo(nullptr);
    mci.Devices.clear();
    auto device = std::make_unique<TMCIDeviceInfo>();
    device->Description = "Wave {audio}";
    device->Alias = "waveaudio";
    device->DeviceType = "Waveform Audio";
    device->CanPlay = device->CanRecord = device->HasAudio = device->Compound = device->UsesFiles = device->CanSave = true;
    mci.Devices.push_back(std::move(device));
    auto unopened = std::make_unique<TMCIDeviceInfo>();
    unopened->Alias = "videodisc";
    mci.Devices.push_back(std::move(unopened));
    EXPECT_EQ(mci.GetInfoText(), (TStringList{
                                     "\\par Aantal MCI apparaten:\\tab 2",
                                     "\\par",
                                     "\\par Naam:\\tab Wave \\{audio\\}",
                                     "\\par Alias:\\tab waveaudio",
                                     "\\par Type:\\tab Waveform Audio",
                                     "\\par Kan afspelen:\\tab Ja",
                                     "\\par Kan opnemen:\\tab Ja",
                                     "\\par Kan medium uitwerpen:\\tab Nee",
                                     "\\par Heeft audio:\\tab Ja",
                                     "\\par Heeft video:\\tab Nee",
                                     "\\par Expliciet openen en sluiten:\\tab Ja",
                                     "\\par Heeft een bestand nodig:\\tab Ja",
                                     "\\par Kan bestanden maken:\\tab Ja",
                                     "\\par",
                                     "\\par Naam:\\tab ",
                                     "\\par Alias:\\tab videodisc",
                                     "\\par Type:\\tab ",
                                     "\\par Kan afspelen:\\tab Nee",
                                     "\\par Kan opnemen:\\tab Nee",
                                     "\\par Kan medium uitwerpen:\\tab Nee",
                                     "\\par Heeft audio:\\tab Nee",
                                     "\\par Heeft video:\\tab Nee",
                                     "\\par Expliciet openen en sluiten:\\tab Nee",
                                     "\\par Heeft een bestand nodig:\\tab Nee",
                                     "\\par Kan bestanden maken:\\tab Nee",
                                     "\\par",
                                 }));
}

TEST(MCIInfo, RealDevicesAreClosedAgain) {
    TMCIInfo mci;
    mci.CollectInfo(nullptr);
    // Wine registers its wave audio, sequencer, CD audio and video devices.
    ASSERT_GE(mci.Devices.size(), 1u);
    bool wave = false;
    for (const auto& device : mci.Devices) {
        EXPECT_FALSE(device->Alias.empty());
        if (SameText(device->Alias, "waveaudio")) {
            wave = true;
            EXPECT_EQ(device->DeviceType, "Waveform Audio");
            EXPECT_TRUE(device->Compound);
        }
    }
    EXPECT_TRUE(wave);
    // Nothing stayed open: "all" devices answer no open device.
    wchar_t answer[64] = {};
    EXPECT_EQ(mciSendStringW(L"sysinfo all quantity open", answer, 64, nullptr), 0u);
    EXPECT_STREQ(answer, L"0");
}
