#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "Source/Common/TechInfo/CPUID.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
constexpr uint32_t TimeStampFeature = 1u << 4;

uint32_t Signature(uint32_t type, uint32_t family, uint32_t model, uint32_t stepping = 0) {
    return type << 12 | family << 8 | model << 4 | stepping;
}

// A processor with given registers and a clock that advances with every look at the performance
// counter; the time-stamp counter runs TicksPerCount times as fast.
class TFakeProcessor : public TProcessorAccess {
public:
    bool IdFlag = true;
    bool AlignmentFlag = true;
    uint16_t HighNibbleAfterClear = 0x7000;  // what an 80486 and later read back
    uint16_t HighNibbleAfterSet = 0x7000;
    TCpuidRegisters Leaf0{1, 0x756E6547, 0x6C65746E, 0x49656E69};  // "GenuineIntel"
    TCpuidRegisters Leaf1{Signature(0, 5, 4, 3), 0, 0, 0x11};
    int64_t Frequency = 0;  // 0: no performance counter
    int64_t CountStep = 50000;
    uint64_t TicksPerCount = 0;

    bool CanFlipEflagsBit(unsigned bit) override { return bit == 21 ? IdFlag : AlignmentFlag; }
    uint16_t FlagsHighNibbleAfterWriting(bool allSet) override {
        return allSet ? HighNibbleAfterSet : HighNibbleAfterClear;
    }
    TCpuidRegisters Cpuid(uint32_t leaf) override { return leaf == 0 ? Leaf0 : Leaf1; }
    uint64_t ReadTimestampCounter() override { return FCount * TicksPerCount; }
    bool PerformanceFrequency(int64_t& frequency) override {
        frequency = Frequency;
        return Frequency > 0;
    }
    int64_t PerformanceCounter() override {
        const int64_t now = static_cast<int64_t>(FCount);
        FCount += CountStep;
        return now;
    }

private:
    uint64_t FCount = 1000;
};

void WriteRegistrySpeed(int32_t mhz) {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", true));
    key.WriteInteger("~MHz", mhz);
}
}  // namespace

TEST(CPUID, DescriptionFromRegisterValues) {
    struct {
        uint32_t type, family, model;
        std::string expected;
    } cases[] = {
        {0, 4, 0, "Intel 486 DX"},
        {0, 4, 1, "Intel 486 DX"},
        {0, 4, 2, "Intel 486 SX"},
        {0, 4, 3, "Intel 486 DX2"},
        {0, 4, 4, "Intel 486 SL"},
        {0, 4, 5, "Intel 486 SX2"},
        {0, 4, 6, "Intel 486"},
        {0, 4, 7, "Intel 486 DX2 WriteBack"},
        {0, 4, 8, "Intel 486 DX4"},
        {1, 4, 8, "Intel 486 Overdrive DX4"},
        {0, 5, 1, "Intel Pentium 60 or 66 Mhz"},
        {0, 5, 2, "Intel Pentium "},
        {0, 5, 3, "Intel Pentium "},
        {0, 5, 4, "Intel Pentium MMX"},
        {0, 5, 5, "Intel Pentium"},
        {0, 5, 6, "Intel Pentium "},
        {1, 5, 3, "Intel Pentium Overdrive "},
        {0, 6, 1, "Intel Pentium Pro"},
        {0, 6, 3, "Intel Pentium II"},
        {0, 6, 5, "Intel Pentium P6"},
        {0, 6, 8, "Unknown Type"},
        {1, 6, 3, "Intel Pentium II Overdrive"},
        {1, 6, 8, "Unknown Type Overdrive"},
        {0, 3, 0, "Unknown Type"},
        {0, 15, 1, "Unknown Type"},
        {2, 5, 4, "Intel Pentium MMX"},  // dual processor: not an OverDrive
    };
    for (const auto& c : cases) {
        TFakeProcessor machine;
        machine.Leaf1.EAX = Signature(c.type, c.family, c.model, 9);
        TCPUID cpu(machine);
        EXPECT_EQ(cpu.ProcessorDescription(), c.expected) << c.type << "/" << c.family << "/" << c.model;
        EXPECT_EQ(cpu.ProcessorType(), c.type);
        EXPECT_EQ(cpu.ProcessorFamily(), c.family);
        EXPECT_EQ(cpu.ProcessorModel(), c.model);
        EXPECT_EQ(cpu.ProcessorStepping(), 9u);
    }
}

TEST(CPUID, RegistersVendorAndFeatureFlags) {
    TFakeProcessor machine;
    machine.Leaf0 = {2, 0x68747541, 0x444D4163, 0x69746E65};  // "AuthenticAMD"
    machine.Leaf1 = {0x00000543, 0x11, 0x22, 0x201};           // FPU and APIC, no time-stamp counter
    TCPUID cpu(machine);
    EXPECT_TRUE(cpu.HasCPUID());
    EXPECT_EQ(cpu.ProcessorVendor(), "AuthenticAMD");
    EXPECT_EQ(cpu.CPUID1(), 0x543u);
    EXPECT_EQ(cpu.CPUID2(), 0x11u);
    EXPECT_EQ(cpu.CPUID3(), 0x22u);
    EXPECT_EQ(cpu.CPUID4(), 0x201u);
    EXPECT_TRUE(cpu.HasFPU());
    EXPECT_TRUE(cpu.HasAPIC());
    EXPECT_FALSE(cpu.HasTimeStamp());
    EXPECT_FALSE(cpu.SupportsTimeStamp());
    EXPECT_EQ(cpu.GetTimeStamp(), 0u);
}

TEST(CPUID, ProcessorsWithoutCpuidAreToldApartByTheirFlags) {
    struct {
        uint16_t afterClear, afterSet;
        bool alignmentFlag;
        std::string expected;
    } cases[] = {
        {0x7000, 0x7000, true, "80486 Processor"},
        {0xF000, 0xF000, true, "8086/8088 Processor"},
        {0x0000, 0x0000, true, "80286 Processor"},
        {0x7000, 0x7000, false, "80386 Processor"},
        {0xF000, 0xF000, false, "80386 Processor"},  // a later match overwrites an earlier one
    };
    for (const auto& c : cases) {
        TFakeProcessor machine;
        machine.IdFlag = false;
        machine.HighNibbleAfterClear = c.afterClear;
        machine.HighNibbleAfterSet = c.afterSet;
        machine.AlignmentFlag = c.alignmentFlag;
        machine.Frequency = 1000000;
        machine.TicksPerCount = 100;
        TRegistrySandbox registry;
        TCPUID cpu(machine);
        EXPECT_EQ(cpu.ProcessorDescription(), c.expected);
        EXPECT_FALSE(cpu.HasCPUID());
        EXPECT_EQ(cpu.ProcessorVendor(), "Unknown Vendor");
        EXPECT_FALSE(cpu.HasFPU() || cpu.HasTimeStamp() || cpu.HasAPIC());
        EXPECT_EQ(cpu.CPUID1() | cpu.CPUID4(), 0u);
        EXPECT_EQ(cpu.ProcessorSpeed(), 0.0);
    }
}

TEST(CPUID, MeasuresTimeStampTicksOverOneCounterSecond) {
    TFakeProcessor machine;
    machine.Frequency = 1000000;
    machine.TicksPerCount = 2400;
    TCPUID cpu(machine);
    EXPECT_DOUBLE_EQ(cpu.ProcessorSpeed(), 2400.0);
    EXPECT_EQ(cpu.GetCPUSpeed(), 2400000000);

    // Two seconds give the same rate.
    EXPECT_EQ(cpu.GetTicksPerSecond(2), 2400000000);
    EXPECT_EQ(cpu.GetElapsedTicks(), 4800000000);
    EXPECT_EQ(cpu.GetTicksPerSecond(0), 0);

    cpu.StartTimer();
    machine.PerformanceCounter();
    EXPECT_EQ(cpu.StopTimer(), 50000 * 2400);
}

TEST(CPUID, SpeedFallsBackOnTheRegistry) {
    struct {
        int64_t frequency;
        uint32_t features;
        int32_t registryMHz;  // -1: no value
        double expectedSpeed;
        std::string expectedEntry;
    } cases[] = {
        {0, TimeStampFeature, 400, 400.0, "400 Mhz."},
        {1000000, 0, 466, 466.0, "466 Mhz."},  // counter but no time-stamp counter
        {0, TimeStampFeature, -1, 0.0, ""},
        {0, TimeStampFeature, 0, 0.0, ""},
        {0, TimeStampFeature, -5, 0.0, ""},
        {1000000, TimeStampFeature, 400, 2400.0, "2400 Mhz."},  // a measurement wins
    };
    for (const auto& c : cases) {
        TRegistrySandbox registry;
        if (c.registryMHz != -1) WriteRegistrySpeed(c.registryMHz);
        TFakeProcessor machine;
        machine.Frequency = c.frequency;
        machine.TicksPerCount = 2400;
        machine.Leaf1.EDX = c.features;
        TCPUID cpu(machine);
        EXPECT_DOUBLE_EQ(cpu.ProcessorSpeed(), c.expectedSpeed) << c.registryMHz;

        TStringList info;
        GetProcessorInfo(info, machine);
        ASSERT_EQ(info.size(), 3u);
        EXPECT_EQ(info[0], "Intel Pentium MMX");
        EXPECT_EQ(info[1], c.expectedEntry);
        EXPECT_EQ(info[2], "GenuineIntel");
    }
}

namespace {
// What Linux says about the first processor (drive Z: is the Linux root under Wine).
std::string LinuxCpuInfo(const std::string& field) {
    for (const std::string& line : ReadTextLines("Z:\\proc\\cpuinfo")) {
        size_t colon = line.find(':');
        if (colon != std::string::npos && Trim(line.substr(0, colon)) == field) return Trim(line.substr(colon + 1));
    }
    return {};
}

// This machine's processor, but without a performance counter: identification without the wait.
class TUnclockedMachine : public TProcessorAccess {
public:
    bool CanFlipEflagsBit(unsigned bit) override { return MachineProcessor().CanFlipEflagsBit(bit); }
    uint16_t FlagsHighNibbleAfterWriting(bool allSet) override {
        return MachineProcessor().FlagsHighNibbleAfterWriting(allSet);
    }
    TCpuidRegisters Cpuid(uint32_t leaf) override { return MachineProcessor().Cpuid(leaf); }
    uint64_t ReadTimestampCounter() override { return MachineProcessor().ReadTimestampCounter(); }
    bool PerformanceFrequency(int64_t&) override { return false; }
    int64_t PerformanceCounter() override { return 0; }
};
}  // namespace

TEST(CPUID, ThisMachinesProcessor) {
    if (!FileExists("Z:\\proc\\cpuinfo")) GTEST_SKIP() << "no Linux processor information to compare with";
    const std::string linuxVendor = LinuxCpuInfo("vendor_id");
    const double linuxMHz = std::atof(LinuxCpuInfo("cpu MHz").c_str());
    const unsigned linuxFamily = std::atoi(LinuxCpuInfo("cpu family").c_str());
    const unsigned linuxModel = std::atoi(LinuxCpuInfo("model").c_str());
    const unsigned linuxStepping = std::atoi(LinuxCpuInfo("stepping").c_str());

    TUnclockedMachine unclocked;
    TCPUID cpu(unclocked);
    EXPECT_TRUE(cpu.HasCPUID());
    EXPECT_EQ(cpu.ProcessorVendor(), linuxVendor);
    // The family field tops out at 15 (the rest is in the extended fields); the model keeps its low bits.
    EXPECT_EQ(cpu.ProcessorFamily(), std::min(linuxFamily, 15u));
    EXPECT_EQ(cpu.ProcessorModel(), linuxModel & 0xF);
    EXPECT_EQ(cpu.ProcessorStepping(), linuxStepping);
    EXPECT_TRUE(cpu.HasFPU() && cpu.HasTimeStamp());
    EXPECT_NE(cpu.GetTimeStamp(), 0u);

    // The one real measurement of the suite: a second of busy-waiting.
    TStringList info;
    GetProcessorInfo(info);
    ASSERT_EQ(info.size(), 3u);
    EXPECT_EQ(info[0], cpu.ProcessorDescription());
    EXPECT_EQ(info[2], linuxVendor);
    const double mhz = std::atof(info[1].c_str());
    EXPECT_NEAR(mhz, linuxMHz, linuxMHz * 0.05) << info[1];
    EXPECT_EQ(info[1], Format("%d Mhz.", {std::llround(mhz)}));
    std::printf("Processor: [%s] [%s] [%s]; Linux: %s %.3f MHz, family %u model %u stepping %u\n",
                info[0].c_str(), info[1].c_str(), info[2].c_str(), linuxVendor.c_str(), linuxMHz, linuxFamily,
                linuxModel, linuxStepping);
}
