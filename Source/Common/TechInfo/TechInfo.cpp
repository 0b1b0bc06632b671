#include "Source/Common/TechInfo/TechInfo.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

#include "Source/Common/TechInfo/DirectXInfo.h"
#include "Source/Common/TechInfo/DiskInfo.h"
#include "Source/Common/TechInfo/JoystickInfo.h"
#include "Source/Common/TechInfo/LogFilesInfo.h"
#include "Source/Common/TechInfo/MCIInfo.h"
#include "Source/Common/TechInfo/MemoryInfo.h"
#include "Source/Common/TechInfo/PrinterInfo.h"
#include "Source/Common/TechInfo/RegionalInfo.h"
#include "Source/Common/TechInfo/SoundCardInfo.h"
#include "Source/Common/TechInfo/SystemFilesInfo.h"
#include "Source/Common/TechInfo/SystemInfo.h"
#include "Source/Common/TechInfo/VideoInfo.h"
#include "Source/Common/TechInfo/WindowsInfo.h"
#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Registry.h"
#include "platform/RegistryValues.h"
#include "platform/SysInfo.h"

namespace {
constexpr const char* SourceUnit = "Source\\Common\\TechInfo";

const TTechInfoCategory& CategoryOf(std::string_view identifier) {
    const TTechInfoCategory* category = FindTechInfoCategory(identifier);
    BranAssert(category != nullptr, "TTechInfo.Create: unknown category", SourceUnit);
    return *category;
}
}  // namespace

const std::array<TTechInfoCategory, 13> TechInfoCategories = {{
    {"SystemSummary", "Systeem", 0, "TSystemInfo", MakeCollector<TSystemInfo>},
    {"VideoSystem", "Beeldscherm", 9, "TVideoInfo", MakeCollector<TVideoInfo>},
    {"WindowsMemory", "Windows geheugen", 2, "TMemoryInfo", MakeCollector<TMemoryInfo>},
    {"Drives", "Schijven", 5, "TDiskInfo", MakeCollector<TDiskInfo>},
    {"Joystick", "Joystick", 4, "TJoystickInfo", MakeCollector<TJoystickInfo>},
    {"Soundcard", "Geluidskaart", 3, "TSoundCardInfo", MakeCollector<TSoundCardInfo>},
    {"Printer", "Printer", 6, "TPrinterInfo", MakeCollector<TPrinterInfo>},
    {"MCIdevices", "MCI apparaten", 8, "TMCIInfo", MakeCollector<TMCIInfo>},
    {"Windows", "Windows systeem", 1, "TWindowsInfo", MakeCollector<TWindowsInfo>},
    {"RegionalSettings", "Landinstellingen", 10, "TRegionalInfo", MakeCollector<TRegionalInfo>},
    {"DirectX", "DirectX", 7, "TDirectXInfo", MakeCollector<TDirectXInfo>},
    {"SystemFiles", "Systeem bestanden", 11, "TSystemFilesInfo", MakeCollector<TSystemFilesInfo>},
    {"LogFiles", "Log bestanden", 12, "TLogFilesInfo", MakeCollector<TLogFilesInfo>},
}};

const TTechInfoCategory* FindTechInfoCategory(std::string_view identifier) {
    for (const TTechInfoCategory& category : TechInfoCategories)
        if (SameText(category.Identifier, identifier)) return &category;
    return nullptr;
}

TTechInfoList CreateAllCollectors() {
    TTechInfoList collectors;
    for (const TTechInfoCategory& category : TechInfoCategories)
        if (category.Create) collectors.push_back(category.Create());
    return collectors;
}

void FindCollector(const TTechInfoList& collectors, std::string_view identifier, TTechInfoRefs& found) {
    for (const auto& collector : collectors)
        if (SameText(collector->Identifier(), identifier)) found.push_back(collector.get());
}

// --- TTechInfo ---

TTechInfo::TTechInfo(std::string_view identifier) : TTechInfo(CategoryOf(identifier)) {}

TTechInfo::TTechInfo(const TTechInfoCategory& category)
    : FImageIndex(category.ImageIndex),
      FIdentifier(category.Identifier),
      FCaption(category.Caption),
      FClassName(category.ClassName) {}

void TTechInfo::CollectInfo(const ILogFileSource* item) {
    if (item)
        CollectInfo(item->InstallLogFile(), item->ProgramLogFile());
    else
        CollectInfo("", "");
}

void TTechInfo::CollectInfo(const std::string& installLog, const std::string& programLog) {
    FCollected = false;
    FLogFolder = installLog.empty() ? std::string() : ExtractFilePath(installLog);
    FInstallLogFile = installLog;
    FProgramLogFile = programLog;
    GatherInfo();
    FCollected = true;
}

const TStringList& TTechInfo::GetInfoText() {
    if (!FCollected)
        throw EBranAssertion(FClassName + ".GetInfoText: CollectInfo is nog niet aangeroepen.", SourceUnit);
    return BuildInfoText();
}

// --- Report line markup ---

std::string RtfEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
        } else if (c == '\t') {
            out += "\\tab ";
            continue;
        } else if ((static_cast<unsigned char>(c) < 0x20) || c == 0x7F) {
            out += '?';
            continue;
        }
        out += c;
    }
    return out;
}

std::string RtfFileBytes(const TStringList& lines) {
    std::string bytes;
    for (const std::string& line : lines) AppendRtfLineBytes(bytes, line);
    return bytes;
}

void AppendRtfLineBytes(std::string& bytes, const std::string& line) {
    std::wstring text = Widen(line);
    // A line that ends in an escaped backslash would put "\\" right before the line break, which
    // some readers take together with it for a paragraph mark: the last one is written by its code.
    const size_t backslashes = text.size() - (text.find_last_not_of(L'\\') + 1);
    if (backslashes > 0 && backslashes % 2 == 0) text.replace(text.size() - 2, 2, L"\\'5c");
    for (wchar_t c : text) {
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        char ansi = 0;
        BOOL lost = FALSE;
        if (WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, &c, 1, &ansi, 1, nullptr, &lost) == 1 && !lost) {
            const auto byte = static_cast<unsigned char>(ansi);
            bytes += {'\\', '\'', "0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
        } else {
            bytes += Format("\\u%d?", {static_cast<int>(static_cast<int16_t>(c))});
        }
    }
    bytes += "\r\n";
}

std::string ContinuationLine(std::string_view value) { return Format("%s %s %s", {RtfPar, RtfTab, RtfEscape(value)}); }

std::string TextLine(std::string_view value) { return RtfEscape(value); }

std::string VerbatimLine(std::string_view text) { return "\\par " + RtfEscape(text); }

void AddSubHeading(TStringList& lines, std::string_view heading) {
    lines.push_back("\\par \\plain\\f3\\fs16\\b");
    lines.push_back(VerbatimLine(heading));
    lines.push_back("\\par \\plain\\f3\\fs16");
}

// --- Shared routines ---

std::string GetSearchPath() {
    constexpr size_t MaxLength = 260;
    DWORD needed = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (needed == 0) return {};
    std::wstring value(needed, L'\0');
    DWORD length = GetEnvironmentVariableW(L"PATH", value.data(), needed);
    value.resize(std::min<size_t>(std::min<size_t>(length, needed), MaxLength));
    return Narrow(value);
}

std::string YesNoText(bool flag) { return flag ? "Ja" : "Nee"; }

const std::array<double, 3> SpaceUnitDivisors = {1, 1024, 1048576};

std::string WholeMegabytesText(double bytes) {
    return Format("%d Mb", {static_cast<long long>(std::llround(bytes / SpaceUnitDivisors[static_cast<size_t>(TSpaceUnit::Mb)]))});
}

std::string GetSpaceUnitString(TSpaceUnit unit) {
    switch (unit) {
        case TSpaceUnit::Bytes: return " Bytes";
        case TSpaceUnit::Kb: return " Kb";
        case TSpaceUnit::Mb: return " Mb";
    }
    throw EBranAssertion("GetSpaceUnitString:Unhandled case", SourceUnit);
}

std::string GetWindowsVersionNumber() {
    OSVERSIONINFOEXW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return {};
#pragma GCC diagnostic pop
    std::string minor = IntToStr(info.dwMinorVersion);
    if (minor.size() < 2) minor.insert(0, 2 - minor.size(), '0');
    return Format("%d.%s.%d %s", {static_cast<unsigned long>(info.dwMajorVersion), minor,
                                  static_cast<unsigned long>(info.dwBuildNumber & 0xFFFF), Narrow(info.szCSDVersion)});
}

std::string GetWindowsProductName() {
    if (IsWindowsNT()) return "Windows NT";
    TRegKey key = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion");
    if (!key.IsOpen()) return "Error";
    try {
        return key.ReadString("productname");
    } catch (const ERegistry&) {
        return {};
    }
}

std::string GetWindowsVersionText() {
    return Format("%s %s", {GetWindowsProductName(), GetWindowsVersionNumber()});
}

void GetProcessorInfo(TStringList& list, TProcessorAccess& machine) {
    list.clear();
    const TCPUID processor(machine);
    list.push_back(processor.ProcessorDescription());
    list.push_back(processor.ProcessorSpeed() > 0
                       ? Format("%d Mhz.", {std::llround(processor.ProcessorSpeed())})
                       : std::string());
    list.push_back(processor.ProcessorVendor());
}

bool IsDriverKeyName(std::string_view name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
}

void GetModems(TStringList& list) {
    const std::string classPath9x = "System\\CurrentControlSet\\Services\\Class\\Modem";
    const std::string classPathNT = "System\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";
    list.clear();
    const bool is9x = TRegKey::KeyExists(HKEY_LOCAL_MACHINE, classPath9x);
    const std::string classPath = is9x ? classPath9x : classPathNT;
    const TRegKey modems = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, classPath);
    if (!modems.IsOpen()) return;
    for (const std::string& name : modems.GetKeyNames()) {
        if (!is9x && !IsDriverKeyName(name)) continue;
        const TRegKey modem = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, classPath + "\\" + name);
        list.push_back(ReadStringOrEmpty(modem, "Model") + " (" + ReadStringOrEmpty(modem, "AttachedTo") + ")");
    }
}

void ListFiles(const std::string& folder, const std::string& mask, bool withSizes, TStringList& list,
               int64_t& totalSize) {
    list.clear();
    totalSize = 0;
    // The folder is named in the pattern rather than made the current one: a current folder stays in
    // use, and the uninstaller could then not remove an application's log folder.
    if (folder.empty() || !DirectoryExists(folder)) return;
    for (const TSearchRec& file : FindFiles(IncludeTrailingBackslash(folder) + mask, faAnyFile)) {
        if (file.Attr & faDirectory) continue;
        if (withSizes) {
            list.push_back(Format("%s  Size: %d bytes", {file.Name, file.Size}));
            totalSize += static_cast<int64_t>(file.Size);
        } else {
            list.push_back(file.Name);
        }
    }
}
