#pragma once
// Properties of the object model: the descriptor of one property (TAppPropDesc, one per property
// of a record kind) and the value object every record holds per property (TAppProp).
//
// A property's value is a TVariant. Setting it converts the value to the kind or refuses it with a
// Dutch EBranValidate; Validate applies the required flag and the kind's own rules. Records, forms
// and bound controls never touch values any other way, so every message about user input comes
// from here. The kinds live in PropString, PropDate, PropBoolean, PropNumeric and PropContainer.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/Exceptions.h"
#include "lib/BranObject.h"
#include "lib/Variant.h"

class TAppObj;
class TAppObjDesc;
class TAppProp;

// Property flags.
enum TAppPropFlag : uint16_t {
    apfIndexed = 0x0001,
    apfUnique = 0x0002,
    apfPrimaryKey = 0x0004,    // also sets apfIndexed and apfRequired
    apfReadOnly = 0x0008,      // a bound control never writes into the property
    apfRequired = 0x0020,      // no value fails validation
    apfVolatile = 0x0040,      // not for ordering, unless the sort order has SO_NO_INDEX
    apfFileContent = 0x0200,   // the value names a file whose lines the object loads
    apfHidden = 0x0800,
    apfInternal = 0x2000,      // also sets apfHidden
};

// Validation failure of user input. UserMessage() is the Dutch text for the message box; the
// technical message adds " (<descriptor class>.<property>)" so a log tells where it came from.
class EBranValidate : public EBrantel {
public:
    EBranValidate(const std::string& userMessage, const TAppObj* object, const TAppProp* prop);
    const TAppObj* Object() const { return FObject; }
    const TAppProp* Prop() const { return FProp; }

private:
    const TAppObj* FObject;
    const TAppProp* FProp;
};

class EBranStringTooLong : public EBranValidate {
public:
    EBranStringTooLong(const std::string& userMessage, const TAppObj* object, const TAppProp* prop,
                       int maxLength)
        : EBranValidate(userMessage, object, prop), FMaxLength(maxLength) {}
    int MaxLength() const { return FMaxLength; }

private:
    int FMaxLength;
};

// Change notification shared by objects and properties. Handlers are keyed by their subscriber
// (the object that added them), so the subscriber can take its handler away again. A subscriber
// that keeps a pointer to the object passes a freed handler too: it is called when the object ends
// while the subscriber is still there, so that neither side outlives the other with a dangling
// pointer, whatever the order in which a form frees its records and its controls.
class TAppObjBase : public TBranObject {
public:
    using TOnChanged = std::function<void(TAppProp& changed)>;
    using TOnFreed = std::function<void()>;
    TAppObjBase() = default;
    TAppObjBase(const TAppObjBase&) = delete;
    TAppObjBase& operator=(const TAppObjBase&) = delete;
    ~TAppObjBase() override;
    void AddOnChangedHandler(const void* subscriber, TOnChanged handler, TOnFreed freed = {});
    // Throws EBrantel when the subscriber added no handler.
    void RemoveOnChangedHandler(const void* subscriber);
    bool HasOnChangedHandler(const void* subscriber) const;

protected:
    void CallOnChangedHandlers(TAppProp& changed);
    // The "Kon OnChangedHandler voor ... niet verwijderen" subject: object, or object.property.
    virtual std::string HandlerOwnerName() const = 0;

private:
    struct THandler {
        const void* Subscriber;
        TOnChanged Changed;
        TOnFreed Freed;
    };
    std::vector<THandler> FOnChanged;
};

class TAppPropDesc : public TBranObject {
public:
    TAppPropDesc(std::string name, std::string caption, std::string hint, TVariant defaultValue,
                 uint16_t flags);
    virtual const char* ClassName() const = 0;       // "TStringPropDesc"
    virtual const char* PropClassName() const = 0;   // "TStringProp"

    const std::string& Name() const { return FName; }
    const std::string& Caption() const { return FCaption; }          // "Achter&naam"
    const std::string& PlainCaption() const { return FPlainCaption; }  // "Achternaam"
    const std::string& Hint() const { return FHint; }
    const TVariant& DefaultValue() const { return FDefault; }
    uint16_t Flags() const { return FFlags; }
    bool HasFlag(uint16_t flag) const { return (FFlags & flag) == flag; }
    bool IsRequired() const { return HasFlag(apfRequired); }
    bool IsReadOnly() const { return HasFlag(apfReadOnly); }
    // Where the value object lives in an object: the index of its field.
    int Location() const { return FLocation; }
    const TAppObjDesc* ObjDesc() const { return FObjDesc; }

    // A new value object for an object, holding the default value.
    virtual std::unique_ptr<TAppProp> CreateProp(TAppObj& owner) const = 0;

    // Ties the descriptor to the value object in the prototype's field at location and runs the
    // creation checks. Called once, by TAppObjDesc::Describe.
    void Bind(const TAppObjDesc& objDesc, TAppObj& prototype, int location);

protected:
    // Whether a default of this variant type suits the kind (Unassigned and Null are checked apart).
    virtual bool AcceptsDefault(const TVariant& value) const = 0;

private:
    std::string FName, FCaption, FPlainCaption, FHint;
    TVariant FDefault;
    uint16_t FFlags;
    int FLocation = -1;
    const TAppObjDesc* FObjDesc = nullptr;
};

class TAppProp : public TAppObjBase {
public:
    TAppProp(TAppObj& owner, const TAppPropDesc& desc);
    virtual const char* ClassName() const = 0;  // "TStringProp"

    TAppObj& Owner() const { return FOwner; }
    const TAppPropDesc& Desc() const { return FDesc; }
    const std::string& Name() const { return FDesc.Name(); }

    const TVariant& AsVariant() const { return FValue; }
    // Converts the value to the kind (DoSetAsVariant) or throws EBranValidate; the old value stays
    // then. A change calls the OnChanged handlers of the property and of its object.
    void SetAsVariant(const TVariant& value);
    // The text shown to the user; empty without a value.
    std::string AsString() const;
    // Reads text as typed or stored: the kind's text form, e.g. a short date or "True".
    void SetAsString(const std::string& text);
    // The text as stored: dates in the descriptor's storage format, booleans with its texts.
    std::string AsStorageString() const;
    // The value as a literal: strings in single quotes, booleans 1 or 0; "NULL" without a value.
    std::string AsLiteral() const;
    // The boolean value; throws "<name> is NULL" without a value.
    bool AsBoolean() const;

    // No value: Null or never assigned.
    bool IsNull() const { return !FValue.HasValue(); }
    void Clear() { SetAsVariant(TVariant::Null()); }
    // The kind's empty value (empty text for text kinds, unassigned otherwise), for a property that
    // must not become Null.
    void ClearToEmpty() { SetAsVariant(EmptyValue()); }
    // Back to "never assigned", the state of a property declared without a default.
    void Unassign() { SetAsVariant(TVariant()); }
    // Back to the value held before the last change.
    void Restore();

    // Copies the value of a property of the same kind; another kind throws "Can't assign ...".
    virtual void Assign(const TAppProp& source);
    // Throws EBranValidate when a required property has no value, or the value breaks the kind's
    // rules. A property without value skips the kind's rules.
    void Validate() const;
    // Loads whatever the value refers to (the lines of a file for a file-reference memo).
    virtual void LoadFileContent() {}

protected:
    virtual TVariant DoSetAsVariant(const TVariant& value) const = 0;
    virtual void DoValidate() const {}
    virtual TVariant TextToVariant(const std::string& text) const { return TVariant(text); }
    virtual std::string FToString() const { return FValue.Text(); }
    virtual std::string StorageText() const { return FToString(); }
    virtual std::string Literal() const;
    virtual bool FToBoolean() const;
    virtual TVariant EmptyValue() const { return TVariant(); }

    // An EBranValidate about this property.
    EBranValidate Refusal(const std::string& userMessage) const;
    std::string HandlerOwnerName() const override;
    void SetValue(TVariant value);

private:
    TAppObj& FOwner;
    const TAppPropDesc& FDesc;
    TVariant FValue, FPrevious;
};

// Number of characters of a UTF-8 text.
int CharCount(const std::string& utf8);
