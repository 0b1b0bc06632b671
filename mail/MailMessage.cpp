#include "mail/MailMessage.h"

#include "core/StrConv.h"
#include "mail/MailErrors.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {
constexpr size_t kMaxField = 255;
std::string Cut(const std::string& s) { return s.substr(0, kMaxField); }
}  // namespace

TmsMailAddress::TmsMailAddress(const std::string& address, const std::string& name)
    : FName(Cut(name)), FAddress(Cut(address)) {}
void TmsMailAddress::SetName(const std::string& name) { FName = Cut(name); }
void TmsMailAddress::SetAddress(const std::string& address) { FAddress = Cut(address); }

void TmsAddressList::Add(const std::string& address, const std::string& name) {
    FItems.push_back(std::make_unique<TmsMailAddress>(address, name));
}

bool TmsAddressList::HasAddress() const {
    for (const auto& item : FItems)
        if (!item->Address().empty()) return true;
    return false;
}

const char* AttEncodingName(TmsAttEncoding encoding) {
    switch (encoding) {
        case TmsAttEncoding::SevenBit: return "7 bit";
        case TmsAttEncoding::QuotedPrintable: return "Quoted-Printable";
        case TmsAttEncoding::Base64: break;
    }
    return "Base64";
}

TmsAttItem::TmsAttItem(const std::string& fileName)
    : FFileName(Cut(fileName)), FContentType(Cut(ContentTypeOf(fileName))), FPath(fileName),
      FSize(TFileSource(fileName).Size()), FEncoding(EncodingFor(FContentType)) {}

TmsAttItem::TmsAttItem(const std::string& fileName, std::string data, const std::string& contentType)
    : FFileName(Cut(fileName)), FContentType(Cut(contentType)), FData(std::move(data)), FSize(FData->size()),
      FEncoding(EncodingFor(contentType)) {}

std::unique_ptr<TMailSource> TmsAttItem::Open() const {
    if (FData) return std::make_unique<TStringSource>(*FData);
    return std::make_unique<TFileSource>(FPath);
}

std::string TmsAttItem::ContentTypeOf(const std::string& fileName) {
    std::string ext = ExtractFileExt(fileName);
    if (!ext.empty()) {
        try {
            TRegKey key = TRegKey::OpenReadOnly(HKEY_CLASSES_ROOT, ext);
            if (key.IsOpen()) {
                std::string type = key.ReadString("Content Type");
                if (!type.empty()) return type;
            }
        } catch (const ERegistry&) {
            // A value of the wrong kind is as good as none.
        }
    }
    return "application/octet-stream";
}

TmsAttEncoding TmsAttItem::EncodingFor(const std::string& contentType) {
    std::string type = UpperCase(contentType);
    if (type == "TEXT/PLAIN" || type == "TEXT/RTF" || type == "TEXT/HTML") return TmsAttEncoding::QuotedPrintable;
    if (type == "MESSAGE/RFC822") return TmsAttEncoding::SevenBit;
    return TmsAttEncoding::Base64;
}

void TmsAttList::Add(const std::string& fileName) { FItems.push_back(std::make_unique<TmsAttItem>(fileName)); }

void TmsCustomMessage::SetSubject(const std::string& subject) { FSubject = Cut(subject); }

namespace {
// An address goes into SMTP commands and header lines as it stands: a line break in it would add
// commands or headers of its own.
void CheckAddress(const std::string& address) {
    for (char c : address)
        if (static_cast<unsigned char>(c) < 32) throw EMessageError(MailText::InvalidAddress);
}
void CheckAddresses(const TmsAddressList& list) {
    for (size_t i = 0; i < list.Count(); ++i) CheckAddress(list[i].Address());
}
}  // namespace

void TmsCustomMessage::Validate() const {
    if (Sender.Address().empty()) throw EMessageError(MailText::SenderRequired);
    CheckAddress(Sender.Address());
}

void TmsMessage::Validate() const {
    TmsCustomMessage::Validate();
    if (!Recipients.HasAddress() && !CC.HasAddress() && !BCC.HasAddress())
        throw EMessageError(MailText::RecipientRequired);
    for (const TmsAddressList* list : {&Recipients, &CC, &BCC}) CheckAddresses(*list);
}
