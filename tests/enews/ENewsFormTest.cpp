#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "RealMessageBoxes.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Internet/ENewsForm.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "WebFormTestSupport.h"

namespace {
const char* const Done = "Uw opdracht is verwerkt.";
const char* const NotDone = "Het verzenden van uw opdacht is niet gelukt.";

class ENewsForm : public WebFormTest {
protected:
    ENewsForm() {
        StoreUser([](TUser& u) {
            u.LastName().SetAsString("Jansen");
            u.Email().SetAsString("jansen@voorbeeld.nl");
        });
    }
    // The window as the service opens it, shown without a modal loop so that its download window
    // runs a real one.
    TFormPtr<TfrmENews> Open() {
        auto form = CreateForm<TfrmENews>();
        form->Show();
        return form;
    }
    static void StoreInterests(const std::vector<std::pair<const char*, const char*>>& values) {
        TRegKey key;
        key.Open(HKEY_LOCAL_MACHINE, UserRegistrationKey, true);
        for (auto [name, value] : values) key.WriteString(name, value);
    }
    static std::vector<bool> Ticked(TfrmENews& f) {
        std::vector<bool> ticked;
        for (const auto& interest : f.Interests()) ticked.push_back(interest.Box->Checked());
        return ticked;
    }
};
}  // namespace

// The check boxes follow the stored choices ("True" in any case, anything else unticked).
TEST_F(ENewsForm, ShowsTheStoredInterests) {
    StoreInterests({{"BusinessSoftware", "true"}, {"PersonalSoftware", "False"}, {"HobbySoftware", "TRUE"},
                    {"GamesSoftware", "ja"}});
    auto f = Open();
    EXPECT_EQ(Ticked(*f), (std::vector<bool>{true, false, true, false, false, false}));
    EXPECT_EQ(f->Caption(), "Brantel E-Nieuws");
    EXPECT_EQ(f->optSubscript.Caption(), "Brantel E-Nieuws abonnement aanvragen");
    EXPECT_TRUE(f->optSubscript.Checked());
    EXPECT_EQ(f->txtLastName.Text(), "Jansen");
    EXPECT_EQ(f->lblEmail.Caption(), "&E-mail");
    EXPECT_EQ(f->HelpContext, 1010);
    f->optUnsubscript.SetChecked(true);
    f->optUnsubscript.Click();
    EXPECT_EQ(f->HelpContext, 1011);
    f->optSubscript.Click();
    EXPECT_EQ(f->HelpContext, 1010);

    // Choices never stored (the personal data may well be): every subject is offered.
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Brantel\\Shared\\Registration");
    StoreUser([](TUser& u) { u.LastName().SetAsString("Jansen"); });
    auto fresh = Open();
    EXPECT_EQ(Ticked(*fresh), std::vector<bool>(6, true));
    EXPECT_EQ(fresh->txtEmail.Text(), "");
}

// Subscribing: the typed name and address go out with the registry's old address and the ticked
// subjects; the choices are stored as "True"/"False", the personal data only when the script agreed.
TEST_F(ENewsForm, SubscribesAndStoresOnlyWhatTheScriptAccepted) {
    const std::string query =
        "?Action=abonneren&Name=Jansen+%26+Zn&EmailOld=jansen%40voorbeeld.nl&EmailNew=info%40jansen.nl"
        "&PersonalSoftware=1&CourseSoftware=1&Id=BranService&Version=3.0&Language=NL";
    for (const auto& [answer, message, storedName] :
         std::vector<std::tuple<std::string, std::string, std::string>>{{"0", NotDone, "Jansen"},
                                                                        {"1", Done, "Jansen & Zn"}}) {
        SCOPED_TRACE(answer);
        THttpTestPeer peer({{ScriptPath + query, {200, ScriptAnswer(answer)}}}, 1);
        UseWebServer(peer);
        TMessageRecorder boxes;
        auto f = Open();
        f->txtLastName.SetFocus();
        f->txtLastName.SetText("Jansen & Zn");
        f->txtEmail.SetFocus();
        f->txtEmail.SetText("info@jansen.nl");
        for (const auto& interest : f->Interests())
            interest.Box->SetChecked(std::string(interest.Name) == "PersonalSoftware" ||
                                     std::string(interest.Name) == "CourseSoftware");
        f->btnSend.Click();
        peer.Join();
        EXPECT_EQ(peer.Requests(), std::vector<std::string>{ScriptPath + query});
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{message});
        EXPECT_EQ(f->ModalResult(), mrOk);
        EXPECT_EQ(Stored("LastName"), storedName);
        EXPECT_EQ(Stored("PersonalSoftware"), "True");
        EXPECT_EQ(Stored("BusinessSoftware"), "False");
        EXPECT_FALSE(FileExists(ResultFile()));
    }
}

// Cancelling with nothing ticked sends no subject keys.
TEST_F(ENewsForm, CancelsWithoutSubjects) {
    const std::string query = "?Action=annuleren&Name=Jansen&EmailOld=jansen%40voorbeeld.nl"
                              "&EmailNew=jansen%40voorbeeld.nl&Id=BranService&Version=3.0&Language=NL";
    THttpTestPeer peer({{ScriptPath + query, {200, ScriptAnswer("1")}}}, 1);
    UseWebServer(peer);
    TMessageRecorder boxes;
    auto f = Open();
    f->optUnsubscript.SetChecked(true);
    for (const auto& interest : f->Interests()) interest.Box->SetChecked(false);
    f->btnSend.Click();
    peer.Join();
    EXPECT_EQ(peer.Requests(), std::vector<std::string>{ScriptPath + query});
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{Done});
    EXPECT_EQ(Stored("KidsSoftware"), "False");
}

// Faulty input keeps the window open on the faulty field and sends nothing.
TEST_F(ENewsForm, RefusesFaultyInput) {
    struct TCase {
        const char* Name;
        std::string LastName, Email;
        bool AnySubject;
        const char* Warning;
    } cases[] = {
        {"no name", "", "a@b.nl", true, "Het veld 'Achternaam' is leeg.\r\nGeef het veld 'Achternaam' een waarde."},
        {"no e-mail", "Jansen", "", true, "Geen correct e-mailadres."},
        {"dot after @", "Jansen", "a@.nl", true, "Geen correct e-mailadres."},
        {"no subject", "Jansen", "a@b.nl", false, "Geef minimaal één onderwerp aan, waarin u geïnteresseerd bent."},
    };
    SetMakerWebHost("127.0.0.1:1");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMessageRecorder boxes;
        auto f = Open();
        f->txtLastName.SetText(c.LastName);
        f->txtEmail.SetText(c.Email);
        if (!c.AnySubject)
            for (const auto& interest : f->Interests()) interest.Box->SetChecked(false);
        f->btnSend.Click();
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{c.Warning});
        EXPECT_EQ(f->ModalResult(), mrNone);
    }
    // Neither option chosen is a programming error, not a user message.
    auto f = Open();
    f->optSubscript.SetChecked(false);
    EXPECT_THROW(f->btnSend.Click(), EBrantel);
    EXPECT_EQ(f->ModalResult(), mrNone);
}

// Opened from its service with a real warning box, closed from a second thread: the window stays.
TEST_F(ENewsForm, OpensFromItsServiceAndShowsARealWarning) {
    RegisterServiceForms();
    TRealMessageBoxes real;
    bool seen = false;
    {
        TModalScript hook([&](TForm& form) {
            auto* f = dynamic_cast<TfrmENews*>(&form);
            ASSERT_NE(f, nullptr);
            seen = true;
            f->txtEmail.SetText("geen adres");
            f->btnSend.Click();
            EXPECT_EQ(f->ModalResult(), mrNone);
            EXPECT_TRUE(f->Visible());
            f->btnCancel.Click();
        });
        EXPECT_TRUE(TENewsService().Provide(nullptr));
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(real.Texts(), std::vector<std::string>{"Geen correct e-mailadres."});
    EXPECT_EQ(Stored("BusinessSoftware"), "(none)");
}
