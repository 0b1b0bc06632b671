#pragma once
// A mail message as the program composes it: sender, recipients, subject, body lines, extra header
// lines and attachments, whose files are read only while the encoder (MessageEncoder.h) writes the
// wire form.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mail/MailStream.h"

// Name and address of one party; each is cut to 255 characters.
class TmsMailAddress {
public:
    TmsMailAddress() = default;
    TmsMailAddress(const std::string& address, const std::string& name);
    const std::string& Name() const { return FName; }
    const std::string& Address() const { return FAddress; }
    void SetName(const std::string& name);
    void SetAddress(const std::string& address);

private:
    std::string FName, FAddress;
};

class TmsAddressList {
public:
    void Add(const std::string& address, const std::string& name = {});
    size_t Count() const { return FItems.size(); }
    const TmsMailAddress& operator[](size_t i) const { return *FItems[i]; }
    bool HasAddress() const;  // some entry with a non-empty address

private:
    std::vector<std::unique_ptr<TmsMailAddress>> FItems;
};

enum class TmsAttEncoding { SevenBit = 0, Base64 = 1, QuotedPrintable = 2 };
// "7 bit", "Base64", "Quoted-Printable": also the Content-Transfer-Encoding values written.
const char* AttEncodingName(TmsAttEncoding encoding);

// One attached file. Its bytes are read while the message is written, a block at a time (Open).
class TmsAttItem {
public:
    // Types the file by its extension; throws EBrantel when it cannot be read.
    explicit TmsAttItem(const std::string& fileName);
    // Bytes of the caller's under a file name (messages composed in memory).
    TmsAttItem(const std::string& fileName, std::string data, const std::string& contentType);
    const std::string& FileName() const { return FFileName; }
    const std::string& ContentType() const { return FContentType; }
    TmsAttEncoding Encoding() const { return FEncoding; }
    uint64_t Size() const { return FSize; }
    // The bytes from their start.
    std::unique_ptr<TMailSource> Open() const;

    // The "Content Type" of the extension's key under HKEY_CLASSES_ROOT, else application/octet-stream.
    static std::string ContentTypeOf(const std::string& fileName);
    static TmsAttEncoding EncodingFor(const std::string& contentType);

private:
    std::string FFileName, FContentType;
    std::string FPath;                 // the file read, whole however long its name
    std::optional<std::string> FData;  // the caller's bytes instead of a file
    uint64_t FSize = 0;
    TmsAttEncoding FEncoding = TmsAttEncoding::Base64;
};

class TmsAttList {
public:
    void Add(const std::string& fileName);
    void Add(std::unique_ptr<TmsAttItem> item) { FItems.push_back(std::move(item)); }
    size_t Count() const { return FItems.size(); }
    const TmsAttItem& operator[](size_t i) const { return *FItems[i]; }

private:
    std::vector<std::unique_ptr<TmsAttItem>> FItems;
};

enum TmsEncoding { meMIME, meUU };
enum TmsCharSet { csUSASCII, csISO8859 };
enum TmsPriority { ptLow, ptNormal, ptHigh };

class TmsCustomMessage {
public:
    virtual ~TmsCustomMessage() = default;
    TmsMailAddress Sender;
    std::vector<std::string> Body;
    TmsAttList Attachments;
    std::vector<std::string> Headers;  // extra lines "Name: value", continuation lines allowed
    TmsEncoding Encoding = meMIME;
    TmsCharSet CharSet = csUSASCII;
    std::string ContentType = "text/plain";

    const std::string& Subject() const { return FSubject; }
    void SetSubject(const std::string& subject);  // cut to 255 characters
    // The Date and Message-ID header values; empty: the encoder stamps the message as it writes it
    // (the time of writing, a new name in the sender's domain).
    std::string Date, MessageId;

    virtual void Validate() const;

private:
    std::string FSubject;
};

class TmsMessage : public TmsCustomMessage {
public:
    TmsAddressList Recipients, CC, BCC;
    TmsPriority Priority = ptNormal;
    bool ReturnReceipt = false;

    // Throws EMessageError without a sender address or without any recipient, CC or BCC address.
    void Validate() const override;
};
