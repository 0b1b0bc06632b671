#include "Source/Common/TechInfo/WindowsInfo.h"

#include <windows.h>

#include "Source/Common/TechInfo/Country.h"
#include "Source/Common/TechInfo/TextFiles.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/SysInfo.h"

namespace {
std::string BootTypeText(int cleanBoot) {
    switch (cleanBoot) {
        case 0: return "Normal boot";
        case 1: return "Fail-safe boot";
        case 2: return "Fail-safe with network boot";
        default: return "Onbekend";
    }
}

std::string UserStartupFolder() {
    const TRegKey key = TRegKey::OpenReadOnly(
        HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    if (!key.IsOpen()) return {};
    try {
        return key.ReadString("StartUp");
    } catch (const ERegistry&) {
        return {};
    }
}

void AppendMachineRunCommands(TStringList& list) {
    const TRegKey run = TRegKey::OpenReadOnly(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run");
    if (!run.IsOpen()) return;
    for (const std::string& name : run.GetValueNames()) {
        try {
            list.push_back(run.ReadString(name));
        } catch (const ERegistry&) {
            // not a command line
        }
    }
}
}  // namespace

std::string FileSearch(const std::string& name, const std::string& folderList) {
    size_t start = 0;
    while (start <= folderList.size()) {
        size_t end = folderList.find(';', start);
        if (end == std::string::npos) end = folderList.size();
        const std::string folder = Trim(folderList.substr(start, end - start));
        if (!folder.empty()) {
            const std::string candidate = IncludeTrailingBackslash(folder) + name;
            if (FileExists(candidate)) return candidate;
        }
        start = end + 1;
    }
    return {};
}

TWindowsInfo::TWindowsInfo() : TTechInfo("Windows") {}

void TWindowsInfo::GatherInfo() {
    VersionText = GetWindowsVersionText();
    WindowsFolder = GetWindowsFolder();
    SystemFolder = GetSystemFolder();
    SearchPath = GetSearchPath();
    TempFolder = GetTempFolder();
    Country = GetUserLocaleText(TLocaleInfo::SENGCOUNTRY);
    AnsiCodePage = GetACP();
    OemCodePage = GetOEMCP();
    DebugVersion = GetSystemMetrics(SM_DEBUG) != 0;
    if (IsWindowsNT()) {
        SecurityPresent = false;
        MidEastEnabled = false;
        BootType = "NT";
    } else {
        SecurityPresent = GetSystemMetrics(SM_SECURE) != 0;
        DbcsEnabled = GetSystemMetrics(SM_DBCSENABLED) != 0;
        MidEastEnabled = GetSystemMetrics(SM_MIDEASTENABLED) != 0;
        BootType = BootTypeText(GetSystemMetrics(SM_CLEANBOOT));
    }

    int64_t unused = 0;
    ListFiles(UserStartupFolder(), "*.lnk", false, StartupPrograms, unused);
    AppendMachineRunCommands(StartupPrograms);

    ListFiles(TempFolder, "*.tmp", true, TempFiles, TempFileSize);
    TempFileCount = static_cast<int>(TempFiles.size());

    ScandiskLog = FileLinesOrNotice(FileSearch("scandisk.log", "c:\\;" + SearchPath));
}

const TStringList& TWindowsInfo::BuildInfoText() {
    Lines = {
        LabelledLine("%s Windows versie:%s %s", VersionText),
        LabelledLine("%s Debug versie:%s %s", YesNoText(DebugVersion)),
        LabelledLine("%s Security aanwezig:%s %s", YesNoText(SecurityPresent)),
        LabelledLine("%s Double-Byte compatibiliteit:%s %s", YesNoText(DbcsEnabled)),
        LabelledLine("%s Midden-Oosten compatibiliteit:%s %s", YesNoText(MidEastEnabled)),
        LabelledLine("%s Boot Type:%s %s", BootType),
        LabelledLine("%s Windows map:%s %s", WindowsFolder),
        LabelledLine("%s Systeem map:%s %s", SystemFolder),
        LabelledLine("%s Temp map:%s %s", TempFolder),
        LabelledLine("%s Programma pad:%s %s", SearchPath),
        LabelledLine("%s Land:%s %s", Country),
        LabelledLine("%s Ansi codepagina:%s %d", AnsiCodePage),
        LabelledLine("%s OEM codepagina:%s %d", OemCodePage),
        RtfPar,
        RtfPar,
        LabelOnlyLine("%s Opstart programma's:"),
        RtfPar,
    };
    for (const std::string& program : StartupPrograms) {
        Lines.push_back(RtfPar);
        Lines.push_back(TextLine(program));
    }
    Lines.push_back(RtfPar);
    Lines.push_back(RtfPar);
    Lines.push_back(LabelOnlyLine("%s Temp bestanden in %s:", TempFolder));
    Lines.push_back(RtfPar);
    Lines.push_back(LabelOnlyLine("%s %d tijdelijke bestanden met totale grootte: %d bytes.", TempFileCount,
                                  static_cast<long long>(TempFileSize)));
    Lines.push_back(RtfPar);
    AddSubHeading(Lines, "Scandisk.log");
    for (const std::string& line : ScandiskLog) Lines.push_back(VerbatimLine(line));
    Lines.push_back(RtfPar);
    return Lines;
}
