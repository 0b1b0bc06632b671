#include <gtest/gtest.h>

#include "CollectorTestSupport.h"
#include "Source/Common/TechInfo/MemoryInfo.h"
#include "core/StrConv.h"
#include "platform/SysInfo.h"

namespace {
// A machine with 6 GB of memory and an 8 GB swap file: sizes no 32-bit count can hold.
const TMemoryStatus BigMachine = {37,          6442450944ull, 3221225472ull, 8589934592ull,
                                  6442450944ull, 2147352576ull, 1536ull};

const TStringList BigMachineLines = {
    "\\par Geheugen in gebruik:\\tab 37%",
    "\\par Totale fysieke geheugen:\\tab 6291456,00  Kb",
    "\\par Beschikbaar fysiek geheugen:\\tab 3145728,00  Kb",
    "\\par Totale wissel-bestand:\\tab 8388608,00  Kb",
    "\\par Beschikbare wissel-bestand:\\tab 6291456,00  Kb",
    "\\par Wissel-bestand in gebruik:\\tab 25%",
    "\\par Totale virtueel geheugen:\\tab 2097024,00  Kb",
    "\\par Beschikbaar virtueel geheugen:\\tab 1,50  Kb",
};
}  // namespace

TEST(MemoryInfo, LinesFromAStatusRecordOnBothPlatformFamilies) {
    TMemoryInfo memory;
    memory.CollectInfo(nullptr);
    memory.AssignStatus(BigMachine);
    memory.AssignFreeResources({83, std::nullopt, 61});
    {
        TPlatformOverride nt(true);
        EXPECT_EQ(memory.GetInfoText(), BigMachineLines);
    }
    TPlatformOverride win9x(false);
    TStringList expected = BigMachineLines;
    expected.insert(expected.end(), {"\\par Vrije systeem resources:\\tab 83 %", "\\par Vrije GDI resources:\\tab ",
                                     "\\par Vrije gebruiker resources:\\tab 61 %"});
    EXPECT_EQ(memory.GetInfoText(), expected);
}

TEST(MemoryInfo, WithoutASwapFileTheShareInUseKeepsItsValue) {
    TMemoryInfo memory;
    memory.AssignStatus(BigMachine);
    TMemoryStatus noSwap = BigMachine;
    noSwap.TotalPageFile = noSwap.AvailPageFile = 0;
    noSwap.AvailVirtual = 2048;
    memory.AssignStatus(noSwap);
    EXPECT_EQ(memory.PageFileInUse, 25);
    EXPECT_EQ(memory.TotalPageFile, 0.0);
    EXPECT_EQ(memory.AvailVirtual, 2.0);  // what follows the failed share is still taken over
}

TEST(MemoryInfo, RealMachine) {
    TMemoryInfo memory;
    memory.CollectInfo(nullptr);
    EXPECT_GE(memory.MemoryLoad, 0);
    EXPECT_LE(memory.MemoryLoad, 100);
    EXPECT_GT(memory.TotalPhys, 1024.0);  // more than a megabyte, in Kb
    EXPECT_GT(memory.AvailPhys, 0.0);
    EXPECT_LE(memory.AvailPhys, memory.TotalPhys);
    EXPECT_LE(memory.AvailVirtual, memory.TotalVirtual);
    EXPECT_GE(memory.PageFileInUse, 0);
    EXPECT_LE(memory.PageFileInUse, 100);
    // The NT family has no free-resource query.
    EXPECT_EQ(memory.FreeSystemResources + memory.FreeGdiResources + memory.FreeUserResources, "");

    const TStringList& lines = memory.GetInfoText();
    ASSERT_EQ(lines.size(), 8u);
    for (size_t i : {1, 2, 3, 4, 6, 7}) {
        const std::string& line = lines[i];
        EXPECT_EQ(line.find("\\par "), 0u) << line;
        const std::string value = line.substr(line.find("\\tab ") + 5);
        EXPECT_EQ(value.substr(value.size() - 4), "  Kb") << line;
        EXPECT_EQ(value[value.size() - 7], ',') << line;  // Dutch decimal separator, two decimals
    }
    EXPECT_EQ(lines[0], "\\par Geheugen in gebruik:\\tab " + IntToStr(memory.MemoryLoad) + "%");
}
