#pragma once
// The registry entries a setup of the maker writes for one application, under
// HKEY_LOCAL_MACHINE\Software\Brantel\<Key>: the current version, its current language, the
// collectors it asks for (TechInfo) and the language key's values (the value "" names the
// application). Tests and the gallery register their sample applications with it, always in a
// sandboxed or throwaway registry. Header only: the gallery uses it without the test support library.
#include <string>
#include <utility>
#include <vector>

#include "platform/Registry.h"

struct TSampleApplication {
    std::string Key = "Kasboek";
    std::string Version = "2";
    std::string Language = "NL";
    std::vector<std::pair<std::string, std::string>> Values = {};
    std::vector<std::string> TechInfos = {};
};

// Answers the path of the language key.
inline std::string RegisterApplication(const TSampleApplication& app) {
    const std::string path = "Software\\Brantel\\" + app.Key;
    const std::string version = path + "\\" + app.Version;
    TRegKey key;
    key.Open(HKEY_LOCAL_MACHINE, path, true);
    key.WriteString("CurrentVersion", app.Version);
    key.Open(HKEY_LOCAL_MACHINE, version, true);
    key.WriteString("CurrentLanguage", app.Language);
    if (!app.TechInfos.empty()) {
        key.Open(HKEY_LOCAL_MACHINE, version + "\\TechInfo", true);
        for (const std::string& identifier : app.TechInfos) key.WriteString(identifier, "True");
    }
    const std::string language = version + "\\" + app.Language;
    key.Open(HKEY_LOCAL_MACHINE, language, true);
    for (const auto& [name, value] : app.Values) key.WriteString(name, value);
    return language;
}
