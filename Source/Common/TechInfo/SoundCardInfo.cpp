#include "Source/Common/TechInfo/SoundCardInfo.h"

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/LateLibrary.h"

namespace {
constexpr DWORD Formats16Bit = WAVE_FORMAT_1M16 | WAVE_FORMAT_1S16 | WAVE_FORMAT_2M16 | WAVE_FORMAT_2S16 |
                               WAVE_FORMAT_4M16 | WAVE_FORMAT_4S16;
constexpr DWORD Formats44kHz = WAVE_FORMAT_4M08 | WAVE_FORMAT_4S08 | WAVE_FORMAT_4M16 | WAVE_FORMAT_4S16;
constexpr DWORD Formats22kHz = WAVE_FORMAT_2M08 | WAVE_FORMAT_2S08 | WAVE_FORMAT_2M16 | WAVE_FORMAT_2S16;

std::string MidiTechnologyText(unsigned technology) {
    switch (technology) {
        case MOD_MIDIPORT: return "MIDI hardware port";
        case MOD_SYNTH: return "Synthesizer";
        case MOD_SQSYNTH: return "Square wave synthesizer";
        case MOD_FMSYNTH: return "FM synthesizer";
        case MOD_MAPPER: return "Microsoft MIDI mapper";
        default: return "Onbekend";
    }
}

std::string AuxTechnologyText(unsigned technology) {
    switch (technology) {
        case AUXCAPS_CDAUDIO: return "CD Audio";
        case AUXCAPS_AUXIN: return "Line-in";
        default: return "Onbekend";
    }
}

// Ids from the mapper (-1) up to count - 1; only devices whose capabilities can be read are listed.
template <class TDevice, class TCaps, class TGetCaps>
void EnumerateWithMapper(std::vector<std::unique_ptr<TDevice>>& devices, UINT count, TGetCaps getCaps) {
    for (int id = -1; id < static_cast<int>(count); ++id) {
        TCaps caps{};
        if (getCaps(static_cast<UINT_PTR>(static_cast<UINT>(id)), &caps, sizeof caps) != MMSYSERR_NOERROR) continue;
        // a device that cannot be described is left out
        Attempt([&] { devices.push_back(std::make_unique<TDevice>(caps)); });
    }
}

// Ids 0 to count - 1; a failed capabilities call still gives a (blank) device.
template <class TDevice, class TCaps, class TGetCaps>
void EnumerateAll(std::vector<std::unique_ptr<TDevice>>& devices, UINT count, TGetCaps getCaps) {
    for (UINT id = 0; id < count; ++id) {
        TCaps caps{};
        getCaps(static_cast<UINT_PTR>(id), &caps, sizeof caps);
        Attempt([&] { devices.push_back(std::make_unique<TDevice>(caps)); });
    }
}

void AddNameAndVersion(TStringList& lines, const std::string& name, const std::string& version) {
    lines.push_back(LabelledLine("%s Driver:%s %s", name));
    lines.push_back(LabelledLine("%s Versie:%s %s", version));
}

template <class TDevice>
void AddWaveGroup(TStringList& lines, const char* countFormat, const std::vector<std::unique_ptr<TDevice>>& devices) {
    lines.push_back(LabelledLine(countFormat, static_cast<int>(devices.size())));
    for (const auto& device : devices) {
        AddNameAndVersion(lines, device->Name, device->Version);
        lines.push_back(LabelledLine("%s Kanalen:%s %d", static_cast<int>(device->Channels)));
        lines.push_back(LabelledLine("%s Max sampling rate:%s %s", device->MaxSampleRate));
        lines.push_back(LabelledLine("%s Max sampling bits:%s %s", device->MaxSampleBits));
        lines.push_back(RtfPar);
    }
    lines.push_back(RtfPar);
}
}  // namespace

std::string DriverVersionText(unsigned version) {
    std::string minor = IntToStr(version & 0xFF);
    if (minor.size() < 2) minor.insert(0, "0");
    return Format("%d.%s", {(version >> 8) & 0xFF, minor});
}

TWaveDevice::TWaveDevice(const WAVEINCAPSW& caps)
    : TWaveDevice(caps.szPname, caps.vDriverVersion, caps.wChannels, caps.dwFormats) {}
TWaveDevice::TWaveDevice(const WAVEOUTCAPSW& caps)
    : TWaveDevice(caps.szPname, caps.vDriverVersion, caps.wChannels, caps.dwFormats) {}

TWaveDevice::TWaveDevice(const wchar_t* name, unsigned version, unsigned channels, DWORD formats)
    : Name(Narrow(name)),
      Version(DriverVersionText(version)),
      Channels(static_cast<uint8_t>(channels)),
      MaxSampleRate(formats & Formats44kHz   ? "44.1 kHz"
                    : formats & Formats22kHz ? "22.05 kHz"
                                             : "11.025 kHz"),
      MaxSampleBits(formats & Formats16Bit ? "16-bit" : "8-bit") {}

TMidiDevice::TMidiDevice(const MIDIINCAPSW& caps) : Name(Narrow(caps.szPname)), Version(DriverVersionText(caps.vDriverVersion)) {}

TMidiDevice::TMidiDevice(const MIDIOUTCAPSW& caps)
    : Name(Narrow(caps.szPname)),
      Version(DriverVersionText(caps.vDriverVersion)),
      Technology(MidiTechnologyText(caps.wTechnology)),
      ChannelMask(Format("%.4xh", {static_cast<unsigned>(caps.wChannelMask)})),
      Voices(caps.wVoices),
      Notes(caps.wNotes),
      PatchCaching(caps.dwSupport & MIDICAPS_CACHE),
      Balance(caps.dwSupport & MIDICAPS_LRVOLUME),
      DirectStream(caps.dwSupport & MIDICAPS_STREAM),
      VolumeControl(caps.dwSupport & MIDICAPS_VOLUME) {}

TMixerDevice::TMixerDevice(const MIXERCAPSW& caps) : Name(Narrow(caps.szPname)), Version(DriverVersionText(caps.vDriverVersion)) {}

TAuxDevice::TAuxDevice(const AUXCAPSW& caps)
    : Name(Narrow(caps.szPname)),
      Version(DriverVersionText(caps.vDriverVersion)),
      Technology(AuxTechnologyText(caps.wTechnology)),
      Balance(caps.dwSupport & AUXCAPS_LRVOLUME),
      VolumeControl(caps.dwSupport & AUXCAPS_VOLUME) {}

TSoundCardInfo::TSoundCardInfo() : TTechInfo("Soundcard") {}

void TSoundCardInfo::GatherInfo() {
    WaveInDevices.clear();
    WaveOutDevices.clear();
    MidiInDevices.clear();
    MidiOutDevices.clear();
    MixerDevices.clear();
    AuxDevices.clear();
    const TLateLibrary& mm = Winmm();
    EnumerateWithMapper<TWaveDevice, WAVEINCAPSW>(WaveInDevices, BRAN_LATE(mm, waveInGetNumDevs)(),
                                                  BRAN_LATE(mm, waveInGetDevCapsW));
    EnumerateWithMapper<TWaveDevice, WAVEOUTCAPSW>(WaveOutDevices, BRAN_LATE(mm, waveOutGetNumDevs)(),
                                                   BRAN_LATE(mm, waveOutGetDevCapsW));
    EnumerateWithMapper<TMidiDevice, MIDIINCAPSW>(MidiInDevices, BRAN_LATE(mm, midiInGetNumDevs)(),
                                                  BRAN_LATE(mm, midiInGetDevCapsW));
    EnumerateWithMapper<TMidiDevice, MIDIOUTCAPSW>(MidiOutDevices, BRAN_LATE(mm, midiOutGetNumDevs)(),
                                                   BRAN_LATE(mm, midiOutGetDevCapsW));
    EnumerateAll<TMixerDevice, MIXERCAPSW>(MixerDevices, BRAN_LATE(mm, mixerGetNumDevs)(),
                                           BRAN_LATE(mm, mixerGetDevCapsW));
    EnumerateAll<TAuxDevice, AUXCAPSW>(AuxDevices, BRAN_LATE(mm, auxGetNumDevs)(), BRAN_LATE(mm, auxGetDevCapsW));
}

const TStringList& TSoundCardInfo::BuildInfoText() {
    if (!Collected()) GatherInfo();
    Lines.clear();
    AddWaveGroup(Lines, "%s Aantal wave in apparaten:%s %d", WaveInDevices);
    AddWaveGroup(Lines, "%s Aantal wave out apparaten:%s %d", WaveOutDevices);

    Lines.push_back(LabelledLine("%s Aantal midi in apparaten:%s %d", static_cast<int>(MidiInDevices.size())));
    for (const auto& device : MidiInDevices) {
        AddNameAndVersion(Lines, device->Name, device->Version);
        Lines.push_back(RtfPar);
    }
    Lines.push_back(RtfPar);

    Lines.push_back(LabelledLine("%s Aantal midi out apparaten:%s %d", static_cast<int>(MidiOutDevices.size())));
    for (const auto& device : MidiOutDevices) {
        AddNameAndVersion(Lines, device->Name, device->Version);
        Lines.insert(Lines.end(), {
                                      LabelledLine("%s Apparaat type:%s %s", device->Technology),
                                      LabelledLine("%s Channel mask:%s %s", device->ChannelMask),
                                      LabelledLine("%s Aantal stemmen:%s %d", device->Voices),
                                      LabelledLine("%s Aantal noten:%s %d", device->Notes),
                                      LabelledLine("%s Patch caching:%s %s", YesNoText(device->PatchCaching)),
                                      LabelledLine("%s Balans:%s %s", YesNoText(device->Balance)),
                                      LabelledLine("%s Direct stream:%s %s", YesNoText(device->DirectStream)),
                                      LabelledLine("%s Volume controle:%s %s", YesNoText(device->VolumeControl)),
                                      RtfPar,
                                  });
    }
    Lines.push_back(RtfPar);

    Lines.push_back(LabelledLine("%s Aantal mixer apparaten:%s %d", static_cast<int>(MixerDevices.size())));
    for (const auto& device : MixerDevices) {
        AddNameAndVersion(Lines, device->Name, device->Version);
        Lines.push_back(RtfPar);
    }
    Lines.push_back(RtfPar);

    Lines.push_back(LabelledLine("%s Aantal aux apparaten:%s %d", static_cast<int>(AuxDevices.size())));
    for (const auto& device : AuxDevices) {
        AddNameAndVersion(Lines, device->Name, device->Version);
        Lines.insert(Lines.end(), {
                                      LabelledLine("%s Apparaat type:%s %s", device->Technology),
                                      LabelledLine("%s Balans:%s %s", YesNoText(device->Balance)),
                                      LabelledLine("%s Volume controle:%s %s", YesNoText(device->VolumeControl)),
                                      RtfPar,
                                  });
    }
    return Lines;
}
