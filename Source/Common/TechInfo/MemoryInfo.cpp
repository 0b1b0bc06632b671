#include "Source/Common/TechInfo/MemoryInfo.h"

#include <windows.h>

#include "core/Exceptions.h"
#include "core/Format.h"
#include "platform/Handles.h"
#include "platform/SysInfo.h"

// --- The 16-bit free-resources query of the Windows 9x family ---
//
// QT_Thunk calls a 16:16 address in EDX with the arguments found between ESP and EBP - 0x40, so
// the call needs a frame of its own: a 0x40-byte scratch area under EBP, then the one 16-bit
// argument. The 16-bit procedure (pascal) removes its argument; the result comes back in AX.
#if defined(__i386__)
extern "C" unsigned long BranCallQtThunk(void* qtThunk, unsigned long target16, unsigned long argument);
asm(R"(
    .text
    .globl _BranCallQtThunk
_BranCallQtThunk:
    pushl %ebp
    movl  %esp, %ebp
    subl  $0x40, %esp
    movl  %ebx, -4(%ebp)
    movl  %esi, -8(%ebp)
    movl  %edi, -12(%ebp)
    movl  16(%ebp), %eax
    pushw %ax
    movl  12(%ebp), %edx
    movl  8(%ebp), %ecx
    call  *%ecx
    movzwl %ax, %eax
    movl  -4(%ebp), %ebx
    movl  -8(%ebp), %esi
    movl  -12(%ebp), %edi
    movl  %ebp, %esp
    popl  %ebp
    ret
)");
#endif

namespace {
// The kernel's 16-bit loader is only exported by ordinal.
template <typename TFunction>
TFunction KernelOrdinal(HMODULE kernel, int ordinal) {
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(kernel, MAKEINTRESOURCEA(ordinal))));
}

}  // namespace

int GetFreeSystemResources(int kind) {
#if !defined(__i386__)
    // No 64-bit Windows has a 16-bit side (the program is 32-bit; a 64-bit build runs only the tests).
    (void)kind;
    throw EBrantel("TMemoryInfo", "GetFreeSystemResources", Format("%s kon niet worden geladen!", {"user.exe"}));
#else
    using TLoadLibrary16 = DWORD(WINAPI*)(LPCSTR);
    using TFreeLibrary16 = void(WINAPI*)(DWORD);
    using TGetProcAddress16 = DWORD(WINAPI*)(DWORD, LPCSTR);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto loadLibrary16 = KernelOrdinal<TLoadLibrary16>(kernel, 35);
    const auto freeLibrary16 = KernelOrdinal<TFreeLibrary16>(kernel, 36);
    const auto getProcAddress16 = KernelOrdinal<TGetProcAddress16>(kernel, 37);
    const DWORD user16 = loadLibrary16 && freeLibrary16 ? loadLibrary16("user.exe") : 0;
    if (user16 < 32)
        throw EBrantel("TMemoryInfo", "GetFreeSystemResources", Format("%s kon niet worden geladen!", {"user.exe"}));
    // user.exe stays resident as a system module; only its address is needed.
    freeLibrary16(user16);
    const DWORD procedure = getProcAddress16 ? getProcAddress16(user16, "GetFreeSystemResources") : 0;
    if (procedure == 0)
        throw EBrantel("TMemoryInfo", "GetFreeSystemResources",
                       "De procedure GetFreeSystemResources is niet gevonden.");
    const TModuleHandle kernel32(LoadLibraryW(L"KERNEL32.DLL"));
    void* qtThunk = reinterpret_cast<void*>(GetProcAddress(kernel32.Get(), "QT_Thunk"));
    if (!qtThunk) return 0;
    return static_cast<int>(BranCallQtThunk(qtThunk, procedure, static_cast<unsigned long>(kind)));
#endif
}

// --- TMemoryInfo ---

TMemoryStatus QueryMemoryStatus() {
    TMemoryStatus result;
    // The extended query knows sizes past 4 GB; the Windows 9x family only has the classic one.
    using TStatusEx = BOOL(WINAPI*)(MEMORYSTATUSEX*);
    const auto statusEx = reinterpret_cast<TStatusEx>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GlobalMemoryStatusEx")));
    MEMORYSTATUSEX ex{};
    ex.dwLength = sizeof ex;
    if (statusEx && statusEx(&ex)) {
        result = {ex.dwMemoryLoad,    ex.ullTotalPhys,    ex.ullAvailPhys, ex.ullTotalPageFile,
                  ex.ullAvailPageFile, ex.ullTotalVirtual, ex.ullAvailVirtual};
    } else {
        MEMORYSTATUS classic{};
        classic.dwLength = sizeof classic;
        GlobalMemoryStatus(&classic);
        result = {classic.dwMemoryLoad,    classic.dwTotalPhys,    classic.dwAvailPhys, classic.dwTotalPageFile,
                  classic.dwAvailPageFile, classic.dwTotalVirtual, classic.dwAvailVirtual};
    }
    return result;
}

TMemoryInfo::TMemoryInfo() : TTechInfo("WindowsMemory") {}

void TMemoryInfo::GatherInfo() {
    AssignStatus(QueryMemoryStatus());
    std::array<std::optional<int>, 3> percentages;
    if (!IsWindowsNT()) {
        for (int kind = 0; kind < 3; ++kind) {
            try {
                percentages[static_cast<size_t>(kind)] = GetFreeSystemResources(kind);
            } catch (const EBrantel&) {
                // reported as an empty text
            }
        }
    }
    AssignFreeResources(percentages);
}

void TMemoryInfo::AssignStatus(const TMemoryStatus& status) {
    const double divisor = SpaceUnitDivisors[static_cast<size_t>(SpaceUnit)];
    MemoryLoad = static_cast<int>(status.MemoryLoad);
    TotalPhys = static_cast<double>(status.TotalPhys) / divisor;
    AvailPhys = static_cast<double>(status.AvailPhys) / divisor;
    TotalPageFile = static_cast<double>(status.TotalPageFile) / divisor;
    AvailPageFile = static_cast<double>(status.AvailPageFile) / divisor;
    // Without a swap file there is nothing in use; the share keeps its previous value.
    if (status.TotalPageFile > 0 && status.AvailPageFile <= status.TotalPageFile)
        PageFileInUse = static_cast<int>((status.TotalPageFile - status.AvailPageFile) * 100 / status.TotalPageFile);
    TotalVirtual = static_cast<double>(status.TotalVirtual) / divisor;
    AvailVirtual = static_cast<double>(status.AvailVirtual) / divisor;
}

void TMemoryInfo::AssignFreeResources(const std::array<std::optional<int>, 3>& percentages) {
    std::string* texts[] = {&FreeSystemResources, &FreeGdiResources, &FreeUserResources};
    for (size_t kind = 0; kind < 3; ++kind)
        *texts[kind] = percentages[kind] ? Format("%d %%", {*percentages[kind]}) : std::string();
}

const TStringList& TMemoryInfo::BuildInfoText() {
    const std::string unit = GetSpaceUnitString(SpaceUnit);
    Lines = {
        LabelledLine("%s Geheugen in gebruik:%s %d%%", MemoryLoad),
        LabelledLine("%s Totale fysieke geheugen:%s %f %s", TotalPhys, unit),
        LabelledLine("%s Beschikbaar fysiek geheugen:%s %f %s", AvailPhys, unit),
        LabelledLine("%s Totale wissel-bestand:%s %f %s", TotalPageFile, unit),
        LabelledLine("%s Beschikbare wissel-bestand:%s %f %s", AvailPageFile, unit),
        LabelledLine("%s Wissel-bestand in gebruik:%s %d%%", PageFileInUse),
        LabelledLine("%s Totale virtueel geheugen:%s %f %s", TotalVirtual, unit),
        LabelledLine("%s Beschikbaar virtueel geheugen:%s %f %s", AvailVirtual, unit),
    };
    if (!IsWindowsNT()) {
        Lines.push_back(LabelledLine("%s Vrije systeem resources:%s %s", FreeSystemResources));
        Lines.push_back(LabelledLine("%s Vrije GDI resources:%s %s", FreeGdiResources));
        Lines.push_back(LabelledLine("%s Vrije gebruiker resources:%s %s", FreeUserResources));
    }
    return Lines;
}
