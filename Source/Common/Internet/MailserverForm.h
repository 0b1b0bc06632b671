#pragma once
// The mail server setting: the SMTP server through which the program sends mail, how the
// connection is protected and the account to log in with. The server, protection and user name are
// properties of the user record, so they are stored with the personal data; the password is stored
// encrypted for the Windows user alone (MailServerSetting.h). Out of the box it is the maker's own
// mail host, plain, without a log-in, which a user whose provider blocks other servers can replace.
#include <memory>

#include "Source/Common/Catalogue/User.h"
#include "lib/BranButtons.h"
#include "lib/OAControls.h"
#include "mail/MailServer.h"
#include "platform/gui/ComboBox.h"
#include "platform/gui/Edit.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/Panel.h"

class TfrmMailserver : public TForm {
public:
    TfrmMailserver();
    ~TfrmMailserver() override;

    TPanel pnlWarning{this};
    TLabel lblWarning1{&pnlWarning};
    TLabel lblWarning2{&pnlWarning};
    TLabel lblMailserver{this, "&Mailserver"};
    TOAEdit txtMailserver{this};
    TLabel lblSecurity{this, "&Beveiliging"};
    TComboBox cboSecurity{this, TComboBoxStyle::csDropDownList};
    TLabel lblPort{this, "&Poort"};
    TEdit txtPort{this};
    TLabel lblUserName{this, "&Gebruikersnaam"};
    TOAEdit txtUserName{this};
    TLabel lblPassword{this, "&Wachtwoord"};
    TEdit txtPassword{this};
    TBranButton btnRestore{this, "&Standaard"};  // left of OK and Cancel: first in tab order
    TBranButton btnOK{this};
    TBranButton btnCancel{this};

    TUser& User() const { return *FUser; }
    // The choice in cboSecurity.
    TMailSecurity Security() const;
    void SetSecurity(TMailSecurity security);

    void FormCreate(TControl* sender);
    void FormShow(TControl* sender);
    void FormHide(TControl* sender);
    void FormDestroy(TControl* sender);
    void btnRestoreClick(TControl* sender);
    void btnOKClick(TControl* sender);
    void cboSecurityChange(TControl* sender);

private:
    // The port typed, or -1 when it is no number from 1 to 65535.
    int Port() const;
    std::unique_ptr<TUser> FUser;
    TMailSecurity FShownSecurity = TMailSecurity::None;  // whose standard port txtPort may show
};
