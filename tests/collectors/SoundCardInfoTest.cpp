#include <gtest/gtest.h>

#include <regex>

#include "Source/Common/TechInfo/SoundCardInfo.h"

namespace {
template <class TCaps>
TCaps Named(const wchar_t* name, unsigned version) {
    TCaps caps{};
    wcscpy(caps.szPname, name);
    caps.vDriverVersion = version;
    return caps;
}

WAVEOUTCAPSW WaveOut(const wchar_t* name, unsigned version, WORD channels, DWORD formats) {
    auto caps = Named<WAVEOUTCAPSW>(name, version);
    caps.wChannels = channels;
    caps.dwFormats = formats;
    return caps;
}

MIDIOUTCAPSW MidiOut(const wchar_t* name, WORD technology, WORD mask, DWORD support) {
    auto caps = Named<MIDIOUTCAPSW>(name, 0x0100);
    caps.wTechnology = technology;
    caps.wChannelMask = mask;
    caps.wVoices = 32;
    caps.wNotes = 64;
    caps.dwSupport = support;
    return caps;
}

AUXCAPSW Aux(const wchar_t* name, WORD technology, DWORD support) {
    auto caps = Named<AUXCAPSW>(name, 0x0400);
    caps.wTechnology = technology;
    caps.dwSupport = support;
    return caps;
}
}  // namespace

TEST(SoundCardInfo, DriverVersions) {
    struct {
        unsigned version;
        const char* text;
    } cases[] = {{0x0400, "4.00"}, {0x030A, "3.10"}, {0x0105, "1.05"}, {0x0A63, "10.99"}, {0, "0.00"}};
    for (const auto& c : cases) EXPECT_EQ(DriverVersionText(c.version), c.text) << c.version;
}

TEST(SoundCardInfo, WaveFormats) {
    struct {
        DWORD formats;
        const char *rate, *bits;
    } cases[] = {
        {0x0FFF, "44.1 kHz", "16-bit"}, {0x0001, "11.025 kHz", "8-bit"}, {0x0010, "22.05 kHz", "8-bit"},
        {0x0004, "11.025 kHz", "16-bit"}, {0x0080, "22.05 kHz", "16-bit"}, {0x0100, "44.1 kHz", "8-bit"},
        {0x0000, "11.025 kHz", "8-bit"},
    };
    for (const auto& c : cases) {
        TWaveDevice device(WaveOut(L"Kaart", 0x0400, 2, c.formats));
        EXPECT_EQ(device.MaxSampleRate, c.rate) << c.formats;
        EXPECT_EQ(device.MaxSampleBits, c.bits) << c.formats;
    }
}

TEST(SoundCardInfo, MidiAndAuxiliaryCapabilities) {
    struct {
        WORD technology;
        const char* text;
    } technologies[] = {{1, "MIDI hardware port"}, {2, "Synthesizer"}, {3, "Square wave synthesizer"},
                        {4, "FM synthesizer"}, {5, "Microsoft MIDI mapper"}, {7, "Onbekend"}, {0, "Onbekend"}};
    for (const auto& c : technologies)
        EXPECT_EQ(TMidiDevice(MidiOut(L"Synth", c.technology, 0, 0)).Technology, c.text) << c.technology;

    TMidiDevice cached(MidiOut(L"Synth", 4, 0x00A0, 0x0004 | 0x0001));
    EXPECT_EQ(cached.ChannelMask, "00A0h");
    EXPECT_TRUE(cached.PatchCaching);
    EXPECT_FALSE(cached.Balance);
    EXPECT_FALSE(cached.DirectStream);
    EXPECT_TRUE(cached.VolumeControl);
    TMidiDevice streaming(MidiOut(L"Synth", 4, 0xFFFF, 0x0002 | 0x0008));
    EXPECT_EQ(streaming.ChannelMask, "FFFFh");
    EXPECT_TRUE(streaming.Balance && streaming.DirectStream);
    EXPECT_FALSE(streaming.PatchCaching || streaming.VolumeControl);

    struct {
        WORD technology;
        DWORD support;
        const char* text;
        bool balance, volume;
    } aux[] = {{1, 0x0002, "CD Audio", true, false}, {2, 0x0001, "Line-in", false, true}, {9, 0x0003, "Onbekend", true, true}};
    for (const auto& c : aux) {
        TAuxDevice device(Aux(L"Aux", c.technology, c.support));
        EXPECT_EQ(device.Technology, c.text);
        EXPECT_EQ(device.Balance, c.balance);
        EXPECT_EQ(device.VolumeControl, c.volume);
    }
}

TEST(SoundCardInfo, LinesFromDeviceRecords) {
    TSoundCardInfo sound;
    sound.CollectInfo(nullptr);
    sound.WaveInDevices.clear();
    sound.WaveOutDevices.clear();
    sound.MidiInDevices.clear();
    sound.MidiOutDevices.clear();
    sound.MixerDevices.clear();
    sound.AuxDevices.clear();
    sound.WaveOutDevices.push_back(std::make_unique<TWaveDevice>(WaveOut(L"Wave-mapper", 0x0500, 2, 0x0FFF)));
    sound.WaveOutDevices.push_back(std::make_unique<TWaveDevice>(WaveOut(L"Geluidskaart", 0x030A, 1, 0x0001)));
    sound.MidiInDevices.push_back(std::make_unique<TMidiDevice>(Named<MIDIINCAPSW>(L"MPU-401", 0x0400)));
    sound.MidiOutDevices.push_back(std::make_unique<TMidiDevice>(MidiOut(L"FM {synth}", 4, 0xFFFF, 0x0003)));
    sound.MixerDevices.push_back(std::make_unique<TMixerDevice>(Named<MIXERCAPSW>(L"Mixer", 0x0401)));
    sound.AuxDevices.push_back(std::make_unique<TAuxDevice>(Aux(L"CD", 1, 0x0001)));
    EXPECT_EQ(sound.GetInfoText(), (TStringList{
                                       "\\par Aantal wave in apparaten:\\tab 0",
                                       "\\par",
                                       "\\par Aantal wave out apparaten:\\tab 2",
                                       "\\par Driver:\\tab Wave-mapper",
                                       "\\par Versie:\\tab 5.00",
                                       "\\par Kanalen:\\tab 2",
                                       "\\par Max sampling rate:\\tab 44.1 kHz",
                                       "\\par Max sampling bits:\\tab 16-bit",
                                       "\\par",
                                       "\\par Driver:\\tab Geluidskaart",
                                       "\\par Versie:\\tab 3.10",
                                       "\\par Kanalen:\\tab 1",
                                       "\\par Max sampling rate:\\tab 11.025 kHz",
                                       "\\par Max sampling bits:\\tab 8-bit",
                                       "\\par",
                                       "\\par",
                                       "\\par Aantal midi in apparaten:\\tab 1",
                                       "\\par Driver:\\tab MPU-401",
                                       "\\par Versie:\\tab 4.00",
                                       "\\par",
                                       "\\par",
                                       "\\par Aantal midi out apparaten:\\tab 1",
                                       "\\par Driver:\\tab FM \\{synth\\}",
                                       "\\par Versie:\\tab 1.00",
                                       "\\par Apparaat type:\\tab FM synthesizer",
                                       "\\par Channel mask:\\tab FFFFh",
                                       "\\par Aantal stemmen:\\tab 32",
                                       "\\par Aantal noten:\\tab 64",
                                       "\\par Patch caching:\\tab Nee",
                                       "\\par Balans:\\tab Ja",
                                       "\\par Direct stream:\\tab Nee",
                                       "\\par Volume controle:\\tab Ja",
                                       "\\par",
                                       "\\par",
                                       "\\par Aantal mixer apparaten:\\tab 1",
                                       "\\par Driver:\\tab Mixer",
                                       "\\par Versie:\\tab 4.01",
                                       "\\par",
                                       "\\par",
                                       "\\par Aantal aux apparaten:\\tab 1",
                                       "\\par Driver:\\tab CD",
                                       "\\par Versie:\\tab 4.00",
                                       "\\par Apparaat type:\\tab CD Audio",
                                       "\\par Balans:\\tab Nee",
                                       "\\par Volume controle:\\tab Ja",
                                       "\\par",
                                   }));
}

TEST(SoundCardInfo, RealMachine) {
    TSoundCardInfo sound;
    sound.MixerDevices.push_back(std::make_unique<TMixerDevice>(Named<MIXERCAPSW>(L"oud", 0)));
    sound.CollectInfo(nullptr);
    EXPECT_LE(sound.WaveOutDevices.size(), waveOutGetNumDevs() + 1);  // the mapper comes on top
    EXPECT_EQ(sound.MixerDevices.size(), mixerGetNumDevs());
    EXPECT_EQ(sound.AuxDevices.size(), auxGetNumDevs());
    const std::regex version(R"(\d+\.\d\d)");
    for (const auto& device : sound.WaveOutDevices) {
        EXPECT_TRUE(std::regex_match(device->Version, version)) << device->Version;
        EXPECT_NE(device->Name, "oud");
    }
    const size_t expected = 2 + 6 * sound.WaveInDevices.size() + 2 + 6 * sound.WaveOutDevices.size() + 2 +
                            3 * sound.MidiInDevices.size() + 2 + 11 * sound.MidiOutDevices.size() + 2 +
                            3 * sound.MixerDevices.size() + 1 + 6 * sound.AuxDevices.size();
    const TStringList& lines = sound.GetInfoText();
    EXPECT_EQ(lines.size(), expected);
    EXPECT_EQ(lines[0], "\\par Aantal wave in apparaten:\\tab " + std::to_string(sound.WaveInDevices.size()));
}
