#pragma once
#include "ModelFixture.h"

// One row of a descriptor's property table.
struct TPropRow {
    const char* Name;
    const char* Caption;
    const char* Hint;
    const char* Kind;  // value class
    int MaxLength;     // -1 where the kind has none
    TVariant Default;
    uint16_t Flags;  // after the implied bits
};

// Compares a descriptor's properties, in registration order, with the rows.
void ExpectPropTable(const TAppObjDesc& desc, const std::vector<TPropRow>& rows);
