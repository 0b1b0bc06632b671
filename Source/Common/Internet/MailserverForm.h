#pragma once
// The mail server setting: the SMTP server through which the program sends mail. It is a property
// of the user record, so it is stored with the personal data; out of the box it is the maker's
// own mail host, which a user whose provider blocks other servers can replace.
#include <memory>

#include "Source/Common/Catalogue/User.h"
#include "lib/BranButtons.h"
#include "lib/OAControls.h"
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
    TBranButton btnOK{this};
    TBranButton btnCancel{this};
    TBranButton btnRestore{this, "&Standaard"};

    TUser& User() const { return *FUser; }

    void FormCreate(TControl* sender);
    void FormShow(TControl* sender);
    void FormHide(TControl* sender);
    void FormDestroy(TControl* sender);
    void btnRestoreClick(TControl* sender);
    void btnOKClick(TControl* sender);

private:
    std::unique_ptr<TUser> FUser;
};
