#include "lib/PropRef.h"

#include <algorithm>

#include "core/Exceptions.h"

namespace {
constexpr const char* kUnit = "PropRef";
}

TPropRef::TPropRef(std::initializer_list<uint16_t> path) {
    for (uint16_t nr : path) Push(nr);
}

void TPropRef::Push(uint16_t propNr) {
    BranAssert(FDepth < MaxDepth, "PropRefPush: PropRef to deep", kUnit);
    FPath[FDepth++] = propNr;
}

uint16_t TPropRef::Pop() {
    BranAssert(FDepth > 0, "PropRefPop: PropRef is empty", kUnit);
    return FPath[--FDepth];
}

uint16_t TPropRef::Top() const {
    BranAssert(FDepth > 0, "PropRefTop: PropRef is empty", kUnit);
    return FPath[FDepth - 1];
}

uint16_t TPropRef::operator[](int level) const {
    BranAssert(level >= 0 && level < FDepth, "TPropRef[]: level out of range", kUnit);
    return FPath[level];
}

bool TPropRef::operator==(const TPropRef& other) const {
    return FDepth == other.FDepth && std::equal(FPath, FPath + FDepth, other.FPath);
}

bool TAppPropRefList::Contains(const TPropRef& ref) const {
    return std::find(FRefs.begin(), FRefs.end(), ref) != FRefs.end();
}
