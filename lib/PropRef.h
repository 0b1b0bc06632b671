#pragma once
// A path to a property: property numbers from the outer object through nested containers to the
// property itself, at most ten deep.
#include <cstdint>
#include <vector>

class TPropRef {
public:
    static constexpr int MaxDepth = 10;
    TPropRef() = default;
    TPropRef(std::initializer_list<uint16_t> path);

    // Failures are programming errors: "PropRefPush: PropRef to deep" for an eleventh number,
    // "PropRefPop: PropRef is empty" and "PropRefTop: PropRef is empty".
    void Push(uint16_t propNr);
    uint16_t Pop();
    uint16_t Top() const;

    int Depth() const { return FDepth; }
    uint16_t operator[](int level) const;
    bool operator==(const TPropRef& other) const;

private:
    uint16_t FPath[MaxDepth] = {};
    uint8_t FDepth = 0;
};

// Lists of paths: what a selection shows and what a sort order orders by.
class TAppPropRefList {
public:
    void Add(const TPropRef& ref) { FRefs.push_back(ref); }
    bool Contains(const TPropRef& ref) const;
    int Count() const { return static_cast<int>(FRefs.size()); }
    const TPropRef& operator[](int i) const { return FRefs.at(static_cast<size_t>(i)); }
    auto begin() const { return FRefs.begin(); }
    auto end() const { return FRefs.end(); }

private:
    std::vector<TPropRef> FRefs;
};
using TAppInfoPropRefList = TAppPropRefList;   // the properties a selection shows
using TAppOrderPropRefList = TAppPropRefList;  // the properties a sort order orders by
