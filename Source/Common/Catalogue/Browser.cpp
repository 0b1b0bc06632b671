#include "Source/Common/Catalogue/Browser.h"

#include <windows.h>

#include <cctype>

#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Shell.h"

namespace {
// The default value of a key under HKEY_CLASSES_ROOT; empty when missing or not text.
std::string ClassesDefault(const std::string& path) {
    TRegKey key = TRegKey::OpenReadOnly(HKEY_CLASSES_ROOT, path);
    if (!key.IsOpen()) return {};
    try {
        return key.ReadString("");
    } catch (const ERegistry&) {
        return {};
    }
}
}  // namespace

std::string CleanBrowserCommand(const std::string& command) {
    std::string out;
    for (size_t i = 0; i < command.size(); ++i) {
        if (command[i] == '%' && i + 1 < command.size()) {
            ++i;  // the placeholder's letter or digit goes with it
            continue;
        }
        out += command[i];
    }
    return out;
}

std::string BrowserCommand() {
    for (const char* ext : {".HTM", ".HTML", ".SHTML", ".SHTM"}) {
        if (!TRegKey::KeyExists(HKEY_CLASSES_ROOT, ext)) continue;
        std::string command;
        const std::string fileType = ClassesDefault(ext);
        if (!fileType.empty()) command = ClassesDefault(fileType + "\\shell\\open\\command");
        if (command.empty()) command = ClassesDefault(std::string(ext) + "\\shell\\open\\command");
        if (!command.empty()) return CleanBrowserCommand(command);
    }
    return {};
}

bool IsBrowserPresent(const std::string& command) {
    std::string program = command;
    if (program.size() > 2 && program[0] == '"') {
        program.erase(0, 1);
        size_t quote = program.find('"');
        if (quote != std::string::npos) program.resize(quote);
    }
    return !program.empty() && FileExists(program);
}

bool BrowserPresent() { return IsBrowserPresent(BrowserCommand()); }

namespace {
// The scheme an address names ("http" of "http://x", "javascript" of "javascript:x"), lower case;
// empty when it names none: no colon, or a colon that starts a port ("www.brantel.nl:8080/").
std::string AddressScheme(const std::string& address) {
    const size_t colon = address.find(':');
    if (colon == std::string::npos || colon == 0) return {};
    for (size_t i = 0; i < colon; ++i) {
        const unsigned char c = address[i];
        if (!isalnum(c) && c != '+' && c != '-' && c != '.') return {};
    }
    const bool slashes = address.compare(colon + 1, 2, "//") == 0;
    if (!slashes && colon + 1 < address.size() && isdigit(static_cast<unsigned char>(address[colon + 1]))) return {};
    return LowerCase(address.substr(0, colon));
}
}  // namespace

std::optional<std::string> BrowserArgument(const std::string& address) {
    const std::string trimmed = Trim(address);
    if (trimmed.empty()) return std::string();
    const std::string scheme = AddressScheme(trimmed);
    if (!scheme.empty() && scheme != "http" && scheme != "https") return std::nullopt;
    const std::string url = scheme.empty() ? "http://" + trimmed : trimmed;
    std::string argument = "\"";
    for (unsigned char c : url) {
        if (c <= ' ' || c == '"' || c == 0x7F) {
            argument += Format("%%%.2x", {static_cast<unsigned>(c)});
        } else {
            argument += static_cast<char>(c);
        }
    }
    return argument + "\"";
}

bool OpenInBrowser(const std::string& address) {
    const std::optional<std::string> argument = BrowserArgument(address);
    if (!argument) return false;
    const std::string command = BrowserCommand();
    const std::string upper = UpperCase(command);
    size_t end = std::string::npos;
    for (const char* ext : {".EXE", ".BAT", ".COM"}) {
        size_t at = upper.rfind(ext);
        if (at != std::string::npos && (end == std::string::npos || at + 4 > end)) end = at + 4;
    }
    if (command.empty() || end == std::string::npos) return false;

    std::string program = command.substr(0, end);
    if (!program.empty() && program[0] == '"') program.erase(0, 1);
    std::string extra = Trim(command.substr(end));
    while (!extra.empty() && extra[0] == '"') extra.erase(0, 1);
    extra = Trim(extra);
    const std::string parameters = extra.empty() || argument->empty() ? extra + *argument : extra + " " + *argument;
    TShellStart start{"", program, parameters, "", SW_SHOWMAXIMIZED};
    return ShellStartSucceeded(ShellStart(start));
}
