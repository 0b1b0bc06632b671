#include "lib/BranVersionLabel.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "core/StrConv.h"
#include "platform/Files.h"

namespace {
struct TResourceRow {
    const char* Key;
    const char* Prefix;
};
const TResourceRow kRows[] = {
    {"CompanyName", "Bedrijfsnaam:"},       {"FileDescription", "Omschrijving:"}, {"FileVersion", "Versie:"},
    {"InternalName", "Interne naam:"},      {"LegalCopyright", "Copyright:"},
    {"OriginalFilename", "Originele Betandsnaam:"}, {"ProductName", "Productnaam:"},
    {"ProductVersion", "Productversie:"},   {"Comments", "Opmerkingen:"},     {"Flags", "Vlaggen:"},
};

const char* const kErrorVersion = "< Error retrieving version info >";
const char* const kErrorTranslation = "< Error retrieving translation info >";

std::string FlagsText(DWORD flags) {
    static const std::pair<DWORD, const char*> names[] = {
        {0x01, ", Debug Build"},    {0x02, ", Pre-Release Build"}, {0x04, ", Patched Build"},
        {0x08, ", Private Build"},  {0x10, ", InfoInferred"},      {0x20, ", Special Build"},
    };
    std::string text;
    for (auto [bit, name] : names)
        if (flags & bit) text += name;
    return text.empty() ? text : text.substr(2);
}
}  // namespace

TBranVersionLabel::TBranVersionLabel(TControl* parent) : TLabel(parent) {
    SetWordWrap(false);
    UpdateText();
}

void TBranVersionLabel::SetVersionResource(TBranVersionResources resource) {
    FVersionResource = resource;
    FVersionResourceKey = kRows[resource].Key;
    FInfoPrefix = kRows[resource].Prefix;
    UpdateText();
}

void TBranVersionLabel::SetVersionResourceKey(const std::string& key) {
    FVersionResourceKey = key;
    FInfoPrefix = key;
    UpdateText();
}

void TBranVersionLabel::SetInfoPrefix(const std::string& prefix) {
    FInfoPrefix = prefix;
    UpdateText();
}

void TBranVersionLabel::SetShowInfoPrefix(bool show) {
    FShowInfoPrefix = show;
    UpdateText();
}

void TBranVersionLabel::SetLangCharset(const std::string& langCharset) {
    FLangCharset = langCharset;
    UpdateText();
}

std::string TBranVersionLabel::ReadValue() {
    const std::wstring file = Widen(FileName.empty() ? GetExeName() : FileName);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(file.c_str(), &handle);
    if (size == 0) return {};
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return kErrorVersion;

    void* value = nullptr;
    UINT length = 0;
    if (FVersionResource == VR_FLAGS) {
        if (!VerQueryValueW(data.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
            return kErrorVersion;
        return FlagsText(static_cast<VS_FIXEDFILEINFO*>(value)->dwFileFlags);
    }
    if (FLangCharset == "-1") {
        if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4)
            return kErrorTranslation;
        const WORD* pair = static_cast<const WORD*>(value);
        char digits[9];
        std::snprintf(digits, sizeof digits, "%04X%04X", pair[0], pair[1]);
        FLangCharset = digits;  // later lookups go straight to the file's own block
    }
    const std::wstring path = Widen("\\StringFileInfo\\" + FLangCharset + "\\" + FVersionResourceKey);
    if (!VerQueryValueW(data.data(), path.c_str(), &value, &length)) return kErrorVersion;
    if (length < 2) return {};
    return Narrow(static_cast<const wchar_t*>(value));
}

void TBranVersionLabel::UpdateText() {
    const std::string value = ReadValue();
    SetCaption(FShowInfoPrefix ? FInfoPrefix + " " + value : value);
}
