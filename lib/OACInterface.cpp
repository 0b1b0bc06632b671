#include "lib/OACInterface.h"

#include <cstring>
#include <new>

#include "core/Format.h"
#include "lib/AppObj.h"
#include "lib/PropString.h"
#include "platform/gui/Form.h"
#include "platform/gui/Messages.h"

const char* const IID_IOAControl = "{FE4F2FE0-0993-11D1-B0AB-080009EF590E}";
const char* const IID_IInlineOAC = "{BF22D141-47D2-11D2-855A-080009EF5902}";

namespace {
const char* const kSource = "OACInterface";

void RequireParameter(const void* parameter, const char* routine) {
    if (!parameter) throw EBranAssertion(std::string(routine) + ":  Parameter kan niet nil zijn", kSource);
}
}  // namespace

TOACInterface* FindOACInterface(TControl* control, const char* iid) {
    if (!control) return nullptr;
    if (std::strcmp(iid, IID_IOAControl) == 0)
        if (auto* bound = dynamic_cast<IOAControl*>(control)) return &bound->OACInterface();
    if (std::strcmp(iid, IID_IInlineOAC) == 0)
        if (auto* inlineBound = dynamic_cast<IInlineOAC*>(control)) return &inlineBound->InlineOACInterface();
    return nullptr;
}

TOACInterface::TOACInterface(TControl& control) : FControl(control) {}

TOACInterface::~TOACInterface() {
    // The property, if it is still there, must not call a binding that is gone.
    if (FAppProp && FAppProp->HasOnChangedHandler(this)) FAppProp->RemoveOnChangedHandler(this);
}

bool TOACInterface::AllowsEmpty() const { return AllowEmpty && !(FAppProp && FAppProp->Desc().IsRequired()); }

void TOACInterface::Unbind() {
    FAppProp = nullptr;
    FRefusedOnTheWay = false;
}

void TOACInterface::SetAppProp(TAppProp* prop) {
    if (FAppProp) {
        try {
            FAppProp->RemoveOnChangedHandler(this);
        } catch (const EBrantel&) {
            throw EBrantel(ClassName(), "SetAppProp", "Reference to AppProp not valid",
                           Format("Kan OnChangeHandler van '%s' niet verwijderen", {FAppProp->Name()}));
        }
    }
    Unbind();
    if (!prop) return;
    FAppProp = prop;
    prop->AddOnChangedHandler(
        this, [this](TAppProp&) { CopyPropToControl(); }, [this] { Unbind(); });
    if (const auto* text = dynamic_cast<const TStringPropDesc*>(&prop->Desc())) LimitInput(text->MaxLength());
    CopyPropToControl();
}

void TOACInterface::Copy(int direction) {
    // A copy changes the other side, whose change notification must not copy back.
    if (FCopying) return;
    FCopying = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } reset{FCopying};
    if (OnCopy)
        OnCopy(&FControl, FAppProp, direction);
    else if (direction == cdPropToControl)
        PropToControl();
    else
        ControlToProp();
}

void TOACInterface::CopyPropToControl() { Copy(cdPropToControl); }

void TOACInterface::CopyValueToAppProp() {
    if (!FAppProp || FAppProp->Desc().IsReadOnly()) return;
    const TVariant before = FAppProp->AsVariant();
    FRefusedOnTheWay = false;
    try {
        Copy(cdControlToProp);
    } catch (const EBranValidate&) {
        FRefusedOnTheWay = FAppProp && FAppProp->AsVariant() == before;
        throw;
    }
}

void TOACInterface::TextToProp(const std::string& text) {
    if (text.empty())
        FAppProp->Clear();
    else
        FAppProp->SetAsString(text);
}

EBranValidate TOACInterface::Refusal(const std::string& userMessage) const {
    return EBranValidate(userMessage, FAppProp ? &FAppProp->Owner() : nullptr, FAppProp);
}

void TOACInterface::SetPropValueAccording(int behavior) {
    if (!FAppProp) return;
    const bool refusedOnTheWay = FRefusedOnTheWay;
    FRefusedOnTheWay = false;
    switch (behavior) {
        case obRestore:
            // Input refused before it reached the property: the property still holds the last good
            // value, which the control shows again; restoring would undo the change before that.
            if (refusedOnTheWay)
                CopyPropToControl();
            else
                FAppProp->Restore();
            break;
        case obKeepInput: break;
        case obSetNull: FAppProp->Clear(); break;
        case obSetEmpty: FAppProp->Unassign(); break;
        default:
            throw EBrantel(ClassName(), "SetPropValueAccording", "invalid behavior",
                           "xxxBehavior property has a value that is not allowed");
    }
}

void TOACInterface::HandleValidateError(const EBranValidate& e, int situation, int behavior) {
    bool handled = false;
    if (OnValidateError) OnValidateError(e, &FControl, handled, situation, FAppProp);
    if (handled) return;
    // Said before the message box: whatever the box lets through meanwhile (the click that moved
    // the focus away) already knows that the input was refused.
    TForm* form = FControl.ParentForm();
    if (situation == osLeaving && form) form->RefuseExit(&FControl);
    ShowWarning(e.UserMessage());
    if (situation != osTyping && TakesInput() && FControl.CanFocus()) FControl.SetFocus();
    SetPropValueAccording(behavior);
}

void TOACInterface::Guarded(const char* operation, const std::function<void()>& action) {
    try {
        action();
    } catch (EBranValidate&) {
        throw;
    } catch (EBrantel& e) {
        e.AddContext(ClassName(), operation, "Unhandled exception");
        throw;
    } catch (const std::bad_alloc&) {
        throw;  // told to the user as it is: no chain of operations helps there
    } catch (const std::exception& e) {
        EBrantel wrapped(ExceptionText(e));
        wrapped.AddContext(ClassName(), operation, "Unhandled exception");
        throw wrapped;
    }
}

void TOACInterface::DoEnter() {
    Guarded("DoEnter", [this] {
        if (OnEnter) OnEnter(&FControl, FAppProp);
    });
}

void TOACInterface::DoChange() {
    if (FCopying) return;
    Guarded("DoChange", [this] {
        if (OnChange) {
            OnChange(&FControl, FAppProp);
            return;
        }
        if (!CopyOnChange) return;
        try {
            CopyValueToAppProp();
        } catch (const EBranValidate& e) {
            HandleValidateError(e, osTyping, OnChangeBehavior);
        }
    });
}

bool TOACInterface::CopyAndCheck(int situation, int behavior) {
    try {
        CopyValueToAppProp();
        if (FAppProp && !FAppProp->IsNull()) FAppProp->Validate();
        return true;
    } catch (const EBranValidate& e) {
        HandleValidateError(e, situation, behavior);
        return false;
    }
}

void TOACInterface::DoExit() {
    Guarded("DoExit", [this] {
        if (OnBeforeExit) OnBeforeExit(&FControl, FAppProp);
        CopyAndCheck(osLeaving, OnExitBehavior);
        if (OnAfterExit) OnAfterExit(&FControl, FAppProp);
    });
}

bool TOACInterface::CommitInput() {
    bool accepted = true;
    Guarded("DoExit", [&] { accepted = CopyAndCheck(osLeaving, OnExitBehavior); });
    return accepted;
}

void CopyValueToAppProp(TControl* control) {
    RequireParameter(control, "CopyValueToAppProp");
    if (TOACInterface* binding = FindOACInterface(control)) binding->CopyValueToAppProp();
}

namespace {
// The bound controls below root in child order, not descending into bound controls.
void CollectBound(TControl* root, TAppObj* object, std::vector<TOACInterface*>& out) {
    for (TControl* child : root->Controls()) {
        if (TOACInterface* binding = FindOACInterface(child)) {
            // A label bound to the same property shows it; the edit beside it is the one to check.
            if (binding->TakesInput() && binding->AppProp() && &binding->AppProp()->Owner() == object)
                out.push_back(binding);
            continue;
        }
        CollectBound(child, object, out);
    }
}

bool HasNoValue(const TAppProp& prop) { return prop.IsNull() || prop.AsString().empty(); }
}  // namespace

bool OAC_ValidateControls(TControl* form, TAppObj* object) {
    RequireParameter(form, "OAC_ValidateControls");
    RequireParameter(object, "OAC_ValidateControls");
    TOACInterface* current = nullptr;
    try {
        TForm* owner = form->ParentForm();
        TOACInterface* active = owner ? FindOACInterface(owner->ActiveControl()) : nullptr;
        if (active && active->TakesInput()) {
            current = active;
            active->CopyValueToAppProp();
        }
        std::vector<TOACInterface*> bound;
        CollectBound(form, object, bound);
        for (TOACInterface* binding : bound) {
            current = binding;
            binding->CopyValueToAppProp();
        }
        for (TOACInterface* binding : bound) {
            current = binding;
            TAppProp& prop = *binding->AppProp();
            if (HasNoValue(prop) && !binding->AllowsEmpty()) {
                const std::string& caption = prop.Desc().PlainCaption();
                EBranValidate empty(Format("Het veld '%s' is leeg.\r\nGeef het veld '%s' een waarde.", {caption, caption}),
                                    object, &prop);
                empty.SetMessage(Format("het veld %s moet een waarde krijgen", {caption}));
                throw empty;
            }
            prop.Validate();
        }
    } catch (const EBranValidate& e) {
        if (!current) throw;
        current->HandleValidateError(e, osValidating, current->OnExitBehavior);
        return false;
    }
    return true;
}

void OAC_DisconnectControls(TControl* control) {
    RequireParameter(control, "OAC_DisconnectControls");
    for (TControl* child : control->Controls()) {
        if (TOACInterface* binding = FindOACInterface(child))
            binding->SetAppProp(nullptr);
        else
            OAC_DisconnectControls(child);
    }
}
