#pragma once
// "Adreswijziging": the user reports a new address to the maker. The window shows the registered
// name and old address beside fields for the new one, stores the new data as the user's personal
// data and then e-mails the change to the maker's address-change mailbox (and tells the newsletter
// script the new e-mail address) or prints a form to send or fax.
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/Catalogue/User.h"
#include "lib/BranButtons.h"
#include "lib/BranForm.h"
#include "lib/OAControls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Label.h"

// The mail's subject: customer number and last name of the old record when it has a customer
// number, else of the new one.
std::string AddressChangeSubject(const TUser& oldUser, const TUser& newUser);
// The mail's body: one line per property of the new record, the city last, after the eleven lines
// the mailbox has always read in their fixed places.
std::vector<std::string> AddressChangeBody(const TUser& newUser);
// The printed form as RTF lines: where to send it, the old data, the new customer block.
std::vector<std::string> ComposeAddressChangeForm(const TUser& oldUser, const TUser& newUser);

class TfrmAddressChange : public TBranForm {
public:
    TfrmAddressChange();
    ~TfrmAddressChange() override;

    TOALabel lblInitials{this};
    TOAEdit txtInitials{this};
    TOALabel lblPrefix{this};
    TOAEdit txtPrefix{this};
    TOALabel lblLastName{this};
    TOAEdit txtLastName{this};
    TOALabel lblCompany{this};
    TOAEdit txtCompany{this};
    // The old address and then the new one, each column top to bottom (the tab order).
    TLabel lblOldAddress{this, "Vul uw oude adresgegevens in"};
    TOAEdit txtOldStreet{this};
    TOAEdit txtOldHouseNumber{this};
    TOAEdit txtOldZipCode{this};
    TOAEdit txtOldCity{this};
    TOAComboBox cboOldCountry{this, TComboBoxStyle::csDropDownList, true};
    TLabel lblNewAddress{this, "Vul uw nieuwe adresgegevens in"};
    TOALabel lblNewStreet{this};
    TOAEdit txtNewStreet{this};
    TOALabel lblNewHouseNumber{this};
    TOAEdit txtNewHouseNumber{this};
    TOALabel lblNewZipCode{this};
    TOAEdit txtNewZipCode{this};
    TOALabel lblNewCity{this};
    TOAEdit txtNewCity{this};
    TOALabel lblNewCountry{this};
    TOAComboBox cboNewCountry{this, TComboBoxStyle::csDropDownList, true};
    TOALabel lblNewEmail{this};
    TOAEdit txtNewEmail{this};
    TOALabel lblNewPhone{this};
    TOAEdit txtNewPhone{this};
    TOALabel lblNewFax{this};
    TOAEdit txtNewFax{this};
    TBranButton btnPrint{this, "Afdrukken"};
    TBranButton btnSend{this, "E-mailen"};
    TBranButton btnCancel{this};
    TBranButton btnHelp{this};
    TPrintDialog dlgPrint;

    TUser& OldUser() const { return *FOldUser; }
    TUser& NewUser() const { return *FNewUser; }

    void FormCreate(TControl* sender);
    void FormShow(TControl* sender);
    void FormHide(TControl* sender);
    void FormDestroy(TControl* sender);
    void btnSendClick(TControl* sender);
    void btnPrintClick(TControl* sender);

private:
    void Layout();
    bool CheckInput();
    bool SendAddressChange();
    std::string FSendFailure;  // why the last SendAddressChange failed, for the user

    std::unique_ptr<TUser> FOldUser;
    std::unique_ptr<TUser> FNewUser;
};
