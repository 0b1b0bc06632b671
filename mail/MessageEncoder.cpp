#include "mail/MessageEncoder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "mail/Base64.h"
#include "mail/MailErrors.h"
#include "mail/QuotedPrintable.h"
#include "platform/Files.h"

namespace {
constexpr size_t kLongLine = 256;
constexpr size_t kHeaderColumn = 10;

std::string Padded(const std::string& nameAndColon) {
    std::string s = nameAndColon;
    if (s.size() < kHeaderColumn) s.append(kHeaderColumn - s.size(), ' ');
    return s;
}

bool HasHighBytes(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 128) return true;
    return false;
}

std::string WithoutLineBreaks(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string BareFileName(const TmsAttItem& item) { return WithoutLineBreaks(ExtractFileName(item.FileName())); }

bool IsAlternativeFile(const TmsAttItem& item) {
    return LowerCase(ExtractFileName(item.FileName())).rfind("_alt.", 0) == 0;
}

// The source holds the text somewhere, also across the blocks it is read in.
bool Holds(TMailSource& source, const std::string& text) {
    std::string window;
    char block[8192];
    for (size_t n; (n = source.Read(block, sizeof block)) > 0;) {
        window.append(block, n);
        if (window.find(text) != std::string::npos) return true;
        window.erase(0, window.size() - std::min(window.size(), text.size() - 1));
    }
    return false;
}

// The header lines the message writes itself; an extra header of the same name would contradict it.
const char* const kOwnHeaders[] = {"From", "To", "CC", "BCC", "Return-Receipt-To", "X-Priority", "Subject",
                                   "Date", "Message-ID", "Mime-Version", "Content-Type", "X-Encoding",
                                   "Content-Transfer-Encoding"};

uint64_t Ticks(const SYSTEMTIME& time) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return static_cast<uint64_t>(file.dwHighDateTime) << 32 | file.dwLowDateTime;
}

std::string NowText() {
    SYSTEMTIME utc, local;
    GetSystemTime(&utc);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
    const int64_t minutes = (static_cast<int64_t>(Ticks(local)) - static_cast<int64_t>(Ticks(utc))) / 600000000;
    return TmsMessageEncoder::DateText(local, static_cast<int>(minutes));
}
}  // namespace

std::string TmsMessageEncoder::HeaderText(const std::string& utf8) {
    std::string ansi = WithoutLineBreaks(Utf8ToAnsi(utf8));
    if (!HasHighBytes(ansi)) return ansi;
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "=?windows-1252?Q?";
    for (char ch : ansi) {
        auto c = static_cast<unsigned char>(ch);
        if (c == ' ') {
            out += '_';
        } else if (c >= 128 || c < 32 || c == '=' || c == '?' || c == '_' || c == '"') {
            out += '=';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "?=";
}

void TmsMessageEncoder::Stamp(TmsCustomMessage& m) {
    if (m.Date.empty()) m.Date = NowText();
    if (m.MessageId.empty()) m.MessageId = NewMessageId(m.Sender.Address());
}

std::string TmsMessageEncoder::DateText(const SYSTEMTIME& local, int minutesEastOfUtc) {
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    // The day of the week from the date itself.
    FILETIME file{};
    SYSTEMTIME t = local;
    if (!SystemTimeToFileTime(&local, &file) || !FileTimeToSystemTime(&file, &t))
        throw EMessageError("Invalid date");
    const int offset = minutesEastOfUtc < 0 ? -minutesEastOfUtc : minutesEastOfUtc;
    char text[64];
    snprintf(text, sizeof text, "%s, %02u %s %04u %02u:%02u:%02u %c%02d%02d", days[t.wDayOfWeek], t.wDay,
             months[t.wMonth - 1], t.wYear, t.wHour, t.wMinute, t.wSecond, minutesEastOfUtc < 0 ? '-' : '+',
             offset / 60, offset % 60);
    return text;
}

std::string TmsMessageEncoder::NewMessageId(const std::string& senderAddress) {
    static std::mt19937 generator{std::random_device{}()};
    static unsigned count = 0;
    std::string domain;
    for (char c : senderAddress.substr(senderAddress.rfind('@') + 1))
        if (isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-') domain += c;
    if (senderAddress.find('@') == std::string::npos || domain.empty()) domain = "localhost";
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    char unique[80];
    snprintf(unique, sizeof unique, "%08lX%08lX.%lX.%u.%08X", now.dwHighDateTime, now.dwLowDateTime,
             GetCurrentProcessId(), ++count, static_cast<unsigned>(generator()));
    return "<" + std::string(unique) + "@" + domain + ">";
}

std::string TmsMessageEncoder::MessageType(const TmsMessage& m) {
    const TmsAttList& atts = m.Attachments;
    bool allAlternative = atts.Count() > 0;
    for (size_t i = 0; i < atts.Count(); ++i) allAlternative = allAlternative && IsAlternativeFile(atts[i]);
    if (allAlternative) return "multipart/alternative";
    if (!m.Body.empty()) return atts.Count() == 0 ? "text/plain" : "multipart/mixed";
    if (atts.Count() == 1) return atts[0].ContentType();
    return atts.Count() == 0 ? "text/plain" : "multipart/mixed";
}

std::string TmsMessageEncoder::NewBoundary() {
    static std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> digit(0, 8);
    std::string boundary;
    for (int i = 0; i < 8; ++i) boundary += static_cast<char>('0' + digit(generator));
    return boundary;
}

std::string TmsMessageEncoder::BoundaryFor(const TmsMessage& m) const {
    // A body line or a text attachment that happened to hold the boundary would end its part early.
    for (;;) {
        std::string boundary = NewBoundary();
        bool clash = false;
        for (const std::string& line : FBody) clash = clash || line.find(boundary) != std::string::npos;
        for (size_t i = 0; i < m.Attachments.Count() && !clash; ++i)
            clash = m.Attachments[i].Encoding() != TmsAttEncoding::Base64 && Holds(*m.Attachments[i].Open(), boundary);
        if (!clash) return boundary;
    }
}

void TmsMessageEncoder::Line(std::string_view text) {
    FSink.Write(text);
    FSink.Write("\r\n");
}

void TmsMessageEncoder::Encode(const TmsMessage& m) {
    BranAssert(m.Encoding == meMIME, "Only MIME messages can be encoded", "mail\\MessageEncoder");
    FBody.clear();
    bool longLines = false;
    for (const std::string& line : m.Body) {
        FBody.push_back(Utf8ToAnsi(line));
        longLines = longLines || FBody.back().size() >= kLongLine;
    }
    // Accented letters in a body declared as US-ASCII would reach the reader as garbage, and the
    // bytes are Windows-1252 ("€" is 0x80, a control character in ISO 8859-1): say so, as the
    // encoded-word subjects do.
    bool highBytes = false;
    for (const std::string& line : FBody) highBytes = highBytes || HasHighBytes(line);
    FCharset = highBytes ? "windows-1252" : m.CharSet == csISO8859 ? "iso-8859-1" : "us-ascii";
    FQuotedBody = longLines || highBytes || m.CharSet == csISO8859;

    WriteHeaders(m);
    std::string type = MessageType(m);
    if (type == "multipart/mixed" || type == "multipart/alternative") {
        WriteMultipart(m, type);
    } else if (m.Body.empty() && m.Attachments.Count() == 1) {
        WriteAttachmentHeaders(m.Attachments[0]);
        Line("");
        WriteAttachmentData(m.Attachments[0]);
    } else {
        WriteTextHeaders(m);
        Line("");
        WriteBody();
    }
}

void TmsMessageEncoder::WriteHeaders(const TmsMessage& m) {
    Line(Padded("From:") + HeaderText(m.Sender.Name()) + " <" + WithoutLineBreaks(m.Sender.Address()) + ">");
    WriteAddressLines("To", m.Recipients);
    WriteAddressLines("CC", m.CC);
    if (m.ReturnReceipt) Line("Return-Receipt-To: <" + WithoutLineBreaks(m.Sender.Address()) + ">");
    if (m.Priority == ptLow) Line("X-Priority: 5");
    if (m.Priority == ptHigh) Line("X-Priority: 1");
    WriteExtraHeaders(m.Headers);
    if (!m.Subject().empty()) Line("Subject:  " + HeaderText(m.Subject()));
    Line("Date: " + WithoutLineBreaks(m.Date.empty() ? NowText() : m.Date));
    Line("Message-ID: " + WithoutLineBreaks(m.MessageId.empty() ? NewMessageId(m.Sender.Address()) : m.MessageId));
    Line("Mime-Version: 1.0");
}

void TmsMessageEncoder::WriteAddressLines(const char* name, const TmsAddressList& list) {
    for (size_t i = 0; i < list.Count(); ++i) {
        std::string display = HeaderText(list[i].Name());
        if (display.find('.') != std::string::npos && display.find('"') == std::string::npos &&
            display.rfind("=?", 0) != 0)
            display = Quoted(display);
        std::string lead = i == 0 ? Padded(std::string(name) + ":") : std::string(kHeaderColumn, ' ');
        std::string entry = lead + display + " <" + WithoutLineBreaks(list[i].Address()) + ">";
        if (i + 1 < list.Count()) entry += ",";
        Line(entry);
    }
}

void TmsMessageEncoder::WriteExtraHeaders(const std::vector<std::string>& headers) {
    std::vector<bool> keep(headers.size(), true);
    for (const char* own : kOwnHeaders) {
        std::string prefix = LowerCase(std::string(own) + ":");
        for (size_t i = 0; i < headers.size(); ++i) {
            if (!keep[i] || LowerCase(headers[i].substr(0, prefix.size())) != prefix) continue;
            keep[i] = false;
            for (size_t j = i + 1; j < headers.size() && !headers[j].empty() &&
                                   (headers[j][0] == ' ' || headers[j][0] == '\t');
                 ++j)
                keep[j] = false;
            break;
        }
    }
    for (size_t i = 0; i < headers.size(); ++i)
        if (keep[i]) Line(WithoutLineBreaks(Utf8ToAnsi(headers[i])));
}

void TmsMessageEncoder::WriteTextHeaders(const TmsMessage&) {
    Line(std::string("Content-Type: text/plain; charset=") + Quoted(FCharset));
    Line(FQuotedBody ? "Content-Transfer-Encoding: quoted-printable" : "Content-Transfer-Encoding: 7bit");
}

void TmsMessageEncoder::WriteBody() {
    for (const std::string& line : FBody) {
        if (!FQuotedBody) {
            Line(line);
            continue;
        }
        for (const std::string& piece : TQuotedPrintable::EncodeLine(line)) Line(piece);
    }
}

void TmsMessageEncoder::WriteAttachmentHeaders(const TmsAttItem& item) {
    Line("Content-Type: " + WithoutLineBreaks(item.ContentType()) + "; name=" + Quoted(BareFileName(item)));
    Line(std::string("Content-Transfer-Encoding: ") + AttEncodingName(item.Encoding()));
    Line("Content-Disposition: attachment; filename=" + Quoted(BareFileName(item)));
}

void TmsMessageEncoder::WriteAttachmentData(const TmsAttItem& item) {
    std::unique_ptr<TMailSource> data = item.Open();
    switch (item.Encoding()) {
        case TmsAttEncoding::Base64:
            TBase64Encoder::Encode(*data, FSink);
            break;
        case TmsAttEncoding::QuotedPrintable:
            TQuotedPrintable::Encode(*data, FSink);
            break;
        case TmsAttEncoding::SevenBit: {
            TLineReader reader(*data, TQuotedPrintable::MaxLineLength);
            for (std::string line; reader.Next(line);) Line(line);
            break;
        }
    }
}

void TmsMessageEncoder::WriteMultipart(const TmsMessage& m, const std::string& type) {
    std::string boundary = BoundaryFor(m);
    Line("Content-Type: " + type + "; boundary=" + Quoted(boundary));
    Line("X-Encoding: MIME");
    Line("");
    Line(MailText::MultipartPreamble);
    Line("");
    Line("--" + boundary);
    if (!m.Body.empty()) {
        WriteTextHeaders(m);
        Line("");
        WriteBody();
        Line("");
        Line("--" + boundary);
    }
    for (size_t i = 0; i < m.Attachments.Count(); ++i) {
        if (i > 0) {
            Line("");
            Line("--" + boundary);
        }
        WriteAttachmentHeaders(m.Attachments[i]);
        Line("");
        WriteAttachmentData(m.Attachments[i]);
        Line("");
    }
    Line("--" + boundary + "--");
}
