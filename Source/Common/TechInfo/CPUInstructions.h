#pragma once
// The processor instructions the identification executes directly: flag toggling, CPUID and RDTSC.
// Everything that interprets their results lives in CPUID.cpp, so it can be tested with given values.
#include <cstdint>

struct TCpuidRegisters {
    uint32_t EAX = 0, EBX = 0, ECX = 0, EDX = 0;
};

// True when the given bit of EFLAGS can be inverted from this program (bit 21: CPUID exists;
// bit 18: alignment-check flag, absent on an 80386). EFLAGS is restored afterwards.
bool CanFlipEflagsBit(unsigned bit);

// Bits 12-15 of the 16-bit FLAGS register as read back after writing them all set (or all clear).
// FLAGS is restored afterwards.
uint16_t FlagsHighNibbleAfterWriting(bool allSet);

TCpuidRegisters ExecuteCpuid(uint32_t leaf);

uint64_t ReadTimestampCounter();
