#include "Source/Common/Catalogue/UnknownApp.h"

#include "Source/Common/Catalogue/ServiceItems.h"
#include "platform/gui/Application.h"

TfrmUnknownApp::TfrmUnknownApp() {
    SetCaption("Probleemoplosser");
    SetBorderStyle(TBorderStyle::bsDialog);
    Position = TPosition::poScreenCenter;
    HelpContext = 6;
    SetClientSize(360, 150);

    lblIntro.SetBounds(12, 12, 336, 16);
    lblAppName.SetBounds(12, 44, 70, 16);
    lblAppName.FocusControl = &txtAppName;
    txtAppName.SetBounds(84, 40, 264, 21);
    txtAppName.OnChange = [this](TControl* sender) { txtAppNameChange(sender); };
    lblTip.SetAutoSize(false);
    lblTip.SetWordWrap(true);
    lblTip.SetBounds(12, 72, 336, 32);

    btnOK.SetKind(TBitBtnKind::bkOK);
    btnOK.SetDefault(true);
    btnOK.SetBounds(108, 114, 75, 25);
    btnOK.SetEnabled(false);
    btnCancel.SetKind(TBitBtnKind::bkCancel);
    btnCancel.SetBounds(190, 114, 75, 25);
    btnHelp.SetKind(TBitBtnKind::bkHelp);
    btnHelp.SetBounds(273, 114, 75, 25);
    btnHelp.OnClick = [this](TControl* sender) { btnHelpClick(sender); };
    SetActiveControl(&txtAppName);
}

void TfrmUnknownApp::txtAppNameChange(TControl*) { btnOK.SetEnabled(!txtAppName.Text().empty()); }

void TfrmUnknownApp::btnHelpClick(TControl*) { Application().HelpContext(HelpContext); }

std::shared_ptr<TAddedApplication> AskApplicationName() {
    auto form = CreateForm<TfrmUnknownApp>();
    if (form->ShowModal() != mrOk) return nullptr;
    return std::make_shared<TAddedApplication>(form->txtAppName.Text());
}
