#pragma once
// TMemoryInfo ("WindowsMemory"): memory load, physical, swap-file and virtual memory and, on the
// Windows 9x family, the free system resources. The about box also uses it on its own for the latter.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "Source/Common/TechInfo/TechInfo.h"

// What the platform reports about memory, in bytes. Counts are 64-bit: machines with more than
// 2 or 4 GB are common.
struct TMemoryStatus {
    uint32_t MemoryLoad = 0;  // percent
    uint64_t TotalPhys = 0, AvailPhys = 0;
    uint64_t TotalPageFile = 0, AvailPageFile = 0;
    uint64_t TotalVirtual = 0, AvailVirtual = 0;
};
// The platform's memory status; all zero when it cannot tell.
TMemoryStatus QueryMemoryStatus();

// Free system (0), GDI (1) and user (2) resources in percent from the 16-bit user module of the
// Windows 9x family; throws EBrantel when the module or its procedure cannot be reached.
int GetFreeSystemResources(int kind);

class TMemoryInfo : public TTechInfo {
public:
    TMemoryInfo();

    // Takes over a status record, converted to the space unit.
    void AssignStatus(const TMemoryStatus& status);
    // The resource texts ("83 %") from the percentages; nullopt (a failed query) gives empty text.
    void AssignFreeResources(const std::array<std::optional<int>, 3>& percentages);

    int MemoryLoad = 0;
    double TotalPhys = 0, AvailPhys = 0, TotalPageFile = 0, AvailPageFile = 0;
    int PageFileInUse = 0;
    double TotalVirtual = 0, AvailVirtual = 0;
    std::string FreeSystemResources, FreeGdiResources, FreeUserResources;
    TSpaceUnit SpaceUnit = TSpaceUnit::Kb;

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
