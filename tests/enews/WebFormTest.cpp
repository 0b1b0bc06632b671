#include <gtest/gtest.h>

#include "Source/Common/Internet/WebForm.h"
#include "WebFormTestSupport.h"

// What the script has always received is kept (the Windows-1252 bytes, blanks as "+"); what could
// end a value or add a field is now escaped.
TEST(EncodeFormValue, EncodesEveryByteAFormWould) {
    const std::pair<const char*, const char*> cases[] = {
        {"Jansen", "Jansen"},
        {"van der Berg", "van+der+Berg"},
        {"Smit & Zn", "Smit+%26+Zn"},
        {"a=b", "a%3Db"},
        {"#1 50% +3", "%231+50%25+%2B3"},
        {"René Müller", "Ren%E9+M%FCller"},
        {"jan@voorbeeld.nl", "jan%40voorbeeld.nl"},
        {"a-b_c.d*e", "a-b_c.d*e"},
        {"?/~'", "%3F%2F%7E%27"},
        {"€", "%80"},
        {"", ""},
    };
    for (auto [text, encoded] : cases) EXPECT_EQ(EncodeFormValue(text), encoded) << text;
}

namespace {
struct TRequestCase {
    const char* Name;
    TWebFormRequest Request;
    const char* Query;
    const char* Succeeded;  // what the script answers: "geslaagd=" this, or no such key when empty
    bool Expected;
};
}  // namespace

// The exact request of each action, keys in the script's order, and the script's answer read back.
TEST_F(WebFormTest, SendsEachActionAndReadsTheAnswer) {
    const TRequestCase requests[] = {
        {"subscribe with two subjects",
         {"abonneren", "Van Dijk", {"BusinessSoftware", "KidsSoftware"}, "nieuw@voorbeeld.nl", "oud@voorbeeld.nl"},
         "?Action=abonneren&Name=Van+Dijk&EmailOld=oud%40voorbeeld.nl&EmailNew=nieuw%40voorbeeld.nl"
         "&BusinessSoftware=1&KidsSoftware=1&Id=BranService&Version=3.0&Language=NL",
         "1", true},
        {"cancel without subjects",
         {"annuleren", "Smit & Zn", {}, "a@b.nl", "a@b.nl"},
         "?Action=annuleren&Name=Smit+%26+Zn&EmailOld=a%40b.nl&EmailNew=a%40b.nl&Id=BranService&Version=3.0"
         "&Language=NL",
         "0", false},
        {"change with an accented name",
         {"wijzigen", "Lefèvre  J.", {}, "j@x.nl", ""},
         "?Action=wijzigen&Name=Lef%E8vre++J.&EmailOld=&EmailNew=j%40x.nl&Id=BranService&Version=3.0&Language=NL",
         "", false},
    };
    for (const TRequestCase& r : requests) {
        SCOPED_TRACE(r.Name);
        THttpTestPeer peer({{ScriptPath + r.Query, {200, ScriptAnswer(r.Succeeded)}}}, 1);
        UseWebServer(peer);
        EXPECT_EQ(PostWebForm(GetProgramFolder(), r.Request), r.Expected);
        peer.Join();
        EXPECT_EQ(peer.Requests(), std::vector<std::string>{ScriptPath + r.Query});
        EXPECT_FALSE(FileExists(ResultFile()));
    }
}

// Neither an answer left from an earlier request nor an error page passes for a new answer.
TEST_F(WebFormTest, OnlyTheNewAnswerCounts) {
    const TWebFormRequest request{"abonneren", "Jansen", {"GamesSoftware"}, "j@x.nl", "j@x.nl"};
    const std::string query =
        "?Action=abonneren&Name=Jansen&EmailOld=j%40x.nl&EmailNew=j%40x.nl&GamesSoftware=1&Id=BranService"
        "&Version=3.0&Language=NL";
    struct TCase {
        const char* Name;
        THttpAnswer Answer;
    } cases[] = {
        {"the script says no", {200, ScriptAnswer("0")}},
        {"an error page", {500, ScriptAnswer("1")}},
        {"an empty answer", {200, ""}},
        {"a different section", {200, "[nieuws]\r\ngeslaagd=1\r\n"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Folder.WriteFile("Script.ini", ScriptAnswer("1"));
        THttpTestPeer peer({{ScriptPath + query, c.Answer}}, 1);
        UseWebServer(peer);
        EXPECT_FALSE(PostWebForm(GetProgramFolder(), request));
        peer.Join();
        EXPECT_EQ(peer.Requests().size(), 1u);
    }
    // Nobody listening: false, quickly, and no answer file.
    SetMakerWebHost("127.0.0.1:1");
    EXPECT_FALSE(PostWebForm(GetProgramFolder(), request));
    EXPECT_FALSE(FileExists(ResultFile()));
}

// The answer counts only with a non-zero "geslaagd" in its section; read or not, it is gone afterwards.
TEST_F(WebFormTest, ReadFormResultDeletesTheAnswer) {
    const std::pair<const char*, bool> cases[] = {
        {"[e-nieuws]\r\ngeslaagd=1\r\n", true},  {"[E-Nieuws]\r\nGeslaagd=2\r\n", true},
        {"[e-nieuws]\r\ngeslaagd=0\r\n", false}, {"[e-nieuws]\r\ngeslaagd=ja\r\n", false},
        {"[e-nieuws]\r\n", false},               {"", false},
    };
    for (auto [text, expected] : cases) {
        SCOPED_TRACE(text);
        const std::string file = Folder.WriteFile("Script.ini", text);
        EXPECT_EQ(ReadFormResult(file), expected);
        EXPECT_FALSE(FileExists(file));
    }
    EXPECT_FALSE(ReadFormResult(Folder / "nergens.ini"));
}
