#include "Source/Common/Internet/ENewsForm.h"

#include <algorithm>

#include "Source/Common/Helpdesk/ProblemSolver.h"
#include "Source/Common/Internet/WebForm.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "mail/SendMail.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/gui/Application.h"
#include "platform/gui/Messages.h"

namespace {
const char* const NewsletterName = "Brantel E-Nieuws";
constexpr int SubscribeHelp = 1010, UnsubscribeHelp = 1011;

void Wrapped(TLabel& label, int left, int top, int width, int height, const std::string& text) {
    label.SetWordWrap(true);
    label.SetCaption(text);
    label.SetBounds(left, top, width, height);
}
}  // namespace

TfrmENews::TfrmENews() {
    SetCaption(NewsletterName);
    SetBorderStyle(TBorderStyle::bsDialog);
    Position = TPosition::poScreenCenter;
    SetClientSize(452, 372);
    HelpContext = SubscribeHelp;

    optSubscript.SetCaption(std::string(NewsletterName) + " abonnement aanvragen");
    optSubscript.SetFontWith([](TFont& f) { f.Bold = true; });
    optSubscript.SetBounds(12, 10, 428, 20);
    Wrapped(lblSubscript, 30, 32, 410, 44,
            "Ik wil door Brantel E-Nieuws maandelijks op de hoogte worden gehouden van Brantel software producten "
            "en aanbiedingen. Voeg onderstaande gegevens daarom aan de Brantel E-Nieuws mailinglijst toe.");
    optUnsubscript.SetCaption(std::string(NewsletterName) + " abonnement opzeggen");
    optUnsubscript.SetFontWith([](TFont& f) { f.Bold = true; });
    optUnsubscript.SetBounds(12, 82, 428, 20);
    Wrapped(lblUnsubscript, 30, 104, 410, 30,
            "Ik wil Brantel E-Nieuws niet meer ontvangen. Verwijder daarom mijn naam en e-mail adres van de Brantel "
            "E-Nieuws mailinglijst.");
    optSubscript.SetChecked(true);

    lblLastName.SetBounds(12, 149, 80, 16);
    lblLastName.FocusControl = &txtLastName;
    txtLastName.SetBounds(96, 146, 344, 21);
    lblEmail.ShowCaption = true;
    lblEmail.SetBounds(12, 176, 80, 16);
    lblEmail.FocusControl = &txtEmail;
    txtEmail.SetBounds(96, 173, 344, 21);

    lblInterests.SetBounds(12, 210, 428, 16);
    int row = 0;
    for (const TInterest& interest : Interests()) {
        interest.Box->SetBounds(row % 2 == 0 ? 30 : 240, 232 + (row / 2) * 24, 200, 20);
        interest.Box->SetChecked(true);  // until the registry says otherwise
        ++row;
    }

    btnSend.ModalResult = mrOk;
    btnSend.SetBounds(164, 334, 88, 26);
    btnCancel.SetKind(TBitBtnKind::bkCancel);
    btnCancel.SetBounds(258, 334, 88, 26);
    btnHelp.SetKind(TBitBtnKind::bkHelp);
    btnHelp.SetBounds(352, 334, 88, 26);
    SetDefaultButton(&btnSend);

    OnCreate = [this](TControl* s) { FormCreate(s); };
    OnShow = [this](TControl* s) { FormShow(s); };
    OnHide = [this](TControl* s) { FormHide(s); };
    OnDestroy = [this](TControl* s) { FormDestroy(s); };
    optSubscript.OnClick = [this](TControl* s) { optSubscriptClick(s); };
    optUnsubscript.OnClick = [this](TControl* s) { optUnsubscriptClick(s); };
    btnSend.OnClick = [this](TControl* s) { btnSendClick(s); };
    btnHelp.OnClick = [this](TControl*) { Application().HelpContext(HelpContext); };
}

TfrmENews::~TfrmENews() { OAC_DisconnectControls(this); }

std::vector<TfrmENews::TInterest> TfrmENews::Interests() {
    return {{"BusinessSoftware", &chkBusiness}, {"PersonalSoftware", &chkPersonal}, {"HobbySoftware", &chkHobby},
            {"CourseSoftware", &chkCursus},     {"GamesSoftware", &chkGames},       {"KidsSoftware", &chkKids}};
}

void TfrmENews::FormCreate(TControl*) {
    FUser = std::make_unique<TUser>();
    FUser->LoadFromRegistry();
    if (FUser->Email().IsNull()) FUser->Email().SetAsString("");
}

void TfrmENews::FormShow(TControl*) {
    HelpContext = SubscribeHelp;
    FOldEmail = FUser->Email().AsString();
    txtLastName.SetAppProp(&FUser->LastName());
    lblEmail.SetAppProp(&FUser->Email());
    txtEmail.SetAppProp(&FUser->Email());
    LoadInterests();
}

void TfrmENews::FormHide(TControl*) { OAC_DisconnectControls(this); }

void TfrmENews::FormDestroy(TControl*) {
    OAC_DisconnectControls(this);
    FUser.reset();
}

void TfrmENews::optSubscriptClick(TControl*) { HelpContext = SubscribeHelp; }
void TfrmENews::optUnsubscriptClick(TControl*) { HelpContext = UnsubscribeHelp; }

// Until the choices were stored once, every subject is offered. Loading the personal data has
// already created the key, so it is the values that tell whether they were.
void TfrmENews::LoadInterests() {
    TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, UserRegistrationKey);
    if (!key.IsOpen()) return;
    const std::vector<TInterest> interests = Interests();
    if (std::none_of(interests.begin(), interests.end(), [&](const TInterest& i) { return key.ValueExists(i.Name); }))
        return;
    for (const TInterest& interest : interests) {
        const bool ticked = key.GetDataType(interest.Name) == TRegDataType::String &&
                            SameText(key.ReadString(interest.Name), "True");
        interest.Box->SetChecked(ticked);
    }
}

void TfrmENews::StoreInterests() {
    TRegKey key;
    if (!key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true)) return;
    for (const TInterest& interest : Interests()) key.WriteString(interest.Name, interest.Box->Checked() ? "True" : "False");
}

bool TfrmENews::ValidateControls() {
    if (!OAC_ValidateControls(this, FUser.get())) return false;
    if (!CheckRequiredField(txtLastName, FUser->LastName())) return false;
    if (!IsValidEmailAddress(txtEmail.Text())) {
        ShowWarning("Geen correct e-mailadres.");
        txtEmail.SetFocus();
        return false;
    }
    if (optSubscript.Checked()) {
        bool any = false;
        for (const TInterest& interest : Interests()) any = any || interest.Box->Checked();
        if (!any) {
            ShowWarning("Geef minimaal één onderwerp aan, waarin u geïnteresseerd bent.");
            chkBusiness.SetFocus();
            return false;
        }
    } else if (!optUnsubscript.Checked()) {
        throw EBrantel("TfrmENews", "ValidateControls", "One of the option buttons must be checked.");
    }
    return true;
}

void TfrmENews::btnSendClick(TControl*) {
    SetModalResult(mrNone);  // open until the request went out
    if (!ValidateControls()) return;
    TWebFormRequest request;
    request.Action = optSubscript.Checked() ? "abonneren" : "annuleren";
    request.Name = FUser->LastName().AsString();
    for (const TInterest& interest : Interests())
        if (interest.Box->Checked()) request.Categories.push_back(interest.Name);
    request.EmailNew = FUser->Email().AsString();
    request.EmailOld = FOldEmail;
    StoreInterests();
    if (PostWebForm(GetProgramFolder(), request)) {
        FUser->SaveToRegistry();
        ShowInformation("Uw opdracht is verwerkt.");
    } else {
        ShowInformation("Het verzenden van uw opdacht is niet gelukt.");
    }
    SetModalResult(mrOk);
}
