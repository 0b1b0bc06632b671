#pragma once
// TSoundCardInfo ("Soundcard"): the wave-in, wave-out, MIDI-in, MIDI-out, mixer and auxiliary audio
// devices. Each device record is built from the platform's capabilities record of its kind, so that
// the lines can be checked from given records.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

// A 16-bit driver version as "major.minor", the minor with two digits: 0x030A gives "3.10".
std::string DriverVersionText(unsigned version);

class TWaveDevice : public TBranObject {
public:
    explicit TWaveDevice(const WAVEINCAPSW& caps);
    explicit TWaveDevice(const WAVEOUTCAPSW& caps);

    std::string Name, Version;
    uint8_t Channels = 0;
    std::string MaxSampleRate;  // "44.1 kHz", "22.05 kHz" or "11.025 kHz"
    std::string MaxSampleBits;  // "16-bit" or "8-bit"

private:
    TWaveDevice(const wchar_t* name, unsigned version, unsigned channels, DWORD formats);
};

class TMidiDevice : public TBranObject {
public:
    explicit TMidiDevice(const MIDIINCAPSW& caps);  // name and version only
    explicit TMidiDevice(const MIDIOUTCAPSW& caps);

    std::string Name, Version, Technology, ChannelMask;
    int Voices = 0, Notes = 0;
    bool PatchCaching = false, Balance = false, DirectStream = false, VolumeControl = false;
};

class TMixerDevice : public TBranObject {
public:
    explicit TMixerDevice(const MIXERCAPSW& caps);
    std::string Name, Version;
};

class TAuxDevice : public TBranObject {
public:
    explicit TAuxDevice(const AUXCAPSW& caps);
    std::string Name, Version, Technology;
    bool Balance = false, VolumeControl = false;
};

class TSoundCardInfo : public TTechInfo {
public:
    TSoundCardInfo();

    std::vector<std::unique_ptr<TWaveDevice>> WaveInDevices, WaveOutDevices;
    std::vector<std::unique_ptr<TMidiDevice>> MidiInDevices, MidiOutDevices;
    std::vector<std::unique_ptr<TMixerDevice>> MixerDevices;
    std::vector<std::unique_ptr<TAuxDevice>> AuxDevices;

protected:
    void GatherInfo() override;
    // Gathers first when nothing was collected yet.
    const TStringList& BuildInfoText() override;
};
