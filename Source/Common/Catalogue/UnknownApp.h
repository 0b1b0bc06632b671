#pragma once
// The dialog in which the user names an application that the discovery did not find (the problem
// solver offers it for "Anders...").
#include <memory>

#include "platform/gui/Button.h"
#include "platform/gui/Edit.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"

class TAddedApplication;

class TfrmUnknownApp : public TForm {
public:
    TfrmUnknownApp();

    TLabel lblIntro{this, "Vul de naam in van het programma waar het probleem optreedt."};
    TLabel lblAppName{this, "&Programma"};
    TEdit txtAppName{this};
    TLabel lblTip{this, "Tip: Kijk op de verpakking voor de precieze naam van het programma."};
    TButton btnOK{this};
    TButton btnCancel{this};
    TButton btnHelp{this};

private:
    // OK only makes sense once there is a name.
    void txtAppNameChange(TControl* sender);
    void btnHelpClick(TControl* sender);
};

// Asks for the name; a new application of that name (build "???", every category), or null when
// the user cancels.
std::shared_ptr<TAddedApplication> AskApplicationName();
