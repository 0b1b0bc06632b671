#include "lib/AppObjTypeStack.h"

#include "core/Exceptions.h"

namespace {
constexpr const char* kUnit = "AppObjTypeStack";
}

void TAppObjTypeStack::Push(const TAppObjDesc& desc, int offset) {
    BranAssert(FCount < MaxEntries, "TAppObjTypeStack.Push: Overflow", kUnit);
    FEntries[FCount++] = {&desc, offset};
}

void TAppObjTypeStack::Pop() {
    BranAssert(FCount > 0, "TAppObjTypeStack.Pop: Underflow", kUnit);
    --FCount;
}

const TAppObjDesc& TAppObjTypeStack::Top() const {
    BranAssert(FCount > 0, "TAppObjTypeStack.Top: Underflow", kUnit);
    return *FEntries[FCount - 1].Desc;
}

int TAppObjTypeStack::GetOffset(int level) const {
    BranAssert(level >= 0 && level < FCount, "TAppObjTypeStack.GetOffset: Out of range", kUnit);
    return FEntries[level].Offset;
}
