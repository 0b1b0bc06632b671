#include "lib/PropContainer.h"

#include "core/Format.h"
#include "lib/App.h"

const TAppObjDesc& TGenericContainerPropDesc::ContentDesc() const {
    const TAppObjDesc* desc = GlobalApp().FindObjDesc(FContentClassName);
    BranAssert(desc != nullptr, ("TGenericContainerPropDesc.ContentDesc: no AppObjDesc for " + FContentClassName).c_str(),
               "AppObj");
    return *desc;
}

std::unique_ptr<TAppProp> TGenericContainerPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TGenericContainerProp>(owner, *this);
}

void TGenericContainerProp::CreateContent() {
    FContent = static_cast<const TGenericContainerPropDesc&>(Desc()).CreateContent();
}

void TGenericContainerProp::Assign(const TAppProp& source) {
    TAppProp::Assign(source);  // refuses another kind
    const auto& other = static_cast<const TGenericContainerProp&>(source);
    if (FContent && other.FContent) FContent->Assign(*other.FContent);
}

TVariant TGenericContainerProp::DoSetAsVariant(const TVariant&) const {
    throw EBranAssertion("TContainerProp.SetAsVariant: " + Name() + " holds a record, not a value", "AppObj");
}

std::string TGenericContainerProp::FToString() const { return FContent ? FContent->DisplayText() : std::string(); }

std::unique_ptr<TAppProp> TGenericFKPropDesc::CreateProp(TAppObj& owner) const {
    return std::make_unique<TGenericFKProp>(owner, *this);
}

TVariant TGenericFKProp::DoSetAsVariant(const TVariant& value) const {
    if (value.Type() != TVarType::String)
        throw Refusal(Format("Het veld '%s' kan alleen tekst bevatten.", {Desc().PlainCaption()}));
    return value;
}

void DescribeContainer(TAppObjDesc& desc, TAppObj& prototype, int field, const std::string& contentClassName,
                       TGenericContainerPropDesc::TContentFactory factory, uint16_t flags, const std::string& hint,
                       const std::string& caption, const std::string& name) {
    desc.Describe(prototype, field,
                  std::make_unique<TGenericContainerPropDesc>(contentClassName, std::move(factory), flags, hint,
                                                              caption, name));
}
