#include "Source/Common/TechInfo/CPUInstructions.h"

// The program is 32-bit; the same code built for 64-bit Windows (where a machine runs no 32-bit
// code, the tests run it so) differs only in the width of the flags register it pushes.
#if defined(__i386__)
#define BRAN_FLAGS_PUSH "pushfl\n\t"
#define BRAN_FLAGS_POP "popfl\n\t"
#define BRAN_REG_PUSH "pushl "
#define BRAN_REG_POP "popl "
using TFlagsWord = uint32_t;
#elif defined(__x86_64__)
#define BRAN_FLAGS_PUSH "pushfq\n\t"
#define BRAN_FLAGS_POP "popfq\n\t"
#define BRAN_REG_PUSH "pushq "
#define BRAN_REG_POP "popq "
using TFlagsWord = uint64_t;
#else
#error "The processor identification is written for x86."
#endif

bool CanFlipEflagsBit(unsigned bit) {
    const TFlagsWord mask = TFlagsWord(1) << bit;
    TFlagsWord before, after;
    asm volatile(
        BRAN_FLAGS_PUSH
        BRAN_REG_POP "%0\n\t"
        "mov %0, %1\n\t"
        "xor %2, %1\n\t"
        BRAN_REG_PUSH "%1\n\t"
        BRAN_FLAGS_POP
        BRAN_FLAGS_PUSH
        BRAN_REG_POP "%1\n\t"
        BRAN_REG_PUSH "%0\n\t"
        BRAN_FLAGS_POP
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

uint64_t ReadTimestampCounter() {
    uint32_t low, high;
    asm volatile("rdtsc" : "=a"(low), "=d"(high));
    return (static_cast<uint64_t>(high) << 32) | low;
}
