#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "LoopbackPeer.h"
#include "RealMessageBoxes.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Internet/AddressChangeForm.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "Source/Common/TechInfo/TechInfo.h"
#include "WebFormTestSupport.h"
#include "core/StrConv.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Printer.h"

namespace {
const char* const Sent = "De adreswijziging is verzonden.";
const char* const NotSent = "Het verzenden van de adreswijziging is niet gelukt.";
const char* const NoServer = "Er is geen mail-server ingesteld.";

// An SMTP server that takes every command and keeps the whole conversation.
TLoopbackPeer::TScript AcceptingServer(std::string& received) {
    return [&received](TPeerConnection& c) {
        c.Send("220 welkom\r\n");
        for (std::string line = c.ReadLine(); !c.Closed(); line = c.ReadLine()) {
            if (line == "DATA") {
                c.Send("354 ga je gang\r\n");
                c.ReadUntil("\r\n.\r\n");
            } else if (line == "QUIT") {
                c.Send("221 tot ziens\r\n");
                break;
            }
            c.Send("250 ok\r\n");
        }
        received = c.Received();
    };
}

void FillOld(TUser& u) {
    u.Initials().SetAsString("P.");
    u.LastName().SetAsString("Jansen");
    u.Street().SetAsString("Dorpsstraat");
    u.HouseNumber().SetAsString("12 a");
    u.ZipCode().SetAsString("1234 AB");
    u.City().SetAsString("Utrecht");
    u.Country().SetAsString("Nederland");
    u.Email().SetAsString("p.jansen@voorbeeld.nl");
}

// The stored record and a copy to move house with, as the window holds them.
class AddressChangeRecords : public testing::Test {
protected:
    AddressChangeRecords() {
        FillOld(Old);
        FillOld(Moved);
    }
    TAppModel& Model = BranModel();
    TUser Old, Moved;
};

class AddressChange : public WebFormTest {
protected:
    ~AddressChange() override { SetPrintDialogHook({}); }
    TFormPtr<TfrmAddressChange> Open() {
        auto form = CreateForm<TfrmAddressChange>();
        form->Show();
        return form;
    }
    // Moving house: a new street, number, zip code and city, and a new e-mail address.
    static void Move(TfrmAddressChange& f) {
        for (auto [edit, text] : {std::pair<TControl*, const char*>{&f.txtNewStreet, "Kerkweg"},
                                  {&f.txtNewHouseNumber, "7"},
                                  {&f.txtNewZipCode, "3811 CD"},
                                  {&f.txtNewCity, "Amersfoort"},
                                  {&f.txtNewEmail, "piet@nieuw.nl"}}) {
            edit->SetFocus();
            edit->SetText(text);
        }
        f.txtNewPhone.SetFocus();
    }
};
}  // namespace

// The subject follows the customer-number rule; the body has the eleven fixed lines and the city.
TEST_F(AddressChangeRecords, SubjectAndBody) {
    TUser& old = Old;
    TUser& moved = Moved;
    moved.ZipCode().SetAsString("3811 CD");
    moved.HouseNumber().SetAsString("7");
    moved.City().SetAsString("Amersfoort");
    moved.Tel().SetAsString("033-1234567");
    EXPECT_EQ(AddressChangeSubject(old, moved), "1234AB12aJan Jansen");
    old.ZipCode().SetAsString("");
    EXPECT_EQ(AddressChangeSubject(old, moved), "3811CD7Jan Jansen");
    EXPECT_EQ(AddressChangeBody(moved),
              (std::vector<std::string>{"Jansen", "", "P.", "Dorpsstraat", "7", "3811 CD", "Nederland", "033-1234567",
                                        "", "p.jansen@voorbeeld.nl", "", "Amersfoort"}));
}

// The printed form: the maker's address, the old data (with the customer number when there is one)
// and the new customer block; typed braces stay text.
TEST_F(AddressChangeRecords, ComposesThePrintedForm) {
    TUser& old = Old;
    TUser& moved = Moved;
    moved.Street().SetAsString("Kerkweg {achter}");
    moved.Organization().SetAsString("De Hoek & Co");
    const std::vector<std::string> lines = ComposeAddressChangeForm(old, moved);
    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(lines[2], R"(\deflang1033\pard\plain\f3\fs32\cf0\b Adreswijziging\plain\f3\fs20\cf0 )");
    EXPECT_EQ(lines[5], R"(\par \plain\f3\fs24\cf0\b Brantel Software B.V.)");
    EXPECT_EQ(lines[8], R"(\par Fax: 033-4567890)");
    EXPECT_EQ(lines[10], R"(\par \pard\tx2272\plain\f3\fs32\cf0\b Klantennummer:\tab 1234AB12aJan\plain\f3\fs32\cf0 )");
    EXPECT_EQ(lines[14], R"(\par   Postcode\tab 1234 AB)");
    EXPECT_EQ(lines.back(), R"(\par })");
    EXPECT_NE(std::find(lines.begin(), lines.end(), R"(\par   Straat+Nr\tab Kerkweg \{achter\} 12 a)"), lines.end());
    old.HouseNumber().SetAsString("");
    EXPECT_EQ(ComposeAddressChangeForm(old, moved).size(), lines.size() - 1);  // no customer number line

    // For the independent RTF reader of tests/checks.
    char folder[MAX_PATH] = {};
    if (GetEnvironmentVariableA("BRAN_ARTIFACT_DIR", folder, MAX_PATH)) {
        WriteFileBytes(IncludeTrailingBackslash(folder) + "ADRESWIJZIGING.RTF", RtfFileBytes(lines));
    }
}

// Sending: the new record is stored first, the mail goes to the mailbox through the user's server,
// then the script hears of the new e-mail address; the name's parts are separated by blanks, sent
// as "+" as the script has always read them.
TEST_F(AddressChange, SendsTheMailAndThenTheWebForm) {
    std::string transcript;
    TLoopbackPeer smtp(AcceptingServer(transcript));
    StoreUser([&](TUser& u) {
        FillOld(u);
        u.Mailserver().SetAsString("127.0.0.1:" + std::to_string(smtp.Port()));
    });
    const std::string query = "?Action=wijzigen&Name=Jansen++P.&EmailOld=p.jansen%40voorbeeld.nl"
                              "&EmailNew=piet%40nieuw.nl&Id=BranService&Version=3.0&Language=NL";
    THttpTestPeer web({{ScriptPath + query, {200, ScriptAnswer("1")}}}, 1);
    UseWebServer(web);
    TMessageRecorder boxes;
    auto f = Open();
    EXPECT_EQ(f->txtOldStreet.Text(), "Dorpsstraat");
    EXPECT_EQ(f->txtNewStreet.Text(), "Dorpsstraat");
    EXPECT_EQ(f->lblNewCity.Caption(), "&Plaats");
    Move(*f);
    f->btnSend.Click();
    smtp.Join();
    web.Join();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{Sent});
    EXPECT_EQ(f->ModalResult(), mrOk);
    EXPECT_EQ(web.Requests(), std::vector<std::string>{ScriptPath + query});
    EXPECT_NE(transcript.find("RCPT TO:<adreswijziging@brantel.nl>"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("MAIL FROM:<piet@nieuw.nl>"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("\r\nSubject:  1234AB12aJan Jansen\r\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find("\r\n\r\nJansen\r\n\r\nP.\r\nKerkweg\r\n7\r\n3811 CD\r\nNederland\r\n\r\n\r\n"
                              "piet@nieuw.nl\r\n\r\nAmersfoort\r\n"),
              std::string::npos)
        << transcript;
    EXPECT_EQ(Stored("Street"), "Kerkweg");
    EXPECT_EQ(Stored("City"), "Amersfoort");
}

// Without a mail server nothing is sent and the script hears nothing; the new address is stored
// all the same. A mail the server refuses is no success either.
TEST_F(AddressChange, NoMailServerOrARefusalIsReported) {
    StoreUser([](TUser& u) {
        FillOld(u);
        u.Mailserver().ClearToEmpty();
    });
    SetMakerWebHost("127.0.0.1:1");
    {
        TMessageRecorder boxes;
        auto f = Open();
        Move(*f);
        f->btnSend.Click();
        EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{NoServer, NotSent}));
        EXPECT_EQ(f->ModalResult(), mrOk);
        EXPECT_EQ(Stored("Street"), "Kerkweg");
    }
    // A server that is not there: the mail fails, so no web form request either.
    StoreUser([](TUser& u) {
        FillOld(u);
        u.Mailserver().SetAsString("127.0.0.1:1");
    });
    TMessageRecorder boxes;
    auto f = Open();
    Move(*f);
    f->btnSend.Click();
    // It says why.
    const std::string reason = "Er kon geen verbinding worden gemaakt met de mail-server 127.0.0.1.";
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{NotSent + std::string("\r\r") + reason});
}

// The input check names the first missing field and keeps the window open on it; an invalid e-mail
// address stops sending but not printing.
TEST_F(AddressChange, ChecksTheInputInOrder) {
    StoreUser(FillOld);
    SetMakerWebHost("127.0.0.1:1");
    struct TCase {
        const char* Name;
        TControl* (*Field)(TfrmAddressChange&);
        const char* Text;
        const char* Warning;
    } cases[] = {
        {"initials", [](TfrmAddressChange& f) -> TControl* { return &f.txtInitials; }, "",
         "Het veld Voorletters moet ingevuld worden."},
        {"city", [](TfrmAddressChange& f) -> TControl* { return &f.txtNewCity; }, "",
         "Het veld Plaats moet ingevuld worden."},
        {"zip code", [](TfrmAddressChange& f) -> TControl* { return &f.txtNewZipCode; }, "",
         "Het veld Postcode moet ingevuld worden."},
        {"e-mail", [](TfrmAddressChange& f) -> TControl* { return &f.txtNewEmail; }, "piet@nieuw",
         "Geen correct e-mailadres."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TMessageRecorder boxes;
        auto f = Open();
        Move(*f);
        TControl* field = c.Field(*f);
        field->SetFocus();
        field->SetText(c.Text);
        f->btnSend.Click();
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{c.Warning});
        EXPECT_EQ(f->ModalResult(), mrNone);
        EXPECT_TRUE(field->Focused());
    }
    EXPECT_EQ(Stored("Street"), "Dorpsstraat");
}

// Printing asks the print dialog first: cancelled, the window stays and nothing is printed; a print
// that fails is reported and the window stays too. The new record is stored either way.
TEST_F(AddressChange, PrintsThroughThePrintDialog) {
    StoreUser(FillOld);
    bool confirm = false;
    int asked = 0;
    SetPrintDialogHook([&](TPrintDialogRequest& request) {
        ++asked;
        EXPECT_FALSE(request.Setup);
        request.Copies = 2;
        return confirm;
    });
    TMessageRecorder boxes;
    auto f = Open();
    Move(*f);
    f->txtNewEmail.SetText("");  // no address: printing is still possible
    f->btnPrint.Click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(boxes.Texts().empty());
    EXPECT_EQ(f->ModalResult(), mrNone);
    EXPECT_EQ(Stored("ZipCode"), "3811 CD");

    confirm = true;
    SetCurrentPrinterName("Verdwenen printer");
    f->btnPrint.Click();
    SetCurrentPrinterName({});
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Er is een fout opgetreden bij het afdrukken."});
    EXPECT_EQ(f->ModalResult(), mrNone);
}

// Opened from its service, with a real warning box closed from a second thread.
TEST_F(AddressChange, OpensFromItsServiceAndShowsARealWarning) {
    StoreUser([](TUser& u) { u.LastName().SetAsString("Jansen"); });
    RegisterServiceForms();
    TRealMessageBoxes real;
    bool seen = false;
    {
        TModalScript hook([&](TForm& form) {
            auto* f = dynamic_cast<TfrmAddressChange*>(&form);
            ASSERT_NE(f, nullptr);
            seen = true;
            EXPECT_EQ(f->Caption(), "Adreswijziging");
            EXPECT_EQ(f->HelpContext, 1009);
            f->btnSend.Click();
            EXPECT_EQ(f->ModalResult(), mrNone);
            f->btnCancel.Click();
        });
        EXPECT_TRUE(TAddressChangeService().Provide(nullptr));
    }
    EXPECT_TRUE(seen);
    EXPECT_EQ(real.Texts(), std::vector<std::string>{"Het veld Voorletters moet ingevuld worden."});
}
