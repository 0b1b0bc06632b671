#pragma once
// A property that holds a nested record (container) and one that refers to another record by its
// primary key (foreign key). Property references (PropRef) reach through containers.
#include <functional>

#include "lib/AppObj.h"

class TGenericContainerPropDesc : public TAppPropDesc {
public:
    using TContentFactory = std::function<std::unique_ptr<TAppObj>()>;
    // contentClassName names the nested record class; factory creates one.
    TGenericContainerPropDesc(std::string contentClassName, TContentFactory factory, uint16_t flags,
                              std::string hint, std::string caption, std::string name)
        : TAppPropDesc(std::move(name), std::move(caption), std::move(hint), TVariant(), flags),
          FContentClassName(std::move(contentClassName)),
          FFactory(std::move(factory)) {}
    const char* ClassName() const override { return "TGenericContainerPropDesc"; }
    const char* PropClassName() const override { return "TContainerProp"; }
    // The nested record's descriptor; a programming error when none is registered.
    const TAppObjDesc& ContentDesc() const;
    std::unique_ptr<TAppObj> CreateContent() const { return FFactory(); }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant&) const override { return false; }

private:
    std::string FContentClassName;
    TContentFactory FFactory;
};

// Holds its nested record, created with the object that owns the property.
class TGenericContainerProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TContainerProp"; }
    TAppObj* Content() const { return FContent.get(); }
    void CreateContent();
    void Assign(const TAppProp& source) override;

protected:
    // A container has no value of its own to set.
    TVariant DoSetAsVariant(const TVariant& value) const override;
    std::string FToString() const override;

private:
    std::unique_ptr<TAppObj> FContent;
};
using TContainerProp = TGenericContainerProp;

class TGenericFKPropDesc : public TAppPropDesc {
public:
    TGenericFKPropDesc(std::string targetClassName, TVariant defaultValue, uint16_t flags, std::string hint,
                       std::string caption, std::string name)
        : TAppPropDesc(std::move(name), std::move(caption), std::move(hint), std::move(defaultValue), flags),
          FTargetClassName(std::move(targetClassName)) {}
    const char* ClassName() const override { return "TGenericFKPropDesc"; }
    const char* PropClassName() const override { return "TGenericFKProp"; }
    const std::string& TargetClassName() const { return FTargetClassName; }
    std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const override;

protected:
    bool AcceptsDefault(const TVariant& value) const override { return value.Type() == TVarType::String; }

private:
    std::string FTargetClassName;
};

// The value is the primary key text of the referred record.
class TGenericFKProp : public TAppProp {
public:
    using TAppProp::TAppProp;
    const char* ClassName() const override { return "TGenericFKProp"; }

protected:
    TVariant DoSetAsVariant(const TVariant& value) const override;
};

void DescribeContainer(TAppObjDesc& desc, TAppObj& prototype, int field, const std::string& contentClassName,
                       TGenericContainerPropDesc::TContentFactory factory, uint16_t flags, const std::string& hint,
                       const std::string& caption, const std::string& name);
