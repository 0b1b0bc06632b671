#pragma once
// "Brantel E-Nieuws": subscribes the user to the maker's newsletter by e-mail, or cancels the
// subscription, with the subjects the user is interested in. The request goes to the maker's form
// script; the interest choices are kept beside the personal data, the personal data only when the
// script accepted the request.
#include <memory>
#include <string>

#include "Source/Common/Catalogue/User.h"
#include "lib/BranButtons.h"
#include "lib/BranForm.h"
#include "lib/OAControls.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/Label.h"
#include "platform/gui/RadioButton.h"

class TfrmENews : public TBranForm {
public:
    TfrmENews();
    ~TfrmENews() override;

    TRadioButton optSubscript{this};
    TLabel lblSubscript{this};
    TRadioButton optUnsubscript{this};
    TLabel lblUnsubscript{this};
    TLabel lblLastName{this, "&Naam"};
    TOAEdit txtLastName{this};
    TOALabel lblEmail{this};
    TOAEdit txtEmail{this};
    TLabel lblInterests{this, "Ik ben vooral geïnteresseerd in nieuws over:"};
    TCheckBox chkBusiness{this, "&Business software"};
    TCheckBox chkPersonal{this, "&Personal software"};
    TCheckBox chkHobby{this, "&Hobby software"};
    TCheckBox chkCursus{this, "&Training/cursus software"};
    TCheckBox chkGames{this, "&Software games"};
    TCheckBox chkKids{this, "Software voor &Kids"};
    TBranButton btnSend{this, "E-mailen"};
    TBranButton btnCancel{this};
    TBranButton btnHelp{this};

    TUser& User() const { return *FUser; }
    // The interest check boxes with their names (registry values and query keys), in table order.
    struct TInterest {
        const char* Name;
        TCheckBox* Box;
    };
    std::vector<TInterest> Interests();

    void FormCreate(TControl* sender);
    void FormShow(TControl* sender);
    void FormHide(TControl* sender);
    void FormDestroy(TControl* sender);
    void optSubscriptClick(TControl* sender);
    void optUnsubscriptClick(TControl* sender);
    void btnSendClick(TControl* sender);

private:
    bool ValidateControls();
    void LoadInterests();
    void StoreInterests();

    std::unique_ptr<TUser> FUser;
    std::string FOldEmail;  // as loaded, sent as the address the subscription had
};
