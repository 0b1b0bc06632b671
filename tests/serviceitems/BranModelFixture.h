#pragma once
// The program's model, built once for the whole test run: the general service item lives until
// the process ends and keeps referring to the descriptors of the model it was created with.
#include "Source/Common/BranModel.h"
#include "lib/App.h"

inline TAppModel& BranModel() {
    static std::unique_ptr<TAppModel> model = BuildBranServiceModel();
    return *model;
}

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
