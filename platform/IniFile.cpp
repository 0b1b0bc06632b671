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

// The blanks the profile functions remove around keys and values.
bool IsProfileBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsProfileBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsProfileBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A value enclosed in a pair of the same quotes comes without them.
std::string_view StripQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

std::string QuotedProfileValue(const std::string& value) {
    if (UnquotedProfileValue(value) == value) return value;
    return "\"" + value + "\"";
}

std::string UnquotedProfileValue(std::string_view raw) { return std::string(StripQuotes(TrimBlanks(raw))); }

namespace {
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

void TIniFile::WriteSection(const std::string& section, const std::vector<std::string>& lines) {
    std::wstring list;
    for (const std::string& line : lines) list += Widen(line) + L'\0';
    list += L'\0';
    if (!WritePrivateProfileSectionW(Widen(section).c_str(), list.c_str(), Widen(FFileName).c_str()))
        throw EBrantel("Kan niet schrijven naar " + FFileName);
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

std::string TIniFilePass::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    // The profile functions drop trailing blanks of the default (all but the first of a blank one).
    size_t keep = def.size();
    while (keep > 1 && def[keep - 1] == ' ') --keep;
    const std::string fallback = def.substr(0, keep);
    const std::string wanted = UpperCase(TrimBlanks(key));
    for (const std::string& line : Section(section).Lines) {
        const size_t equals = line.find('=');
        if (UpperCase(TrimBlanks(std::string_view(line).substr(0, equals))) != wanted) continue;
        // The first line of the key decides, also when it has no value.
        if (equals == std::string::npos) return fallback;
        return std::string(StripQuotes(TrimBlanks(std::string_view(line).substr(equals + 1))));
    }
    return fallback;
}

const TIniFilePass::TSection& TIniFilePass::Section(const std::string& name) const {
    const std::string trimmed(TrimBlanks(name));
    const std::string upper = UpperCase(trimmed);
    for (const TSection& section : FSections)
        if (section.UpperName == upper) return section;
    return FSections.emplace_back(TSection{upper, FFile.ReadSectionLines(trimmed)});
}
