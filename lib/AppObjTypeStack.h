#pragma once
// The stack of object kinds a descriptor walk is inside: the outer descriptor, then every container
// it descends into, with the field location of that container in its parent. Fifteen levels are
// plenty for real records; more means a container that (indirectly) contains itself.
class TAppObjDesc;

class TAppObjTypeStack {
public:
    static constexpr int MaxEntries = 15;
    // Failures are programming errors: "TAppObjTypeStack.Push: Overflow", ".Pop: Underflow",
    // ".GetOffset: Out of range".
    void Push(const TAppObjDesc& desc, int offset);
    void Pop();
    const TAppObjDesc& Top() const;
    int GetOffset(int level) const;
    int Count() const { return FCount; }

private:
    struct TEntry {
        const TAppObjDesc* Desc;
        int Offset;
    };
    TEntry FEntries[MaxEntries] = {};
    int FCount = 0;
};
