#include "Source/Common/Internet/MailserverForm.h"

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Catalogue/MailServerSetting.h"
#include "lib/OACInterface.h"
#include "mail/Socket.h"
#include "platform/gui/Messages.h"

namespace {
// In the order of TMailSecurity.
const char* const kSecurityChoices[] = {"Geen", "STARTTLS", "TLS vanaf het begin"};

// "host" or "host:port", as the transport has always read the setting; port 0 is no port to send to.
std::string HostOf(const std::string& server) { return TagSocket::HostOf(server); }
int PortOf(const std::string& server) {
    const int port = TagSocket::PortOf(server);
    return port >= 1 ? port : -1;
}

// Typing and leaving a field never complain; OK checks the values.
void BindQuietly(TOAEdit& edit, std::function<void(TControl*, TAppProp*, int)> copy) {
    TOACInterface& binding = edit.OACInterface();
    binding.OnValidateError = [](const EBranValidate&, TControl*, bool& handled, int situation, TAppProp*) {
        handled = situation != osValidating;
    };
    binding.OnExitBehavior = obKeepInput;
    binding.OnCopy = std::move(copy);
}

// No user name is no value at all: nothing is kept for it.
void CopyOptionalText(TControl* control, TAppProp* prop, int direction) {
    if (direction == cdPropToControl) control->SetText(prop->AsString());
    else if (control->Text().empty()) prop->Clear();
    else prop->SetAsString(control->Text());
}
}  // namespace

TfrmMailserver::TfrmMailserver() {
    SetCaption("Mailserver instelling");
    SetBorderStyle(TBorderStyle::bsDialog);
    Position = TPosition::poScreenCenter;
    SetClientSize(420, 316);

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

    // One column of captions, one of fields; the port shares the protection's row.
    const int captionLeft = 10, captionWidth = 100, fieldLeft = 116, fieldWidth = 296;
    lblMailserver.SetBounds(captionLeft, 155, captionWidth, 16);
    txtMailserver.SetBounds(fieldLeft, 152, fieldWidth, 21);
    lblSecurity.SetBounds(captionLeft, 185, captionWidth, 16);
    cboSecurity.SetBounds(fieldLeft, 182, 150, 21);
    lblPort.SetBounds(282, 185, 50, 16);
    txtPort.SetBounds(338, 182, 74, 21);
    lblUserName.SetBounds(captionLeft, 215, captionWidth, 16);
    txtUserName.SetBounds(fieldLeft, 212, fieldWidth, 21);
    lblPassword.SetBounds(captionLeft, 245, captionWidth, 16);
    txtPassword.SetBounds(fieldLeft, 242, fieldWidth, 21);
    lblMailserver.FocusControl = &txtMailserver;
    lblSecurity.FocusControl = &cboSecurity;
    lblPort.FocusControl = &txtPort;
    lblUserName.FocusControl = &txtUserName;
    lblPassword.FocusControl = &txtPassword;
    for (const char* choice : kSecurityChoices) cboSecurity.AddItem(choice);
    txtPort.SetMaxLength(5);
    txtPort.SetNumbersOnly(true);
    txtPassword.SetPasswordChar(L'\x25CF');

    btnRestore.SetBounds(8, 280, 100, 26);
    btnOK.SetKind(TBitBtnKind::bkOK);
    btnOK.SetBounds(224, 280, 90, 26);
    btnCancel.SetKind(TBitBtnKind::bkCancel);
    btnCancel.SetBounds(322, 280, 90, 26);
    // Enter confirms what was typed; the maker's host comes back only when asked for.
    SetDefaultButton(&btnOK);

    // The field shows the host; the port has a field of its own and is stored after a ":" only
    // where it is not the protection's standard port, so that an older setting reads the same.
    BindQuietly(txtMailserver, [this](TControl* control, TAppProp* prop, int direction) {
        if (direction == cdPropToControl) {
            const std::string server = prop->AsString();
            control->SetText(HostOf(server));
            const int port = PortOf(server);
            txtPort.SetText(std::to_string(port > 0 ? port : StandardPort(Security())));
            return;
        }
        // A port typed after the host, as the setting used to be entered, is taken as the port.
        std::string host = HostOf(control->Text());
        const int typed = PortOf(control->Text());
        const int port = typed > 0 ? typed : Port();
        if (host.empty()) prop->ClearToEmpty();
        else prop->SetAsString(port == StandardPort(Security()) ? host : host + ":" + std::to_string(port));
    });
    BindQuietly(txtUserName, &CopyOptionalText);

    OnCreate = [this](TControl* s) { FormCreate(s); };
    OnShow = [this](TControl* s) { FormShow(s); };
    OnHide = [this](TControl* s) { FormHide(s); };
    OnDestroy = [this](TControl* s) { FormDestroy(s); };
    btnRestore.OnClick = [this](TControl* s) { btnRestoreClick(s); };
    btnOK.OnClick = [this](TControl* s) { btnOKClick(s); };
    cboSecurity.OnChange = [this](TControl* s) { cboSecurityChange(s); };
}

TfrmMailserver::~TfrmMailserver() { OAC_DisconnectControls(this); }

TMailSecurity TfrmMailserver::Security() const {
    const int index = cboSecurity.ItemIndex();
    return index > 0 ? static_cast<TMailSecurity>(index) : TMailSecurity::None;
}

void TfrmMailserver::SetSecurity(TMailSecurity security) {
    cboSecurity.SetItemIndex(static_cast<int>(security));
    cboSecurityChange(&cboSecurity);
}

int TfrmMailserver::Port() const { return PortOf(":" + txtPort.Text()); }

void TfrmMailserver::FormCreate(TControl*) {
    FUser = std::make_unique<TUser>();
    FUser->LoadFromRegistry();
}

void TfrmMailserver::FormShow(TControl*) {
    FShownSecurity = SecurityFromValue(FUser->MailSecurity().AsString());
    cboSecurity.SetItemIndex(static_cast<int>(FShownSecurity));
    txtMailserver.SetAppProp(&FUser->Mailserver());
    txtUserName.SetAppProp(&FUser->MailUserName());
    txtPassword.SetText(LoadMailPassword());
}

void TfrmMailserver::FormHide(TControl*) { OAC_DisconnectControls(this); }

void TfrmMailserver::FormDestroy(TControl*) {
    OAC_DisconnectControls(this);
    FUser.reset();
}

void TfrmMailserver::cboSecurityChange(TControl*) {
    // A port the user typed stays; the standard port follows the protection.
    const TMailSecurity chosen = Security();
    if (txtPort.Text().empty() || Port() == StandardPort(FShownSecurity))
        txtPort.SetText(std::to_string(StandardPort(chosen)));
    FShownSecurity = chosen;
}

void TfrmMailserver::btnRestoreClick(TControl*) {
    txtMailserver.SetText(DefaultMailHost);
    SetSecurity(TMailSecurity::None);
    txtPort.SetText(std::to_string(StandardPort(TMailSecurity::None)));
    txtUserName.SetText("");
    txtPassword.SetText("");
}

void TfrmMailserver::btnOKClick(TControl*) {
    if (Port() < 0 && PortOf(txtMailserver.Text()) < 0) {
        ShowWarning("Vul bij Poort een getal van 1 tot en met 65535 in.");
        txtPort.SetFocus();
        SetModalResult(mrNone);
        return;
    }
    FUser->MailSecurity().SetAsString(SecurityValue(Security()));
    if (FUser->MailSecurity().AsString().empty()) FUser->MailSecurity().Clear();
    if (!OAC_ValidateControls(this, FUser.get())) {
        SetModalResult(mrNone);  // stay open on the field that failed
        return;
    }
    FUser->SaveToRegistry();
    // No account, no password: one left behind would only wait to be misused.
    SaveMailPassword(FUser->MailUserName().AsString().empty() ? std::string() : txtPassword.Text());
}
