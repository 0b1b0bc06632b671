#include "platform/IniFile.h"

#include <windows.h>

#include <cstdlib>

#include "core/Exceptions.h"
#include "core/StrConv.h"

namespace {
// Splits a double-NUL-terminated list of strings.
std::vector<std::string> SplitList(const std::wstring& buffer, DWORD length) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t i = 0; i < length; ++i) {
        if (buffer[i] == L'\0') {
            if (i == start) break;
            out.push_back(Narrow(std::wstring_view(buffer.data() + start, i - start)));
            start = i + 1;
        }
    }
    return out;
}

// GetPrivateProfileSection/-String with a buffer that grows until the whole list fits.
template <typename F>
std::vector<std::string> ReadList(F read) {
    for (DWORD size = 4096;; size *= 4) {
        std::wstring buffer(size, L'\0');
        DWORD got = read(buffer.data(), size);
        if (got < size - 2 || size >= (1u << 24)) return SplitList(buffer, got);
    }
}
}  // namespace

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    for (DWORD size = 2048;; size *= 4) {
        std::wstring buffer(size, L'\0');
        DWORD got = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(def).c_str(),
                                             buffer.data(), size, Widen(FFileName).c_str());
        if (got < size - 1 || size >= (1u << 22)) return Narrow(std::wstring_view(buffer.data(), got));
    }
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::string text = Trim(ReadString(section, key, ""));
    if (text.empty()) return def;
    char* end = nullptr;
    long value;
    if (text.size() > 1 && (text[0] == '$'))
        value = std::strtol(text.c_str() + 1, &end, 16);
    else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        value = std::strtol(text.c_str() + 2, &end, 16);
    else
        value = std::strtol(text.c_str(), &end, 10);
    return (end && *end == '\0') ? static_cast<int>(value) : def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    if (!WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                    Widen(FFileName).c_str()))
        throw EBrantel("Kan niet schrijven naar " + FFileName);
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

std::vector<std::string> TIniFile::ReadSections() const {
    std::wstring file = Widen(FFileName);
    return ReadList([&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionNamesW(b, n, file.c_str()); });
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
    std::wstring file = Widen(FFileName), sec = Widen(section);
    return ReadList([&](wchar_t* b, DWORD n) {
        return GetPrivateProfileStringW(sec.c_str(), nullptr, L"", b, n, file.c_str());
    });
}

std::vector<std::string> TIniFile::ReadSectionValues(const std::string& section) const {
    std::vector<std::string> lines;
    for (const std::string& key : ReadSection(section)) lines.push_back(key + "=" + ReadString(section, key, ""));
    return lines;
}

std::vector<std::string> TIniFile::ReadSectionLines(const std::string& section) const {
    std::wstring file = Widen(FFileName), sec = Widen(section);
    return ReadList([&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionW(sec.c_str(), b, n, file.c_str()); });
}

void TIniFile::EraseSection(const std::string& section) {
    if (!WritePrivateProfileStringW(Widen(section).c_str(), nullptr, nullptr, Widen(FFileName).c_str()) &&
        SectionExists(section))
        throw EBrantel("Kan sectie [" + section + "] niet wissen in " + FFileName);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), nullptr, Widen(FFileName).c_str());
}

bool TIniFile::SectionExists(const std::string& section) const {
    for (const std::string& s : ReadSections())
        if (SameText(s, section)) return true;
    return false;
}

void TIniFile::UpdateFile() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, Widen(FFileName).c_str()); }
