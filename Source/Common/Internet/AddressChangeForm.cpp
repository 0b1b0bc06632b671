#include "Source/Common/Internet/AddressChangeForm.h"

#include "Source/Common/Catalogue/Deployment.h"
#include "Source/Common/Helpdesk/ProblemSolver.h"
#include "Source/Common/Helpdesk/ReportComposer.h"
#include "Source/Common/Helpdesk/ReportDelivery.h"
#include "Source/Common/Internet/WebForm.h"
#include "Source/Common/TechInfo/Country.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "core/Exceptions.h"
#include "core/Format.h"
#include "Source/Common/Catalogue/MailServerSetting.h"
#include "mail/SendMail.h"
#include "platform/Files.h"
#include "platform/gui/Application.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Messages.h"

namespace {
std::string Value(const TAppProp& prop) { return RtfEscape(prop.AsString()); }
}  // namespace

// --- the mail and the printed form ---------------------------------------------------------------

std::string AddressChangeSubject(const TUser& oldUser, const TUser& newUser) {
    const TUser& named = oldUser.HasCustomerNumber() ? oldUser : newUser;
    return named.CustomerNumber() + " " + named.LastName().AsString();
}

std::vector<std::string> AddressChangeBody(const TUser& u) {
    std::vector<std::string> body;
    for (const TAppProp* prop : {&u.LastName(), &u.Prefix(), &u.Initials(), &u.Street(), &u.HouseNumber(),
                                 &u.ZipCode(), &u.Country(), &u.Tel(), &u.Fax(), &u.Email(), &u.Organization(),
                                 &u.City()})
        body.push_back(prop->AsString());
    return body;
}

std::vector<std::string> ComposeAddressChangeForm(const TUser& oldUser, const TUser& newUser) {
    std::vector<std::string> l;
    l.push_back(R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss MS Sans Serif;}{\f1\froman\fcharset2{\*\fname Symbol;}MT Symbol;}{\f2\fswiss\fcharset1 MS Sans Serif;}{\f3\fswiss\fprq2 Arial;}{\f4\fnil\fprq2\fcharset2 Wingdings;}{\f5\fswiss Tahoma;}})");
    l.push_back(R"({\colortbl\red0\green0\blue0;})");
    l.push_back(Format(R"(\deflang1033\pard\plain\f3\fs32\cf0\b %s\plain\f3\fs20\cf0 )", {"Adreswijziging"}));
    l.push_back(R"(\par)");
    l.push_back(Format(R"(\par \pard\tx4828\tx6816\plain\f3\fs24\cf0 %s)", {"Stuur of fax dit formulier naar:"}));
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b %s)", {RtfEscape(MakerCompanyName)}));
    l.push_back(Format(R"(\par \plain\lang1043\f3\fs24\cf0\b\protect %s)", {RtfEscape(MakerPostAddress)}));
    l.push_back(Format(R"(\par %s)", {RtfEscape(MakerZipcodeCity)}));
    l.push_back(Format(R"(\par Fax: %s)", {RtfEscape(MakerFaxNumber)}));
    l.push_back(R"(\par \pard\tx2556\plain\f3\fs24\cf0 )" + std::string(116, '-'));
    if (oldUser.HasCustomerNumber())
        l.push_back(Format(R"(\par \pard\tx2272\plain\f3\fs32\cf0\b %s\tab %s\plain\f3\fs32\cf0 )",
                           {"Klantennummer:", RtfEscape(oldUser.CustomerNumber())}));
    l.push_back(R"(\par \plain\f3\fs24\cf0 )");
    l.push_back(Format(R"(\par \plain\f3\fs24\cf0\b %s\plain\f3\fs24\cf0)", {"Oude adresgegevens"}));
    l.push_back(R"(\par)");
    const std::pair<const char*, const TAppProp*> old[] = {{"Postcode", &oldUser.ZipCode()},
                                                           {"Huisnummer", &oldUser.HouseNumber()},
                                                           {"Straat", &oldUser.Street()},
                                                           {"Plaats", &oldUser.City()},
                                                           {"Land", &oldUser.Country()}};
    for (auto [label, prop] : old) l.push_back(Format(R"(\par   %s\tab %s)", {label, Value(*prop)}));
    l.push_back(R"(\par)");
    AppendCustomerBlock(l, newUser);
    l.push_back(R"(\par })");
    return l;
}

// --- the window ----------------------------------------------------------------------------------

TfrmAddressChange::TfrmAddressChange() {
    SetCaption("Adreswijziging");
    SetBorderStyle(TBorderStyle::bsDialog);
    Position = TPosition::poScreenCenter;
    HelpContext = 1009;
    Layout();

    OnCreate = [this](TControl* s) { FormCreate(s); };
    OnShow = [this](TControl* s) { FormShow(s); };
    OnHide = [this](TControl* s) { FormHide(s); };
    OnDestroy = [this](TControl* s) { FormDestroy(s); };
    btnSend.OnClick = [this](TControl* s) { btnSendClick(s); };
    btnPrint.OnClick = [this](TControl* s) { btnPrintClick(s); };
    btnHelp.OnClick = [this](TControl*) { Application().HelpContext(HelpContext); };
}

TfrmAddressChange::~TfrmAddressChange() { OAC_DisconnectControls(this); }

// Name and company across the top; below them the old address beside the new one, row by row under
// the captions of the new fields, and how to reach the user at the new address.
void TfrmAddressChange::Layout() {
    constexpr int captionLeft = 12, oldLeft = 124, newLeft = 316, fieldWidth = 172, rowHeight = 27;
    SetClientSize(500, 418);
    int top = 12;
    auto row = [&](TOALabel& label, TControl* oldField, TControl& newField, int width) {
        label.ShowCaption = true;
        label.SetBounds(captionLeft, top + 3, 108, 16);
        label.FocusControl = &newField;
        if (oldField) oldField->SetBounds(oldLeft, top, width, 21);
        newField.SetBounds(oldField ? newLeft : oldLeft, top, width, 21);
        top += rowHeight;
    };
    row(lblInitials, nullptr, txtInitials, 80);
    row(lblPrefix, nullptr, txtPrefix, 80);
    row(lblLastName, nullptr, txtLastName, fieldWidth);
    row(lblCompany, nullptr, txtCompany, fieldWidth);
    top += 8;
    for (TLabel* heading : {&lblOldAddress, &lblNewAddress}) {
        heading->SetAutoSize(false);
        heading->SetWordWrap(true);
    }
    lblOldAddress.SetBounds(oldLeft, top, newLeft - oldLeft - 4, 16);
    lblNewAddress.SetBounds(newLeft, top, ClientWidth() - newLeft - 4, 16);
    top += 22;
    row(lblNewStreet, &txtOldStreet, txtNewStreet, fieldWidth);
    row(lblNewHouseNumber, &txtOldHouseNumber, txtNewHouseNumber, 60);
    row(lblNewZipCode, &txtOldZipCode, txtNewZipCode, 80);
    row(lblNewCity, &txtOldCity, txtNewCity, fieldWidth);
    row(lblNewCountry, &cboOldCountry, cboNewCountry, fieldWidth);
    for (TOAComboBox* country : {&cboOldCountry, &cboNewCountry}) country->SetHeight(200);  // the dropped-down list
    top += 8;
    // The new e-mail address, phone and fax line up with the new address.
    for (TOALabel* label : {&lblNewEmail, &lblNewPhone, &lblNewFax}) {
        label->ShowCaption = true;
        label->SetBounds(captionLeft, top + 3, 108, 16);
        top += rowHeight;
    }
    top -= 3 * rowHeight;
    lblNewEmail.FocusControl = &txtNewEmail;
    lblNewPhone.FocusControl = &txtNewPhone;
    lblNewFax.FocusControl = &txtNewFax;
    txtNewEmail.SetBounds(oldLeft, top, newLeft + fieldWidth - oldLeft, 21);
    txtNewPhone.SetBounds(oldLeft, top + rowHeight, 120, 21);
    txtNewFax.SetBounds(oldLeft, top + 2 * rowHeight, 120, 21);

    const int buttonTop = ClientHeight() - 38;
    btnPrint.SetBounds(12, buttonTop, 88, 26);
    btnPrint.ModalResult = mrOk;
    btnSend.SetBounds(212, buttonTop, 88, 26);
    btnSend.ModalResult = mrOk;
    btnCancel.SetKind(TBitBtnKind::bkCancel);
    btnCancel.SetBounds(306, buttonTop, 88, 26);
    btnHelp.SetKind(TBitBtnKind::bkHelp);
    btnHelp.SetBounds(400, buttonTop, 88, 26);
    SetDefaultButton(&btnSend);
}

void TfrmAddressChange::FormCreate(TControl*) {
    FOldUser = std::make_unique<TUser>();
    FOldUser->LoadFromRegistry();
    // The new record starts as the stored one; every edit goes into it.
    FNewUser = std::make_unique<TUser>();
    FNewUser->LoadFromRegistry();
}

void TfrmAddressChange::FormShow(TControl*) {
    TStringList countries;
    FillCountryNames(countries);
    cboOldCountry.SetItems(countries);
    cboNewCountry.SetItems(countries);
    TUser& o = *FOldUser;
    TUser& n = *FNewUser;
    const std::pair<IOAControl*, TAppProp*> bindings[] = {
        {&lblInitials, &n.Initials()},          {&txtInitials, &n.Initials()},
        {&lblPrefix, &n.Prefix()},              {&txtPrefix, &n.Prefix()},
        {&lblLastName, &n.LastName()},          {&txtLastName, &n.LastName()},
        {&lblCompany, &n.Organization()},       {&txtCompany, &n.Organization()},
        {&txtOldStreet, &o.Street()},           {&txtOldHouseNumber, &o.HouseNumber()},
        {&txtOldZipCode, &o.ZipCode()},         {&txtOldCity, &o.City()},
        {&cboOldCountry, &o.Country()},
        {&lblNewStreet, &n.Street()},           {&txtNewStreet, &n.Street()},
        {&lblNewHouseNumber, &n.HouseNumber()}, {&txtNewHouseNumber, &n.HouseNumber()},
        {&lblNewZipCode, &n.ZipCode()},         {&txtNewZipCode, &n.ZipCode()},
        {&lblNewCity, &n.City()},               {&txtNewCity, &n.City()},
        {&lblNewCountry, &n.Country()},         {&cboNewCountry, &n.Country()},
        {&lblNewEmail, &n.Email()},             {&txtNewEmail, &n.Email()},
        {&lblNewPhone, &n.Tel()},               {&txtNewPhone, &n.Tel()},
        {&lblNewFax, &n.Fax()},                 {&txtNewFax, &n.Fax()},
    };
    for (auto [control, prop] : bindings) control->OACInterface().SetAppProp(prop);
}

void TfrmAddressChange::FormHide(TControl*) { OAC_DisconnectControls(this); }

void TfrmAddressChange::FormDestroy(TControl*) {
    OAC_DisconnectControls(this);
    FOldUser.reset();
    FNewUser.reset();
}

bool TfrmAddressChange::CheckInput() {
    if (!OAC_ValidateControls(this, FNewUser.get())) return false;
    TUser& n = *FNewUser;
    const std::pair<TControl*, TAppProp*> required[] = {
        {&txtInitials, &n.Initials()}, {&txtLastName, &n.LastName()}, {&txtNewStreet, &n.Street()},
        {&txtNewHouseNumber, &n.HouseNumber()}, {&txtNewCity, &n.City()}, {&txtNewZipCode, &n.ZipCode()},
        {&cboNewCountry, &n.Country()},
    };
    for (auto [control, prop] : required)
        if (!CheckRequiredField(*control, *prop)) return false;
    // The old address goes onto the form and decides the subject: it must hold what was typed too.
    return OAC_ValidateControls(this, FOldUser.get());
}

bool TfrmAddressChange::SendAddressChange() {
    const std::string server = FNewUser->Mailserver().AsString();
    if (server.empty()) {
        ShowWarning("Er is geen mail-server ingesteld.");
        return false;
    }
    THourglass hourglass;
    TMailOutcome outcome;
    const bool sent = SendMail(FNewUser->Email().AsString(), {AddressChangeMailbox},
                               AddressChangeSubject(*FOldUser, *FNewUser), {}, MailServerOf(*FNewUser),
                               AddressChangeBody(*FNewUser), MailProviders(), &outcome);
    FSendFailure = MailFailureText(outcome, server);
    return sent;
}

void TfrmAddressChange::btnSendClick(TControl*) {
    SetModalResult(mrNone);
    if (!CheckInput()) return;
    if (!IsValidEmailAddress(FNewUser->Email().AsString())) {
        ShowWarning("Geen correct e-mailadres.");
        txtNewEmail.SetFocus();
        return;
    }
    FNewUser->SaveToRegistry();
    FSendFailure.clear();
    bool sent = SendAddressChange();
    if (sent) {
        // Blanks between the parts: the script has always read them as "+".
        TWebFormRequest request;
        request.Action = "wijzigen";
        request.Name = FNewUser->LastName().AsString() + " " + FNewUser->Prefix().AsString() + " " +
                       FNewUser->Initials().AsString();
        request.EmailNew = FNewUser->Email().AsString();
        request.EmailOld = FOldUser->Email().AsString();
        sent = PostWebForm(GetProgramFolder(), request, "Versturen adreswijziging");
    }
    ShowInformation(sent ? "De adreswijziging is verzonden."
                         : WithReason("Het verzenden van de adreswijziging is niet gelukt.", FSendFailure));
    SetModalResult(mrOk);
}

void TfrmAddressChange::btnPrintClick(TControl*) {
    SetModalResult(mrNone);
    if (!CheckInput()) return;
    FNewUser->SaveToRegistry();
    try {
        const std::vector<std::string> lines = ComposeAddressChangeForm(*FOldUser, *FNewUser);
        if (!dlgPrint.Execute()) return;
        THourglass hourglass;
        // A failed print has been reported; the window stays open for another try or the e-mail.
        if (PrintRtfLines(lines, dlgPrint.Copies)) SetModalResult(mrOk);
    } catch (const EBrantel&) {
        throw EBrantel("TfrmAddressChange", "PrintReport",
                       "Er is een fout opgetreden bij het afdrukken van de adreswijziging.");
    }
}
