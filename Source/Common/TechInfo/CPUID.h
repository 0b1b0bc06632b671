#pragma once
// TCPUID: identifies the processor - CPUID availability, vendor, type/family/model/stepping, a
// descriptive name, a few feature flags and the clock speed in MHz. All work happens in the
// constructor; afterwards the object only holds results.
//
// The speed is measured by counting time-stamp ticks over one second of the performance counter
// (construction therefore takes about a second); without a counter it is read from the registry.
//
// TCPUID asks the machine through TProcessorAccess, so the rules (description, speed choice) can be
// exercised with given register values and clocks. The real machine is MachineProcessor().
#include <cstdint>
#include <string>

#include "Source/Common/TechInfo/CPUInstructions.h"
#include "lib/BranObject.h"

class TProcessorAccess {
public:
    virtual ~TProcessorAccess() = default;
    virtual bool CanFlipEflagsBit(unsigned bit) = 0;
    virtual uint16_t FlagsHighNibbleAfterWriting(bool allSet) = 0;
    virtual TCpuidRegisters Cpuid(uint32_t leaf) = 0;
    virtual uint64_t ReadTimestampCounter() = 0;
    // False when the platform has no high-resolution performance counter.
    virtual bool PerformanceFrequency(int64_t& frequency) = 0;
    virtual int64_t PerformanceCounter() = 0;
};

// The processor this program runs on.
TProcessorAccess& MachineProcessor();

class TCPUID : public TBranObject {
public:
    explicit TCPUID(TProcessorAccess& machine = MachineProcessor());

    // Leaf 1 registers EAX, EBX, ECX, EDX; 0 without CPUID.
    uint32_t CPUID1() const { return FCPUID1; }
    uint32_t CPUID2() const { return FCPUID2; }
    uint32_t CPUID3() const { return FCPUID3; }
    uint32_t CPUID4() const { return FCPUID4; }
    uint32_t ProcessorType() const { return FProcessorType; }  // 0 = standard OEM, 1 = OverDrive
    uint32_t ProcessorFamily() const { return FProcessorFamily; }
    uint32_t ProcessorModel() const { return FProcessorModel; }
    uint32_t ProcessorStepping() const { return FProcessorStepping; }
    const std::string& ProcessorVendor() const { return FProcessorVendor; }
    double ProcessorSpeed() const { return FProcessorSpeed; }  // MHz, 0 when unknown
    const std::string& ProcessorDescription() const { return FProcessorDescription; }
    uint16_t TimeStampHiHi() const { return FTimeStampHiHi; }
    uint16_t TimeStampHiLo() const { return FTimeStampHiLo; }
    uint16_t TimeStampLoHi() const { return FTimeStampLoHi; }
    uint16_t TimeStampLoLo() const { return FTimeStampLoLo; }
    bool HasFPU() const { return FHasFPU; }
    bool HasTimeStamp() const { return FHasTimeStamp; }
    bool HasAPIC() const { return FHasAPIC; }
    bool HasCPUID() const { return FHasCPUID; }

    // Fills the four time-stamp words, each from its own reading; nothing without a counter.
    void RefreshTimeStamp();
    // The current time-stamp counter, 0 when the processor has none.
    uint64_t GetTimeStamp();
    bool SupportsTimeStamp() const;
    void StartTimer();
    int64_t StopTimer();  // the elapsed ticks
    int64_t GetElapsedTicks() const { return FElapsed; }
    // Time-stamp ticks per second, busy-waiting `iterations` seconds on the performance counter;
    // 0 without a performance counter.
    int64_t GetTicksPerSecond(uint16_t iterations);
    // Cycles per second, measured once.
    int64_t GetCPUSpeed();

private:
    bool DetectCPUID();
    std::string BuildDescription();
    int64_t ReadRegistrySpeed();

    TProcessorAccess& FMachine;
    uint32_t FCPUID1 = 0, FCPUID2 = 0, FCPUID3 = 0, FCPUID4 = 0;
    uint32_t FProcessorType = 0, FProcessorFamily = 0, FProcessorModel = 0, FProcessorStepping = 0;
    std::string FProcessorVendor = "Unknown Vendor";
    double FProcessorSpeed = 0;
    std::string FProcessorDescription = "Not Intel";
    uint16_t FTimeStampHiHi = 0, FTimeStampHiLo = 0, FTimeStampLoHi = 0, FTimeStampLoLo = 0;
    bool FHasFPU = false, FHasTimeStamp = false, FHasAPIC = false, FHasCPUID = false;
    int64_t FCyclesPerSecond = 0;
    double FMeasuredMHz = 0;
    int64_t FStart = 0, FStop = 0, FElapsed = 0;
};
