#include "Source/Common/TechInfo/CPUID.h"

#include <windows.h>

#include <cmath>
#include <cstring>

#include "platform/Registry.h"

namespace {
constexpr unsigned IdFlagBit = 21;
constexpr unsigned AlignmentCheckBit = 18;
constexpr uint32_t FeatureFPU = 1u << 0;
constexpr uint32_t FeatureTimeStamp = 1u << 4;
constexpr uint32_t FeatureAPIC = 1u << 9;

class TMachineProcessor : public TProcessorAccess {
public:
    bool CanFlipEflagsBit(unsigned bit) override { return ::CanFlipEflagsBit(bit); }
    uint16_t FlagsHighNibbleAfterWriting(bool allSet) override { return ::FlagsHighNibbleAfterWriting(allSet); }
    TCpuidRegisters Cpuid(uint32_t leaf) override { return ExecuteCpuid(leaf); }
    uint64_t ReadTimestampCounter() override { return ::ReadTimestampCounter(); }
    bool PerformanceFrequency(int64_t& frequency) override {
        LARGE_INTEGER f;
        if (!::QueryPerformanceFrequency(&f) || f.QuadPart <= 0) return false;
        frequency = f.QuadPart;
        return true;
    }
    int64_t PerformanceCounter() override {
        LARGE_INTEGER c;
        ::QueryPerformanceCounter(&c);
        return c.QuadPart;
    }
};

std::string Family4Name(uint32_t model) {
    switch (model) {
        case 0:
        case 1: return " DX";
        case 2: return " SX";
        case 3: return " DX2";
        case 4: return " SL";
        case 5: return " SX2";
        case 7: return " DX2 WriteBack";
        case 8: return " DX4";
        default: return "";
    }
}

std::string Family5Name(uint32_t model) {
    switch (model) {
        case 1: return " 60 or 66 Mhz";
        case 2:
        case 3:
        case 6: return " ";
        case 4: return " MMX";
        default: return "";
    }
}

std::string Family6Name(uint32_t model) {
    switch (model) {
        case 1: return "Intel Pentium Pro";
        case 3: return "Intel Pentium II";
        case 5: return "Intel Pentium P6";
        default: return "Unknown Type";
    }
}
}  // namespace

TProcessorAccess& MachineProcessor() {
    static TMachineProcessor machine;
    return machine;
}

TCPUID::TCPUID(TProcessorAccess& machine) : FMachine(machine) {
    FHasCPUID = DetectCPUID();
    FProcessorDescription = BuildDescription();
    if (FHasCPUID) {
        FHasFPU = (FCPUID4 & FeatureFPU) != 0;
        FHasTimeStamp = (FCPUID4 & FeatureTimeStamp) != 0;
        FHasAPIC = (FCPUID4 & FeatureAPIC) != 0;
        if (FHasTimeStamp) {
            RefreshTimeStamp();
            if (FCyclesPerSecond == 0) GetCPUSpeed();
        }
    }
    if (FCyclesPerSecond == 0) FCyclesPerSecond = ReadRegistrySpeed();
    if (FMeasuredMHz > 0)
        FProcessorSpeed = FMeasuredMHz;
    else if (FCyclesPerSecond > 0)
        FProcessorSpeed = static_cast<double>(FCyclesPerSecond) / 1000000.0;
}

bool TCPUID::DetectCPUID() {
    if (!FMachine.CanFlipEflagsBit(IdFlagBit)) return false;
    const TCpuidRegisters leaf1 = FMachine.Cpuid(1);
    FCPUID1 = leaf1.EAX;
    FCPUID2 = leaf1.EBX;
    FCPUID3 = leaf1.ECX;
    FCPUID4 = leaf1.EDX;
    FProcessorType = (leaf1.EAX >> 12) & 0x3;
    FProcessorFamily = (leaf1.EAX >> 8) & 0xF;
    FProcessorModel = (leaf1.EAX >> 4) & 0xF;
    FProcessorStepping = leaf1.EAX & 0xF;

    // The vendor string is spelled by EBX, EDX, ECX in that order, each least significant byte first.
    const TCpuidRegisters leaf0 = FMachine.Cpuid(0);
    char vendor[12];
    for (int i = 0; i < 4; ++i) {
        vendor[i] = static_cast<char>(leaf0.EBX >> (8 * i));
        vendor[4 + i] = static_cast<char>(leaf0.EDX >> (8 * i));
        vendor[8 + i] = static_cast<char>(leaf0.ECX >> (8 * i));
    }
    FProcessorVendor.assign(vendor, sizeof vendor);
    return true;
}

// Any processor with CPUID gets the Intel names: the vendor is deliberately not consulted.
std::string TCPUID::BuildDescription() {
    if (!FHasCPUID) {
        // Pre-CPUID processors tell themselves apart by which flags they let the program change.
        std::string description = "80486 Processor";
        if (FMachine.FlagsHighNibbleAfterWriting(false) == 0xF000) description = "8086/8088 Processor";
        if (FMachine.FlagsHighNibbleAfterWriting(true) == 0) description = "80286 Processor";
        if (!FMachine.CanFlipEflagsBit(AlignmentCheckBit)) description = "80386 Processor";
        return description;
    }
    const std::string overdrive = FProcessorType == 1 ? " Overdrive" : "";
    switch (FProcessorFamily) {
        case 4: return "Intel 486" + overdrive + Family4Name(FProcessorModel);
        case 5: return "Intel Pentium" + overdrive + Family5Name(FProcessorModel);
        case 6: return Family6Name(FProcessorModel) + overdrive;
        default: return "Unknown Type";
    }
}

void TCPUID::RefreshTimeStamp() {
    if (!FHasTimeStamp) return;
    FTimeStampHiHi = static_cast<uint16_t>(FMachine.ReadTimestampCounter() >> 48);
    FTimeStampHiLo = static_cast<uint16_t>(FMachine.ReadTimestampCounter() >> 32);
    FTimeStampLoHi = static_cast<uint16_t>(FMachine.ReadTimestampCounter() >> 16);
    FTimeStampLoLo = static_cast<uint16_t>(FMachine.ReadTimestampCounter());
}

bool TCPUID::SupportsTimeStamp() const { return (FCPUID4 & FeatureTimeStamp) != 0; }

uint64_t TCPUID::GetTimeStamp() { return SupportsTimeStamp() ? FMachine.ReadTimestampCounter() : 0; }

void TCPUID::StartTimer() {
    FStart = static_cast<int64_t>(GetTimeStamp());
    FStop = 0;
    FElapsed = 0;
}

int64_t TCPUID::StopTimer() {
    FStop = static_cast<int64_t>(GetTimeStamp());
    FElapsed = FStop - FStart;
    return FElapsed;
}

int64_t TCPUID::GetTicksPerSecond(uint16_t iterations) {
    int64_t frequency = 0;
    if (iterations == 0 || !FMachine.PerformanceFrequency(frequency)) return 0;
    const int64_t target = FMachine.PerformanceCounter() + iterations * frequency;
    StartTimer();
    while (FMachine.PerformanceCounter() < target) {
    }
    StopTimer();
    const int64_t ticks = std::llround(static_cast<double>(FElapsed) / iterations);
    FMeasuredMHz = static_cast<double>(ticks) / 1000000.0;
    return ticks;
}

int64_t TCPUID::GetCPUSpeed() {
    if (FCyclesPerSecond == 0) FCyclesPerSecond = GetTicksPerSecond(1);
    return FCyclesPerSecond;
}

// Used only when nothing could be measured. A missing value ends the lookup.
int64_t TCPUID::ReadRegistrySpeed() {
    TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
    if (!key.IsOpen()) return 0;
    int32_t mhz = 0;
    try {
        for (const char* name : {"~MHz", "~Mhz", "~mhz"}) {
            mhz = key.ReadInteger(name);
            if (mhz > 0) break;
        }
    } catch (const ERegistry&) {
        return 0;
    }
    return mhz > 0 ? static_cast<int64_t>(mhz) * 1000000 : 0;
}
