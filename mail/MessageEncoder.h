#pragma once
// Writes a TmsMessage in its wire form (headers, MIME parts, transfer encodings) into a sink, the
// attachments read and encoded a block at a time. Every line ends with CR LF; text from the program
// (UTF-8) goes out as Windows-1252 bytes.
// The result is the message itself: SMTP's dot transparency is added on transmission (DotStuffing.h).
#include <windows.h>

#include <string>
#include <string_view>

#include "mail/MailMessage.h"
#include "mail/MailStream.h"

class TmsMessageEncoder {
public:
    explicit TmsMessageEncoder(TMailSink& sink) : FSink(sink) {}
    void Encode(const TmsMessage& message);

    // "text/plain", "multipart/mixed", "multipart/alternative" or a lone attachment's own type.
    static std::string MessageType(const TmsMessage& message);
    // Eight random digits from 0 to 8.
    static std::string NewBoundary();
    // Fills the message's empty Date and Message-ID (so that every writing of it says the same).
    static void Stamp(TmsCustomMessage& message);
    // "Wed, 09 Dec 2026 14:05:09 +0100": a local time and its distance from UTC, in the Internet
    // message format's own words (not the user's language).
    static std::string DateText(const SYSTEMTIME& local, int minutesEastOfUtc);
    // "<time.process.count.random@domain>" in the domain of the sender's address.
    static std::string NewMessageId(const std::string& senderAddress);
    // Header text without line breaks (a CR or LF would start a header of the text's choosing),
    // as an encoded word when it holds characters outside ASCII.
    static std::string HeaderText(const std::string& utf8);

private:
    void Line(std::string_view text);
    void WriteHeaders(const TmsMessage& message);
    void WriteAddressLines(const char* name, const TmsAddressList& list);
    void WriteExtraHeaders(const std::vector<std::string>& headers);
    void WriteTextHeaders(const TmsMessage& message);
    void WriteBody();
    void WriteAttachmentHeaders(const TmsAttItem& item);
    void WriteAttachmentData(const TmsAttItem& item);
    void WriteMultipart(const TmsMessage& message, const std::string& type);
    std::string BoundaryFor(const TmsMessage& message) const;

    TMailSink& FSink;
    std::vector<std::string> FBody;  // body lines as wire bytes
    bool FQuotedBody = false;
    const char* FCharset = "us-ascii";
};
