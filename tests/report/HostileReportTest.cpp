// A report composed on a PC full of ordinary things that RTF has its own meaning for: network
// printers "\\server\Laser {kantoor}", a device alias "}{\b x" that would end the document, format
// directives, names of 5,000 characters, and log files that are held open, UTF-16 or no text at all.
// Every collector runs on real sources (the registry sandbox, the environment, files, system.ini);
// the composed CASE.RTF and what each value must read are left for tests/checks/hostile_report.py,
// which reads the document with unrtf.
#include <gtest/gtest.h>

#include "ReportTestSupport.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportComposer.h"
#include "platform/Handles.h"
#include "platform/Registry.h"

namespace {
const std::string Braces = "}{\\b x";
const std::string Network = "\\\\server\\Laser {kantoor}";
const std::string Directives = "%s%n%d {%x}";
const std::string Long = "Lang{" + std::string(4990, 'x') + "}\\";

void Write(HKEY root, const std::string& path, const std::string& name, const std::string& value) {
    TRegKey key;
    ASSERT_TRUE(key.Open(root, path, true)) << path;
    key.WriteString(name, value);
}

// A line of the prefix's system.ini for as long as the object lives.
class TSystemIniLine {
public:
    TSystemIniLine(const std::string& section, const std::string& key, const std::string& value)
        : FSection(Widen(section)), FKey(Widen(key)) {
        WritePrivateProfileStringW(FSection.c_str(), FKey.c_str(), Widen(value).c_str(), L"system.ini");
    }
    ~TSystemIniLine() { WritePrivateProfileStringW(FSection.c_str(), FKey.c_str(), nullptr, L"system.ini"); }
    TSystemIniLine(const TSystemIniLine&) = delete;
    TSystemIniLine& operator=(const TSystemIniLine&) = delete;

private:
    std::wstring FSection, FKey;
};

// What the helpdesk must read: a value on the line after its label, or a line of its own.
class TExpectations {
public:
    void After(const std::string& label, const std::string& value) { FLines += "after\t" + label + "\t" + value + "\n"; }
    void Line(const std::string& value) { FLines += "line\t" + value + "\n"; }
    const std::string& Text() const { return FLines; }

private:
    std::string FLines;
};

std::string Utf16WithMark(const std::wstring& text) {
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}

class HostileReport : public ReportTest {};
}  // namespace

TEST_F(HostileReport, ForIndependentReaders) {
    char target[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("BRAN_ARTIFACT_DIR", target, MAX_PATH)) GTEST_SKIP() << "no artifact folder asked";
    TExpectations expect;
    TRegistrySandbox registry;
    const std::string lm = "System\\CurrentControlSet\\";

    // System summary and video: the computer, its user, firmware, devices and browser.
    Write(HKEY_LOCAL_MACHINE, lm + "Control\\ComputerName\\ActiveComputerName", "ComputerName", "{K}%s%n");
    TEnvironment user(L"WINEUSERNAME", "Jan {de} %s");
    Write(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\BIOS", "SystemManufacturer", Long);
    Write(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\BIOS", "BIOSVendor", Braces);
    Write(HKEY_LOCAL_MACHINE, lm + "Control\\Class\\{4D36E96B-E325-11CE-BFC1-08002BE10318}\\0000", "DriverDesc", Network);
    Write(HKEY_LOCAL_MACHINE, lm + "Control\\Class\\{4D36E96F-E325-11CE-BFC1-08002BE10318}\\0000", "DriverDesc", Directives);
    Write(HKEY_LOCAL_MACHINE, lm + "Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\0000", "Model", "Modem {56K}\\");
    Write(HKEY_LOCAL_MACHINE, lm + "Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\0000", "AttachedTo", "COM%s");
    Write(HKEY_CLASSES_ROOT, "htmlfile\\shell\\open\\ddeexec\\Application", "", "Surfer }{\\b");
    Write(HKEY_LOCAL_MACHINE, "\\System\\CurrentControlSet\\services\\class\\Monitor\\0000", "DriverDesc", "Scherm \\\\{1}");
    Write(HKEY_LOCAL_MACHINE, "\\System\\CurrentControlSet\\services\\class\\Display\\0000", "DriverDesc", "Kaart " + Braces);
    Write(HKEY_LOCAL_MACHINE, "\\System\\CurrentControlSet\\services\\class\\Display\\0000\\DEFAULT", "drv", "s3{x}.drv");
    for (const auto& [label, value] : std::initializer_list<std::pair<const char*, std::string>>{
             {"Computer naam:", "{K}%s%n"}, {"Gebruiker naam:", "Jan {de} %s"}, {"Computer type:", Long},
             {"Bios:", Braces}, {"Toetsenbord:", Network}, {"Muis:", Directives},
             {"Geïnstalleerde Modem(s):", "Modem {56K}\\ (COM%s)"}, {"Standaard Internet browser:", "Surfer }{\\b"},
             {"Monitor:", "Scherm \\\\{1}"}, {"Monitor naam:", "Scherm \\\\{1}"}, {"Video adapter:", "Kaart " + Braces},
             {"Adapter naam:", "Kaart " + Braces}, {"Video driver:", "s3{x}.drv"}})
        expect.After(label, value);

    // Printers and media devices.
    const std::string printers = lm + "Control\\Print\\Printers\\";
    Write(HKEY_LOCAL_MACHINE, printers + "Laser", "Name", Network);
    Write(HKEY_LOCAL_MACHINE, printers + "Laser", "Port", "LPT1:{x}");
    Write(HKEY_LOCAL_MACHINE, printers + "Laser", "Print Processor", Directives);
    Write(HKEY_LOCAL_MACHINE, printers + "Lang", "Name", Long);
    Write(HKEY_LOCAL_MACHINE, printers + "Lang", "Datatype", "RAW\\{}");
    for (const std::string& value : {Network, Long}) expect.After("Printer naam:", value);
    expect.After("Printer poort:", "LPT1:{x}");
    expect.After("Print processor:", Directives);
    expect.After("Data type:", "RAW\\{}");
    const TSystemIniLine alias("mci", Braces, "mciwave.dll");
    Write(HKEY_LOCAL_MACHINE, lm + "Control\\MediaResources\\mci\\" + Braces, "Description", "Golf {audio} %s");
    expect.After("Alias:", Braces);
    expect.After("Naam:", "Golf {audio} %s");

    // Windows: search path, temporary folder, start-up programs; DirectX.
    TScratchFolder files;
    const std::string tools = files / "gereedschap {%s%n}";
    files.WriteFile("gereedschap {%s%n}\\config.sys", "DEVICE=C:\\{x}\\%s.sys\r\n");
    files.WriteFile("gereedschap {%s%n}\\scandisk.log", Braces + "\r\n" + Long + "\r\n");
    TEnvironment path(L"PATH", tools + ";C:\\windows\\system32;C:\\windows");
    const std::string temp = files / "tmp {%n}\\";
    files.WriteFile("tmp {%n}\\a{b}.tmp", "12345");
    TEnvironment tmp(L"TMP", temp), temp2(L"TEMP", temp);
    const std::string startup = files / "opstart {1}\\";
    files.WriteFile("opstart {1}\\Kas{boek}%s.lnk", "");
    Write(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "StartUp", startup);
    Write(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Lang", Long);
    Write(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Scan", "\"C:\\{scan}\\s.exe\" /%s");
    Write(HKEY_LOCAL_MACHINE, "SOFTWARE\\MICROSOFT\\DirectX", "Version", "4.09 {x}\\%n");
    expect.After("Programma pad:", tools + ";C:\\windows\\system32;C:\\windows");
    expect.After("Temp map:", temp);
    expect.Line("Temp bestanden in " + temp + ":");
    expect.Line("1 tijdelijke bestanden met totale grootte: 5 bytes.");
    for (const std::string& line : {std::string("Kas{boek}%s.lnk"), Long, std::string("\"C:\\{scan}\\s.exe\" /%s"),
                                    std::string("DEVICE=C:\\{x}\\%s.sys"), Braces + "=mciwave.dll"})
        expect.Line(line);
    expect.After("Scandisk.log", Braces);
    expect.After("DirectX Versie(registry):", "4.09 {x}\\%n");

    // The application's logs.
    const std::string logs = "logs {%s%n}\\";
    files.WriteFile(logs + "install.log", Network + "\r\n" + Directives + "\r\n" + Long + "\r\n");
    files.WriteFile(logs + "utf16.log", Utf16WithMark(L"Fout \u00e9\u00e9n " + Widen(Braces) + L"\r\n"));
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>(i * 13 % 256);
    files.WriteFile(logs + "binair.log", binary);
    files.WriteFile(logs + "bezet.log", "wordt geschreven");
    files.WriteFile(logs + "laatste.log", "Einde van het rapport {ok}");
    const TKernelHandle locked(CreateFileW(Widen(files / logs + "bezet.log").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked.IsValid());
    App.InstallLog().SetAsString(files / logs + "install.log");
    expect.After("install.log", Network);
    expect.Line(Directives);
    expect.After("utf16.log", "Fout één " + Braces);
    expect.After("binair.log", "Bestand bevat geen tekst en zal niet worden opgenomen in het rapport.");
    expect.After("bezet.log", "Bestand kan niet worden gelezen en zal niet worden opgenomen in het rapport.");
    expect.After("laatste.log", "Einde van het rapport {ok}");

    // The report itself, with typed texts of the same kind.
    TUser customer;
    FillUser(customer);
    customer.Organization().SetAsString(Braces);
    customer.City().SetAsString(Network);
    expect.After("Bedrijfsnaam:", Braces);
    THelpdeskReport report("Reports\\Kasboek\\Report01", AppRef);
    ForceDirectories(Folder / "Reports\\Kasboek\\Report01");
    report.ProblemLines = {Braces, Directives};
    report.ErrorMessage = Network;
    for (const std::string& line : {Braces, Directives, Network}) expect.Line(line);
    for (const auto& collector : GetGeneralServiceItem().Collectors()) report.TechInfos.push_back(collector.get());
    ComposeReport(report, customer);

    ASSERT_TRUE(FileCopy(report.CaseRtfPath(), std::string(target) + "\\CASE.RTF", false));
    WriteFileBytes(std::string(target) + "\\expected.tsv", expect.Text());
}
