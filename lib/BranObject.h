#pragma once
// Root of every class of the in-house library: a plain polymorphic base.
class TBranObject {
public:
    virtual ~TBranObject() = default;
};
