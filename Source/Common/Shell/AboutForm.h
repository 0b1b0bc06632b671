#pragma once
// The About box: a borderless picture with the registered user's name, the free system resources
// (only the Windows 9x family has them) and the program's file version. A click or Esc closes it.
#include "lib/BranVersionLabel.h"
#include "platform/gui/Form.h"
#include "platform/gui/Image.h"
#include "platform/gui/Label.h"

class TfrmAbout : public TForm {
public:
    TfrmAbout();

    TImage imgService{this};
    TLabel lblUsername{this, "Gebruikersnaam"};
    TLabel lblUsernameData{this};
    TLabel lblResources{this, "Bronnen vrij"};
    TLabel lblResourcesData{this};
    TLabel lblVersion{this, "Versie"};
    TBranVersionLabel dvlVersion{this};

    void FormShow(TControl* sender);
    void FormClick(TControl* sender);
    void FormKeyPress(TControl* sender, wchar_t& key);
};

// Shows the About box modally.
void ShowAbout();
