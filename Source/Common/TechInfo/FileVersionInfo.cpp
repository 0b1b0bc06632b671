#include "Source/Common/TechInfo/FileVersionInfo.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Files.h"

namespace {
// Resources written without a translation table are, by convention, US English in code page 1252.
constexpr const char* DefaultTranslation = "040904E4";

std::string TranslationKey(const void* resource) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource, L"\\VarFileInfo\\Translation", &value, &length) || length < 4)
        return DefaultTranslation;
    const auto* entry = static_cast<const WORD*>(value);
    return Format("%.4x%.4x", {static_cast<unsigned>(entry[0]), static_cast<unsigned>(entry[1])});
}

std::string QueryString(const void* resource, const std::string& path) {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(resource, Widen(path).c_str(), &value, &length) || !value) return {};
    std::wstring_view text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    return Narrow(text);
}
}  // namespace

bool TFileVersionInfo::LoadFromFile(const std::string& name) {
    const std::string path = ExtractFilePath(name).empty() ? GetSystemFolder() + "\\" + name : name;
    if (auto found = FindFirstMatch(path, faAnyFile)) {
        FileSize = static_cast<int64_t>(found->Size);
        FileDate = DateTimeToStr(found->Time);
    } else {
        FileSize = 0;
    }

    std::pair<const char*, std::string*> fields[] = {
        {"CompanyName", &CompanyName},       {"FileDescription", &FileDescription},
        {"FileVersion", &FileVersion},       {"InternalName", &InternalName},
        {"LegalCopyright", &LegalCopyright}, {"OriginalFilename", &OriginalFilename},
        {"ProductVersion", &ProductVersion}, {"ProductName", &ProductName},
    };
    const std::wstring wideName = Widen(name);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(wideName.c_str(), &handle);
    std::vector<uint8_t> resource(size);
    if (size == 0 || !GetFileVersionInfoW(wideName.c_str(), 0, size, resource.data())) {
        for (auto& field : fields) field.second->clear();
        return false;
    }
    const std::string prefix = "\\StringFileInfo\\" + TranslationKey(resource.data()) + "\\";
    for (auto& [key, field] : fields) *field = QueryString(resource.data(), prefix + key);
    return true;
}
