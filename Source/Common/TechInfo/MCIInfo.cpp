#include "Source/Common/TechInfo/MCIInfo.h"

#include <mmsystem.h>

#include <cstring>

#include "core/StrConv.h"
#include "platform/Handles.h"
#include "platform/LateLibrary.h"
#include "platform/Registry.h"
#include "platform/RegistryValues.h"

namespace {
// An open device: closed with the close command.
struct TMciDeviceTraits {
    using Handle = MCIDEVICEID;
    static MCIDEVICEID Empty() noexcept { return 0; }
    static bool IsValid(MCIDEVICEID id) noexcept { return id != 0; }
    static void Free(MCIDEVICEID id) noexcept { BRAN_LATE(Winmm(), mciSendCommandW)(id, MCI_CLOSE, MCI_WAIT, 0); }
};
using TMciDevice = TOwnedHandle<TMciDeviceTraits>;

// Opens a device by its type name (nothing held when it cannot be opened).
TMciDevice OpenByType(const std::string& type) {
    const std::wstring name = Widen(type);
    MCI_OPEN_PARMSW open{};
    open.lpstrDeviceType = name.c_str();
    if (BRAN_LATE(Winmm(), mciSendCommandW)(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_WAIT,
                                            reinterpret_cast<DWORD_PTR>(&open)) != 0)
        return {};
    return TMciDevice(open.wDeviceID);
}

std::optional<DWORD> Capability(const TMciDevice& device, DWORD item) {
    MCI_GETDEVCAPS_PARMS caps{};
    caps.dwItem = item;
    if (BRAN_LATE(Winmm(), mciSendCommandW)(device.Get(), MCI_GETDEVCAPS, MCI_GETDEVCAPS_ITEM | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&caps)) != 0)
        return std::nullopt;
    return caps.dwReturn;
}

// The system-information command for all devices; `info` gets the answer.
MCIERROR SystemInformation(DWORD flags, DWORD number, wchar_t (&buffer)[256]) {
    MCI_SYSINFO_PARMSW info{};
    info.lpstrReturn = buffer;
    info.dwRetSize = 256;
    info.dwNumber = number;
    return BRAN_LATE(Winmm(), mciSendCommandW)(MCI_ALL_DEVICE_ID, MCI_SYSINFO, flags,
                                               reinterpret_cast<DWORD_PTR>(&info));
}

// -1 when the platform cannot tell.
int DeviceCount() {
    wchar_t buffer[256] = {};
    if (SystemInformation(MCI_SYSINFO_QUANTITY, 0, buffer) != 0) return -1;
    // The count comes back as a double word in the answer buffer.
    DWORD count = 0;
    memcpy(&count, buffer, sizeof count);
    return static_cast<int>(count & 0xFF);
}

// The name of device `number`, or the platform's text for the error.
std::string DeviceName(DWORD number) {
    wchar_t buffer[256] = {};
    const MCIERROR error = SystemInformation(MCI_SYSINFO_NAME, number, buffer);
    if (error == 0) return Narrow(buffer);
    wchar_t text[128] = {};
    BRAN_LATE(Winmm(), mciGetErrorStringW)(error, text, 128);
    return Narrow(text);
}

std::string DescriptionOf(const std::string& alias) {
    const TRegKey key = TRegKey::OpenReadOnly(
        HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\MediaResources\\mci\\" + alias);
    return key.IsOpen() ? ReadStringOrEmpty(key, "Description") : alias;
}
}  // namespace

std::string MciDeviceTypeText(std::optional<DWORD> code) {
    switch (code.value_or(0)) {
        case MCI_DEVTYPE_VCR: return "VCR";
        case MCI_DEVTYPE_VIDEODISC: return "Video Disc";
        case MCI_DEVTYPE_OVERLAY: return "Overlay";
        case MCI_DEVTYPE_CD_AUDIO: return "CD Audio";
        case MCI_DEVTYPE_DAT: return "DAT";
        case MCI_DEVTYPE_SCANNER: return "Scanner";
        case MCI_DEVTYPE_ANIMATION: return "Animatie";
        case MCI_DEVTYPE_DIGITAL_VIDEO: return "Digitale Video";
        case MCI_DEVTYPE_OTHER: return "Onbekend";
        case MCI_DEVTYPE_WAVEFORM_AUDIO: return "Waveform Audio";
        case MCI_DEVTYPE_SEQUENCER: return "Sequencer";
        default: return "Gebruiker";
    }
}

TMCIDeviceInfo::TMCIDeviceInfo(DWORD number) : Alias(DeviceName(number)) {
    const TMciDevice device = OpenByType(Alias);
    if (!device) return;
    Description = DescriptionOf(Alias);
    AssignCapabilities([&device](DWORD item) { return Capability(device, item); });
}

void TMCIDeviceInfo::AssignCapabilities(const TMciCapabilityQuery& query) {
    auto flag = [&query](DWORD item) { return query(item).value_or(0) != 0; };
    CanPlay = flag(MCI_GETDEVCAPS_CAN_PLAY);
    CanRecord = flag(MCI_GETDEVCAPS_CAN_RECORD);
    CanEject = flag(MCI_GETDEVCAPS_CAN_EJECT);
    HasAudio = flag(MCI_GETDEVCAPS_HAS_AUDIO);
    HasVideo = flag(MCI_GETDEVCAPS_HAS_VIDEO);
    Compound = flag(MCI_GETDEVCAPS_COMPOUND_DEVICE);
    // Only a compound device plays an element it is given; whether that is a file it tells itself.
    UsesFiles = Compound && flag(MCI_GETDEVCAPS_USES_FILES);
    CanSave = flag(MCI_GETDEVCAPS_CAN_SAVE);
    DeviceType = MciDeviceTypeText(query(MCI_GETDEVCAPS_DEVICE_TYPE));
}

TMCIInfo::TMCIInfo() : TTechInfo("MCIdevices") {}

void TMCIInfo::GatherInfo() {
    Devices.clear();
    Lines.clear();
    const int count = DeviceCount();
    for (int n = 1; n <= count; ++n) Devices.push_back(std::make_unique<TMCIDeviceInfo>(static_cast<DWORD>(n)));
}

const TStringList& TMCIInfo::BuildInfoText() {
    Lines = {LabelledLine("%s Aantal MCI apparaten:%s %d", static_cast<int>(Devices.size())), RtfPar};
    for (const auto& device : Devices) {
        Lines.insert(Lines.end(), {
                                      LabelledLine("%s Naam:%s %s", device->Description),
                                      LabelledLine("%s Alias:%s %s", device->Alias),
                                      LabelledLine("%s Type:%s %s", device->DeviceType),
                                      LabelledLine("%s Kan afspelen:%s %s", YesNoText(device->CanPlay)),
                                      LabelledLine("%s Kan opnemen:%s %s", YesNoText(device->CanRecord)),
                                      LabelledLine("%s Kan medium uitwerpen:%s %s", YesNoText(device->CanEject)),
                                      LabelledLine("%s Heeft audio:%s %s", YesNoText(device->HasAudio)),
                                      LabelledLine("%s Heeft video:%s %s", YesNoText(device->HasVideo)),
                                      LabelledLine("%s Expliciet openen en sluiten:%s %s", YesNoText(device->Compound)),
                                      LabelledLine("%s Heeft een bestand nodig:%s %s", YesNoText(device->UsesFiles)),
                                      LabelledLine("%s Kan bestanden maken:%s %s", YesNoText(device->CanSave)),
                                      RtfPar,
                                  });
    }
    return Lines;
}
