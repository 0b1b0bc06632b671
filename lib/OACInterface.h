#pragma once
// Object-aware controls: edit controls bound to one property of a record of the object model.
//
// A bound control owns a binding (a TOACInterface subclass for its kind) and exposes it through the
// IOAControl interface. The binding shows the property's value, writes the user's input back into
// the property (on leaving the control, or at every change with CopyOnChange), follows the
// property's change notifications and handles validation errors: an error handler may take them,
// otherwise the Dutch message is shown, the control gets the focus back and the property is treated
// according to the behaviour for the situation. OAC_ValidateControls checks a whole form at once.
#include <functional>
#include <string>

#include "lib/AppProp.h"
#include "lib/BranObject.h"
#include "platform/gui/Control.h"

// The interface through which a control exposes its binding, and the one of inline bindings.
extern const char* const IID_IOAControl;  // {FE4F2FE0-0993-11D1-B0AB-080009EF590E}
extern const char* const IID_IInlineOAC;  // {BF22D141-47D2-11D2-855A-080009EF5902}

class TOACInterface;

class IOAControl {
public:
    virtual ~IOAControl() = default;
    virtual TOACInterface& OACInterface() = 0;
};

// A binding that lives inside another control (an in-place editor) rather than being one.
class IInlineOAC {
public:
    virtual ~IInlineOAC() = default;
    virtual TOACInterface& InlineOACInterface() = 0;
};

// The binding of a control under the interface iid, or nullptr when it does not support it.
TOACInterface* FindOACInterface(TControl* control, const char* iid = IID_IOAControl);

enum TOACCopyDirection { cdPropToControl = 0, cdControlToProp = 1 };
enum TOACSituation { osTyping = 0, osLeaving = 1, osValidating = 2 };
// What happens to the property after a failed validation.
enum TOACBehavior { obRestore = 0, obKeepInput = 1, obSetNull = 2, obSetEmpty = 3 };

using TOACEvent = std::function<void(TControl* control, TAppProp* prop)>;
using TOACCopyEvent = std::function<void(TControl* control, TAppProp* prop, int direction)>;
using TOACValidateErrorEvent =
    std::function<void(const EBranValidate& e, TControl* control, bool& handled, int situation, TAppProp* prop)>;

class TOACInterface : public TBranObject {
public:
    explicit TOACInterface(TControl& control);
    ~TOACInterface() override;
    TOACInterface(const TOACInterface&) = delete;
    TOACInterface& operator=(const TOACInterface&) = delete;
    virtual const char* ClassName() const = 0;

    TControl& Control() const { return FControl; }
    TAppProp* AppProp() const { return FAppProp; }
    // Unbinds the previous property, binds this one (nullptr: none) and shows its value. The binding
    // lets go of its property by itself when either of the two ends first.
    void SetAppProp(TAppProp* prop);
    // Whether the control takes input: only such controls are copied, validated and focused.
    virtual bool TakesInput() const { return true; }

    TOACEvent OnChange;
    TOACEvent OnEnter;
    TOACEvent OnBeforeExit;
    TOACEvent OnAfterExit;
    // Replaces the built-in copy in the direction given (TOACCopyDirection).
    TOACCopyEvent OnCopy;
    TOACValidateErrorEvent OnValidateError;
    int OnExitBehavior = obRestore;
    int OnChangeBehavior = obKeepInput;
    bool CopyOnChange = false;
    // An empty control passes form validation unless this is false or the property is required.
    bool AllowEmpty = true;
    bool AllowsEmpty() const;

    void CopyPropToControl();
    // Writes the control's value into the property; never into a read-only property.
    void CopyValueToAppProp();

    // The control's events.
    void DoEnter();
    void DoChange();
    void DoExit();
    // What leaving the control does to its input (copy, validate, handle a refusal), without the
    // exit events: for a step that acts on the input while the focus stays, as a key press on the
    // form's default button. False when the input was refused.
    bool CommitInput();

    // Treats the property after a failed validation (TOACBehavior); another value is refused.
    void SetPropValueAccording(int behavior);
    // Handler, message, focus and behaviour for a validation error in a situation.
    void HandleValidateError(const EBranValidate& e, int situation, int behavior);

protected:
    // The built-in copies of the kind.
    virtual void PropToControl() = 0;
    virtual void ControlToProp() = 0;
    // Keeps typing within the property's maximum length (0: none), so nothing typed is lost to a
    // too-long message afterwards.
    virtual void LimitInput(int /*maxLength*/) {}
    // Text input: empty text makes the property Null, which means "not given" to every reader.
    void TextToProp(const std::string& text);
    // A refusal of input that cannot become the property's value at all.
    EBranValidate Refusal(const std::string& userMessage) const;

private:
    // One copy in the given direction (TOACCopyDirection), never re-entered.
    void Copy(int direction);
    // Runs an event of the control, adding the operation to anything but a validation error.
    void Guarded(const char* operation, const std::function<void()>& action);

    // Copies and validates the input; a refusal goes to the handling of the situation.
    bool CopyAndCheck(int situation, int behavior);
    void Unbind();

    TControl& FControl;
    TAppProp* FAppProp = nullptr;
    bool FCopying = false;
    // The last copy was refused before it became the property's value: nothing to restore there.
    bool FRefusedOnTheWay = false;
};

// Copies the control's value into its property when the control is bound.
void CopyValueToAppProp(TControl* control);
// Validates every control on the form bound to a property of the object; true when all are valid.
// At the first invalid one it shows the message, focuses the control and answers false.
bool OAC_ValidateControls(TControl* form, TAppObj* object);
// Unbinds every bound control below control. Bindings let go by themselves when a record or a
// control ends, so a form needs this only to stop following a record it keeps.
void OAC_DisconnectControls(TControl* control);
