#include "Source/Common/Internet/MailserverForm.h"

#include "Source/Common/Catalogue/Deployment.h"
#include "lib/OACInterface.h"

TfrmMailserver::TfrmMailserver() {
    SetCaption("Mailserver instelling");
    SetBorderStyle(TBorderStyle::bsDialog);
    Position = TPosition::poScreenCenter;
    SetClientSize(420, 228);

    pnlWarning.SetBounds(8, 8, 404, 132);
    pnlWarning.SetBevelOuter(TBevelCut::bvLowered);
    lblWarning1.SetCaption(
        "In sommige gevallen kan het voorkomen dat uw Internet Provider niet kan werken met de mailserver van "
        "Brantel. U kunt uw helpdeskrapport of adreswijziging dan niet via e-mail naar Brantel sturen.");
    lblWarning2.SetCaption(
        "Dit probleem is op te lossen door de mailserver instelling te wijzigen. Doet u dit niet zelf, maar neem "
        "hiervoor contact op met de Brantel Helpdesk. Zij kunnen u precies vertellen wat u moet doen om dit "
        "probleem op te lossen.");
    for (TLabel* label : {&lblWarning1, &lblWarning2}) label->SetWordWrap(true);
    lblWarning1.SetBounds(10, 8, 384, 50);
    lblWarning2.SetBounds(10, 64, 384, 62);
    lblMailserver.SetBounds(10, 155, 80, 16);
    lblMailserver.FocusControl = &txtMailserver;
    txtMailserver.SetBounds(96, 152, 316, 21);
    btnRestore.SetBounds(8, 192, 100, 26);
    btnOK.SetKind(TBitBtnKind::bkOK);
    btnOK.SetBounds(224, 192, 90, 26);
    btnCancel.SetKind(TBitBtnKind::bkCancel);
    btnCancel.SetBounds(322, 192, 90, 26);
    // Enter confirms what was typed; the maker's host comes back only when asked for.
    SetDefaultButton(&btnOK);

    // Typing and leaving the field never complain; OK checks the value.
    TOACInterface& binding = txtMailserver.OACInterface();
    binding.OnValidateError = [](const EBranValidate&, TControl*, bool& handled, int situation, TAppProp*) {
        handled = situation != osValidating;
    };
    binding.OnExitBehavior = obKeepInput;
    binding.OnCopy = [](TControl* control, TAppProp* prop, int direction) {
        if (direction == cdPropToControl) {
            control->SetText(prop->AsString());
        } else if (control->Text().empty()) {
            prop->ClearToEmpty();
        } else {
            prop->SetAsString(control->Text());
        }
    };

    OnCreate = [this](TControl* s) { FormCreate(s); };
    OnShow = [this](TControl* s) { FormShow(s); };
    OnHide = [this](TControl* s) { FormHide(s); };
    OnDestroy = [this](TControl* s) { FormDestroy(s); };
    btnRestore.OnClick = [this](TControl* s) { btnRestoreClick(s); };
    btnOK.OnClick = [this](TControl* s) { btnOKClick(s); };
}

TfrmMailserver::~TfrmMailserver() { OAC_DisconnectControls(this); }

void TfrmMailserver::FormCreate(TControl*) {
    FUser = std::make_unique<TUser>();
    FUser->LoadFromRegistry();
}

void TfrmMailserver::FormShow(TControl*) { txtMailserver.SetAppProp(&FUser->Mailserver()); }

void TfrmMailserver::FormHide(TControl*) { OAC_DisconnectControls(this); }

void TfrmMailserver::FormDestroy(TControl*) {
    OAC_DisconnectControls(this);
    FUser.reset();
}

void TfrmMailserver::btnRestoreClick(TControl*) { txtMailserver.SetText(DefaultMailHost); }

void TfrmMailserver::btnOKClick(TControl*) {
    if (OAC_ValidateControls(this, FUser.get())) {
        FUser->SaveToRegistry();
    } else {
        SetModalResult(mrNone);  // stay open on the field that failed
    }
}
