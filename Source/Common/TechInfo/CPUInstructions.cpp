#include "Source/Common/TechInfo/CPUInstructions.h"

#if !defined(__i386__)
#error "The processor identification is written for 32-bit x86."
#endif

bool CanFlipEflagsBit(unsigned bit) {
    const uint32_t mask = 1u << bit;
    uint32_t before, after;
    asm volatile(
        "pushfl\n\t"
        "popl %0\n\t"
        "movl %0, %1\n\t"
        "xorl %2, %1\n\t"
        "pushl %1\n\t"
        "popfl\n\t"
        "pushfl\n\t"
        "popl %1\n\t"
        "pushl %0\n\t"
        "popfl"
        : "=&r"(before), "=&r"(after)
        : "r"(mask)
        : "cc");
    return ((before ^ after) & mask) != 0;
}

uint16_t FlagsHighNibbleAfterWriting(bool allSet) {
    const uint16_t high = allSet ? 0xF000 : 0x0000;
    uint16_t saved, probe;
    asm volatile(
        "pushfw\n\t"
        "popw %0\n\t"
        "movw %0, %1\n\t"
        "andw $0x0FFF, %1\n\t"
        "orw %2, %1\n\t"
        "pushw %1\n\t"
        "popfw\n\t"
        "pushfw\n\t"
        "popw %1\n\t"
        "pushw %0\n\t"
        "popfw"
        : "=&r"(saved), "=&r"(probe)
        : "r"(high)
        : "cc");
    return probe & 0xF000;
}

TCpuidRegisters ExecuteCpuid(uint32_t leaf) {
    TCpuidRegisters r;
    asm volatile("cpuid" : "=a"(r.EAX), "=b"(r.EBX), "=c"(r.ECX), "=d"(r.EDX) : "a"(leaf), "c"(0));
    return r;
}

uint64_t ReadTimeStampCounter() {
    uint32_t low, high;
    asm volatile("rdtsc" : "=a"(low), "=d"(high));
    return (static_cast<uint64_t>(high) << 32) | low;
}
