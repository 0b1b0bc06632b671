#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <iterator>

#include "TestSupport.h"
#include "mail/MailErrors.h"
#include "mail/MessageEncoder.h"
#include "platform/Files.h"

namespace {
std::string Encode(const TmsMessage& m) {
    TStringSink sink;
    TmsMessageEncoder(sink).Encode(m);
    return sink.Text();
}

std::unique_ptr<TmsAttItem> Att(const std::string& name, const std::string& data, const std::string& type) {
    return std::make_unique<TmsAttItem>("C:\\Reports\\" + name, data, type);
}

std::string Binary(size_t size) {
    std::string s;
    for (size_t i = 0; i < size; ++i) s += static_cast<char>((i * 7 + i / 256) & 0xff);
    return s;
}

bool HasLine(const std::string& text, const std::string& line) {
    return ("\r\n" + text).find("\r\n" + line + "\r\n") != std::string::npos;
}
}  // namespace

TEST(MessageEncoder, AddressChangeIsPlainText) {
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("adres@brantel.nl");
    m.Recipients.Add("kopie@brantel.nl", "Kopie B.V.");
    m.CC.Add("cc@example.nl", "Piet");
    m.BCC.Add("verborgen@example.nl");
    m.SetSubject("12345 Jansen");
    m.Date = "Wed, 09 Dec 2026 14:05:09 +0100";
    m.MessageId = "<1.2@example.nl>";
    m.Body = {"Naam: Jansen", ".", ".punt", ""};
    EXPECT_EQ(Encode(m),
              "From:      <jan@example.nl>\r\n"
              "To:        <adres@brantel.nl>,\r\n"
              "          \"Kopie B.V.\" <kopie@brantel.nl>\r\n"
              "CC:       Piet <cc@example.nl>\r\n"
              "Subject:  12345 Jansen\r\n"
              "Date: Wed, 09 Dec 2026 14:05:09 +0100\r\n"
              "Message-ID: <1.2@example.nl>\r\n"
              "Mime-Version: 1.0\r\n"
              "Content-Type: text/plain; charset=\"us-ascii\"\r\n"
              "Content-Transfer-Encoding: 7bit\r\n"
              "\r\n"
              "Naam: Jansen\r\n.\r\n.punt\r\n\r\n");
}

TEST(MessageEncoder, HeaderOptionsAndExtraHeaders) {
    TmsMessage m;
    m.Sender = TmsMailAddress("jan@example.nl", "Jan");
    m.Recipients.Add("a@b.nl");
    m.ReturnReceipt = true;
    m.Priority = ptHigh;
    m.Headers = {"Subject: overruled", " continued", "X-Mailer: eigen", "To: x@y.nl", "to: second@y.nl",
                 "Date: gisteren", "Message-ID: <dubbel@y.nl>"};
    m.Date = "Fri, 01 Jan 2027 00:00:00 -0530";
    m.MessageId = "<3.4@example.nl>";
    std::string text = Encode(m);
    EXPECT_EQ(text.substr(0, text.find("Content-Type")),
              "From:     Jan <jan@example.nl>\r\n"
              "To:        <a@b.nl>\r\n"
              "Return-Receipt-To: <jan@example.nl>\r\n"
              "X-Priority: 1\r\n"
              "X-Mailer: eigen\r\n"
              "to: second@y.nl\r\n"
              "Date: Fri, 01 Jan 2027 00:00:00 -0530\r\n"
              "Message-ID: <3.4@example.nl>\r\n"
              "Mime-Version: 1.0\r\n");
    m.Priority = ptLow;
    EXPECT_TRUE(HasLine(Encode(m), "X-Priority: 5"));
}

// Every message says when it was written and carries a name of its own in the sender's domain; the
// date is in the format's own words, with the distance from UTC.
TEST(MessageEncoder, DateAndMessageId) {
    const std::pair<SYSTEMTIME, int> dates[] = {
        {{2026, 12, 0, 9, 14, 5, 9, 0}, 60}, {{2027, 1, 0, 1, 0, 0, 0, 0}, -330}, {{2026, 7, 0, 31, 23, 59, 59, 0}, 0}};
    const char* const texts[] = {"Wed, 09 Dec 2026 14:05:09 +0100", "Fri, 01 Jan 2027 00:00:00 -0530",
                                 "Fri, 31 Jul 2026 23:59:59 +0000"};
    for (size_t i = 0; i < std::size(dates); ++i)
        EXPECT_EQ(TmsMessageEncoder::DateText(dates[i].first, dates[i].second), texts[i]);

    const std::pair<const char*, const char*> senders[] = {
        {"jan@example.nl", "@example.nl>"}, {"jan@", "@localhost>"}, {"zonder-domein", "@localhost>"}};
    for (const auto& [sender, end] : senders) {
        std::string id = TmsMessageEncoder::NewMessageId(sender);
        EXPECT_EQ(id.front(), '<') << id;
        EXPECT_EQ(id.substr(id.size() - strlen(end)), end) << id;
        EXPECT_EQ(id.find_first_of(" \r\n\"", 1), std::string::npos) << id;
    }
    EXPECT_NE(TmsMessageEncoder::NewMessageId("a@b.nl"), TmsMessageEncoder::NewMessageId("a@b.nl"));

    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    TmsMessageEncoder::Stamp(m);
    const std::string date = m.Date, id = m.MessageId;
    EXPECT_EQ(date.size(), std::string(texts[0]).size());
    TmsMessageEncoder::Stamp(m);
    EXPECT_EQ(m.Date + m.MessageId, date + id) << "stamped once";
}

TEST(MessageEncoder, LineBreaksInHeaderTextCannotAddHeaders) {
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl\r\nBcc: spion@example.nl");
    m.Recipients.Add("a@b.nl\nX-Injected: 1", "Naam\r\nX-Injected: 2");
    m.SetSubject("Hallo\r\nBcc: spion@example.nl\r\n\r\nandere tekst");
    std::string text = Encode(m);
    std::string headers = text.substr(0, text.find("\r\n\r\n"));
    EXPECT_EQ(headers.find("\r\nBcc:"), std::string::npos) << headers;
    EXPECT_EQ(headers.find("\nX-Injected"), std::string::npos) << headers;
    EXPECT_TRUE(HasLine(text, "Subject:  Hallo  Bcc: spion@example.nl    andere tekst")) << text;
}

TEST(MessageEncoder, LongOrAccentedBodyGoesQuotedPrintable) {
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("a@b.nl");
    m.Body = {std::string(300, 'a')};
    std::string text = Encode(m);
    EXPECT_TRUE(HasLine(text, "Content-Transfer-Encoding: quoted-printable"));
    EXPECT_TRUE(HasLine(text, std::string(65, 'a') + "=")) << text;
    EXPECT_TRUE(HasLine(text, std::string(40, 'a'))) << text;

    // The body's bytes are Windows-1252 ("€" is 0x80, a control character in ISO 8859-1).
    m.Body = {"Straat: Één 1", "Prijs: € 5"};
    m.SetSubject("123 Müller");
    text = Encode(m);
    EXPECT_TRUE(HasLine(text, "Content-Type: text/plain; charset=\"windows-1252\"")) << text;
    EXPECT_TRUE(HasLine(text, "Straat: =C9=E9n 1")) << text;
    EXPECT_TRUE(HasLine(text, "Prijs: =80 5")) << text;
    EXPECT_TRUE(HasLine(text, "Subject:  =?windows-1252?Q?123_M=FCller?=")) << text;
}

TEST(MessageEncoder, ReportZipIsTheWholeMessage) {
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("helpdesk@brantel.nl");
    m.SetSubject("12345");
    m.Attachments.Add(Att("CASE.ZIP", Binary(58), "application/x-zip-compressed"));
    std::string text = Encode(m);
    std::string afterSubject = text.substr(text.find("Mime-Version"));
    EXPECT_EQ(afterSubject.substr(0, afterSubject.find("\r\n\r\n") + 4),
              "Mime-Version: 1.0\r\n"
              "Content-Type: application/x-zip-compressed; name=\"CASE.ZIP\"\r\n"
              "Content-Transfer-Encoding: Base64\r\n"
              "Content-Disposition: attachment; filename=\"CASE.ZIP\"\r\n\r\n");
    std::string data = afterSubject.substr(afterSubject.find("\r\n\r\n") + 4);
    ASSERT_EQ(data.size(), 76u + 2 + 4 + 2);
    EXPECT_EQ(data.substr(76, 8).substr(4), "==\r\n");
}

TEST(MessageEncoder, BodyWithAttachmentsIsMultipartMixed) {
    TmsMessage m;
    m.Sender.SetAddress("jan@example.nl");
    m.Recipients.Add("a@b.nl");
    m.Body = {"Zie bijlagen."};
    m.Attachments.Add(Att("CASE.ZIP", Binary(100), "application/zip"));
    m.Attachments.Add(Att("log.txt", "regel 1\r\nregel 2\r\n", "text/plain"));
    std::string text = Encode(m);
    size_t at = text.find("boundary=\"");
    ASSERT_NE(at, std::string::npos);
    std::string boundary = text.substr(at + 10, 8);
    EXPECT_EQ(boundary.find_first_not_of("012345678"), std::string::npos) << boundary;
    EXPECT_TRUE(HasLine(text, "Content-Type: multipart/mixed; boundary=\"" + boundary + "\""));
    EXPECT_NE(text.find("X-Encoding: MIME\r\n\r\nThis is a multipart message in MIME format\r\n\r\n--" + boundary +
                        "\r\nContent-Type: text/plain; charset=\"us-ascii\"\r\n"
                        "Content-Transfer-Encoding: 7bit\r\n\r\nZie bijlagen.\r\n\r\n--" + boundary +
                        "\r\nContent-Type: application/zip; name=\"CASE.ZIP\"\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("\r\n\r\n--" + boundary + "\r\nContent-Type: text/plain; name=\"log.txt\"\r\n"
                        "Content-Transfer-Encoding: Quoted-Printable\r\n"
                        "Content-Disposition: attachment; filename=\"log.txt\"\r\n\r\nregel 1\r\nregel 2\r\n\r\n--" +
                        boundary + "--\r\n"),
              std::string::npos)
        << text;
}

TEST(MessageEncoder, MessageTypeFollowsBodyAndAttachments) {
    struct Case {
        bool body;
        std::vector<std::string> files;
        std::string type;
    };
    const Case cases[] = {
        {true, {}, "text/plain"},
        {false, {}, "text/plain"},
        {true, {"a.zip"}, "multipart/mixed"},
        {false, {"a.zip"}, "application/zip"},
        {false, {"a.zip", "b.zip"}, "multipart/mixed"},
        {true, {"_alt.a.htm", "_ALT.b.txt"}, "multipart/alternative"},
        {true, {"_alt.a.htm", "b.zip"}, "multipart/mixed"},
    };
    for (const Case& c : cases) {
        TmsMessage m;
        if (c.body) m.Body = {"x"};
        for (const auto& f : c.files) m.Attachments.Add(Att(f, "data", "application/zip"));
        EXPECT_EQ(TmsMessageEncoder::MessageType(m), c.type);
    }
}

TEST(MessageEncoder, AttachmentTypeComesFromTheRegistry) {
    TRegistrySandbox sandbox;
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L".zip", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    const wchar_t type[] = L"application/x-zip-compressed";
    RegSetValueExW(key, L"Content Type", 0, REG_SZ, reinterpret_cast<const BYTE*>(type), sizeof type);
    RegCloseKey(key);
    EXPECT_EQ(TmsAttItem::ContentTypeOf("C:\\a\\CASE.ZIP"), "application/x-zip-compressed");
    EXPECT_EQ(TmsAttItem::ContentTypeOf("C:\\a\\case.onbekend"), "application/octet-stream");
    EXPECT_EQ(TmsAttItem::ContentTypeOf("C:\\a\\zonder"), "application/octet-stream");

    const std::pair<std::string, TmsAttEncoding> encodings[] = {
        {"Text/Plain", TmsAttEncoding::QuotedPrintable}, {"text/rtf", TmsAttEncoding::QuotedPrintable},
        {"TEXT/HTML", TmsAttEncoding::QuotedPrintable},  {"message/rfc822", TmsAttEncoding::SevenBit},
        {"image/gif", TmsAttEncoding::Base64},           {"application/octet-stream", TmsAttEncoding::Base64},
    };
    for (const auto& [t, e] : encodings) EXPECT_EQ(TmsAttItem::EncodingFor(t), e) << t;
}

TEST(MailMessage, ValidationNeedsSenderAndSomeRecipient) {
    TmsMessage m;
    m.Recipients.Add("");
    try {
        m.Validate();
        FAIL();
    } catch (const EMessageError& e) {
        EXPECT_STREQ(e.what(), "The address of sender is required");
    }
    m.Sender.SetAddress("jan@example.nl");
    try {
        m.Validate();
        FAIL();
    } catch (const EMessageError& e) {
        EXPECT_STREQ(e.what(), "At least one Recipient, CC or BCC must be entered");
    }
    m.BCC.Add("b@c.nl");
    EXPECT_NO_THROW(m.Validate());
    EXPECT_EQ(TmsMailAddress(std::string(300, 'a'), std::string(300, 'n')).Address().size(), 255u);
}

// Writes messages and encoded samples for tests/checks/mime_messages.py, which reads them with
// Python's email, base64 and quopri modules.
TEST(MessageEncoder, ArtifactsForIndependentReaders) {
    char target[MAX_PATH];
    if (!GetEnvironmentVariableA("BRAN_ARTIFACT_DIR", target, MAX_PATH)) GTEST_SKIP() << "no artifact folder asked";
    std::string dir = IncludeTrailingBackslash(target);
    auto save = [&](const std::string& name, const std::string& bytes) { WriteFileBytes(dir + name, bytes); };

    // Several of the blocks an attachment is read in, and a last line of its own length.
    std::string zip = Binary(200003), exact = Binary(57 * 3), text = "Eerste regel\r\nt=2\tx\r\n" + std::string(200, 'z') + " \r\nlaatste";
    for (int i = 0; i < 40; ++i) text += "\xE9\x80=\t";
    save("zip.bin", zip);
    save("exact.bin", exact);
    save("text.txt", text);

    TmsMessage single;
    single.Sender.SetAddress("jan@example.nl");
    single.Recipients.Add("helpdesk@brantel.nl");
    single.SetSubject("12345");
    single.Attachments.Add(Att("CASE.ZIP", zip, "application/x-zip-compressed"));
    save("single.eml", Encode(single));

    TmsMessage mixed;
    mixed.Sender = TmsMailAddress("jan@example.nl", "Jan Jansen");
    mixed.Recipients.Add("a@b.nl", "Dhr. A.");
    mixed.Recipients.Add("c@d.nl");
    mixed.CC.Add("e@f.nl");
    mixed.SetSubject("Rapport van Müller");
    // Lines full of escapes: 90 and 60 source characters that take three wire characters each.
    std::string escapes, accents;
    for (int i = 0; i < 30; ++i) escapes += "€é=";
    for (int i = 0; i < 60; ++i) accents += "é";
    mixed.Body = {"Goedendag,", "", std::string(300, 'q'), "Straat: Één 1", escapes, accents, "."};
    mixed.Attachments.Add(Att("CASE.ZIP", zip, "application/x-zip-compressed"));
    mixed.Attachments.Add(Att("exact.bin", exact, "application/octet-stream"));
    mixed.Attachments.Add(Att("text.txt", text, "text/plain"));
    save("mixed.eml", Encode(mixed));

    TmsMessage plain;
    plain.Sender.SetAddress("jan@example.nl");
    plain.Recipients.Add("adres@brantel.nl");
    plain.SetSubject("12345 Jansen");
    plain.Body = {"Naam: Jansen", "Adres: Dorpsstraat 1"};
    save("plain.eml", Encode(plain));
}
