#include "lib/AppProp.h"

#include <algorithm>
#include <typeinfo>

#include "core/Format.h"
#include "lib/AppObj.h"

namespace {
constexpr const char* kUnit = "AppObj";

std::string WithoutAmpersands(const std::string& caption) {
    std::string plain = caption;
    plain.erase(std::remove(plain.begin(), plain.end(), '&'), plain.end());
    return plain;
}

std::string TechnicalText(const std::string& userMessage, const TAppObj* object, const TAppProp* prop) {
    if (!object || !prop) return userMessage;
    return userMessage + " (" + object->GetObjDesc().ClassName() + "." + prop->Name() + ")";
}
}  // namespace

int CharCount(const std::string& utf8) {
    return static_cast<int>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

EBranValidate::EBranValidate(const std::string& userMessage, const TAppObj* object, const TAppProp* prop)
    : EBrantel(prop ? prop->ClassName() : "TAppProp", "Validate", TechnicalText(userMessage, object, prop),
               userMessage),
      FObject(object),
      FProp(prop) {}

// --- change notification -------------------------------------------------------------------------

TAppObjBase::~TAppObjBase() {
    // A freed handler only forgets its pointer; it must not reach back into this object.
    std::vector<THandler> handlers = std::move(FOnChanged);
    FOnChanged.clear();
    for (THandler& h : handlers)
        if (h.Freed) h.Freed();
}

void TAppObjBase::AddOnChangedHandler(const void* subscriber, TOnChanged handler, TOnFreed freed) {
    FOnChanged.push_back(THandler{subscriber, std::move(handler), std::move(freed)});
}

void TAppObjBase::RemoveOnChangedHandler(const void* subscriber) {
    auto it = std::find_if(FOnChanged.begin(), FOnChanged.end(),
                           [subscriber](const THandler& h) { return h.Subscriber == subscriber; });
    if (it == FOnChanged.end())
        throw EBrantel(HandlerOwnerName(), "RemoveOnChangedHandler", "Event handler was not added",
                       Format("Kon OnChangedHandler voor %s niet verwijderen", {HandlerOwnerName()}));
    FOnChanged.erase(it);
}

bool TAppObjBase::HasOnChangedHandler(const void* subscriber) const {
    return std::any_of(FOnChanged.begin(), FOnChanged.end(),
                       [subscriber](const THandler& h) { return h.Subscriber == subscriber; });
}

void TAppObjBase::CallOnChangedHandlers(TAppProp& changed) {
    // A handler may add or remove handlers; call those that were there when the change happened.
    auto handlers = FOnChanged;
    for (auto& h : handlers) h.Changed(changed);
}

// --- property descriptor -------------------------------------------------------------------------

TAppPropDesc::TAppPropDesc(std::string name, std::string caption, std::string hint, TVariant defaultValue,
                           uint16_t flags)
    : FName(std::move(name)),
      FCaption(std::move(caption)),
      FHint(std::move(hint)),
      FDefault(std::move(defaultValue)),
      FFlags(flags) {}

void TAppPropDesc::Bind(const TAppObjDesc& objDesc, TAppObj& prototype, int location) {
    TAppProp* prop = prototype.Field(location);
    BranAssert(prop != nullptr, (FName + " not assigned").c_str(), kUnit);
    BranAssert(&prop->Desc() == this, (FName + " is bound to another AppPropDesc").c_str(), kUnit);
    if (FFlags & apfInternal) FFlags |= apfHidden;
    if (FFlags & apfPrimaryKey) FFlags |= apfIndexed | apfRequired;
    BranAssert(FDefault.IsUnassigned() || FDefault.IsNull() || AcceptsDefault(FDefault),
               "Default value is of incorrect type", kUnit);
    BranAssert(!(FDefault.IsNull() && IsRequired()), "Default NULL value for required AppProp is not allowed",
               kUnit);
    FPlainCaption = WithoutAmpersands(FCaption);
    FObjDesc = &objDesc;
    FLocation = location;
}

// --- property value ------------------------------------------------------------------------------

TAppProp::TAppProp(TAppObj& owner, const TAppPropDesc& desc)
    : FOwner(owner), FDesc(desc), FValue(desc.DefaultValue()), FPrevious(FValue) {}

void TAppProp::SetValue(TVariant value) {
    if (value == FValue) return;
    FPrevious = std::move(FValue);
    FValue = std::move(value);
    CallOnChangedHandlers(*this);
    FOwner.PropChanged(*this);
}

void TAppProp::SetAsVariant(const TVariant& value) {
    SetValue(value.HasValue() ? DoSetAsVariant(value) : value);
}

void TAppProp::SetAsString(const std::string& text) { SetAsVariant(TextToVariant(text)); }

std::string TAppProp::AsString() const { return IsNull() ? std::string() : FToString(); }

std::string TAppProp::AsStorageString() const { return IsNull() ? std::string() : StorageText(); }

std::string TAppProp::AsLiteral() const { return IsNull() ? "NULL" : Literal(); }

std::string TAppProp::Literal() const {
    std::string quoted = "'";
    for (char c : FToString()) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

bool TAppProp::AsBoolean() const {
    if (IsNull()) throw EBrantel(ClassName(), "AsBoolean", Name() + " is NULL");
    return FToBoolean();
}

bool TAppProp::FToBoolean() const {
    throw EBrantel(ClassName(), "AsBoolean", Name() + " is not a logical value");
}

void TAppProp::Restore() { SetValue(FPrevious); }

void TAppProp::Assign(const TAppProp& source) {
    if (typeid(source) != typeid(*this))
        throw EBrantel(ClassName(), "Assign",
                       std::string("Can't assign ") + source.ClassName() + " to " + ClassName());
    SetValue(source.FValue);
}

void TAppProp::Validate() const {
    if (IsNull()) {
        if (FDesc.IsRequired())
            throw Refusal(Format("het veld %s moet een waarde krijgen", {FDesc.PlainCaption()}));
        return;
    }
    DoValidate();
}

EBranValidate TAppProp::Refusal(const std::string& userMessage) const {
    return EBranValidate(userMessage, &FOwner, this);
}

std::string TAppProp::HandlerOwnerName() const { return FOwner.ObjClassName() + "." + Name(); }
