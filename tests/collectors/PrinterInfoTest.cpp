#include <gtest/gtest.h>

#include <algorithm>

#include "CollectorTestSupport.h"
#include "Source/Common/TechInfo/PrinterInfo.h"
#include "platform/Registry.h"

namespace {

// A level-2 record as the spooler hands it out, with its device mode.
struct TPrinterRecord {
    DEVMODEW Mode{};
    PRINTER_INFO_2W Info{};
    TPrinterRecord(const wchar_t* name, const wchar_t* port, DWORD status, DWORD attributes) {
        Info.pPrinterName = const_cast<wchar_t*>(name);
        Info.pPortName = const_cast<wchar_t*>(port);
        Info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
        Info.pDatatype = const_cast<wchar_t*>(L"RAW");
        Info.Status = status;
        Info.Attributes = attributes;
        Info.Priority = 1;
        Info.pDevMode = &Mode;
        Mode.dmSpecVersion = 0x0400;
        Mode.dmDriverVersion = 0x0103;
        Mode.dmPaperSize = 9;
        Mode.dmOrientation = 1;
        Mode.dmPrintQuality = 600;
        Mode.dmYResolution = 300;
        Mode.dmColor = DMCOLOR_COLOR;
        Mode.dmDuplex = 2;
        Mode.dmTTOption = 3;
    }
};

TStringList LinesOf(const PRINTER_INFO_2W& record, const std::string& defaultPrinter = {}) {
    TPrinterInfo printers;
    printers.CollectInfo(nullptr);
    printers.Printers.clear();
    printers.Printers.push_back(std::make_unique<TPrintDeviceInfo>(record, defaultPrinter));
    return printers.GetInfoText();
}
}  // namespace

TEST(PrinterInfo, LinesFromALevelTwoRecordOnBothPlatformFamilies) {
    TPrinterRecord laser(L"Laser {kantoor}", L" LPT1:,FILE:", 0x0088, PRINTER_ATTRIBUTE_DEFAULT);
    TStringList win9x = {
        "\\par Aantal printers:\\tab 1",
        "\\par",
        "\\par Printer naam:\\tab Laser \\{kantoor\\}",
        "\\par Printer status:\\tab Vastgelopen papier",  // the first of two bits
        "\\par Printer poort:\\tab LPT1:",
        "\\par Print processor:\\tab WinPrint",
        "\\par Data type:\\tab RAW",
        "\\par Is standaard printer:\\tab Ja",
        "\\par Gedeelde printer:\\tab Nee",
        "\\par Print spooler prioriteit:\\tab 1",
        "\\par Driver versie:\\tab 1.03",
        "\\par Ondersteunde windows versie:\\tab 4.00",
        "\\par Printer mode:\\tab 600 x 300 dpi Kleur",
        "\\par Afdruk kwaliteit:\\tab 600 DPI",
        "\\par Papier formaat:\\tab A4 Sheet, 210- by 297-millimeters",
        "\\par Pagina orientatie:\\tab Staand",
        "\\par Duplex printen:\\tab Verticaal",
        "\\par TrueType lettertype ondersteuning:\\tab Apparaat kan TrueType lettertypen vervangen door eigen lettertypen",
        "\\par",
    };
    {
        TPlatformOverride family(false);
        EXPECT_EQ(LinesOf(laser.Info), win9x);
    }
    TPlatformOverride family(true);
    TStringList nt = win9x;
    for (size_t i = 10; i <= 17; ++i) nt[i] = nt[i].substr(0, nt[i].find("\\tab ") + 5);
    EXPECT_EQ(LinesOf(laser.Info, "LASER {KANTOOR}"), nt);  // the NT family names its default printer
}

TEST(PrinterInfo, DeviceModeTexts) {
    TPlatformOverride family(false);
    TPrinterRecord r(L"P", L"\\\\server\\share", 0, PRINTER_ATTRIBUTE_SHARED);
    struct {
        short paper, orientation, quality, color, duplex, trueType;
        const char *paperText, *orientationText, *qualityText, *mode, *duplexText, *trueTypeText;
    } cases[] = {
        {256, 2, -4, 1, 1, 1, "Gedefinieerd door gebruiker", "Liggend", "Hoog", "-4 x 300 dpi Monochroom", "Simplex",
         "Druk TrueType lettertypen als afbeeldingen af"},
        {1, 0, -3, 2, 3, 2, "Letter, 8 1/2- by 11-inches", "Liggend", "Medium", "-3 x 300 dpi Kleur", "Horizontaal",
         "Apparaat kan TrueType lettertypen downloaden"},
        {29, 1, -2, 0, 0, 4, "C3 Envelope,  324- by 458-millimeters", "Staand", "Laag", "-2 x 300 dpi Monochroom", "Nee",
         "Apparaat kan outline TrueType lettertypen downloaden"},
        {41, 1, -1, 2, 4, 0, "German Legal Fanfold, 8 1/2- by 13-inches", "Staand", "Draft", "-1 x 300 dpi Kleur", "Nee",
         "Nee"},
        {42, 1, 300, 2, 1, 5, "Gedefinieerd door gebruiker", "Staand", "300 DPI", "300 x 300 dpi Kleur", "Simplex", "Nee"},
        {0, 1, 0, 2, 1, 5, "Gedefinieerd door gebruiker", "Staand", "0 DPI", "0 x 300 dpi Kleur", "Simplex", "Nee"},
    };
    for (const auto& c : cases) {
        r.Mode.dmPaperSize = c.paper;
        r.Mode.dmOrientation = c.orientation;
        r.Mode.dmPrintQuality = c.quality;
        r.Mode.dmColor = c.color;
        r.Mode.dmDuplex = c.duplex;
        r.Mode.dmTTOption = c.trueType;
        TPrintDeviceInfo printer(r.Info);
        EXPECT_EQ(printer.PaperSize, c.paperText) << c.paper;
        EXPECT_EQ(printer.Orientation, c.orientationText) << c.orientation;
        EXPECT_EQ(printer.PrintQuality, c.qualityText) << c.quality;
        EXPECT_EQ(printer.PrinterMode, c.mode);
        EXPECT_EQ(printer.Duplex, c.duplexText) << c.duplex;
        EXPECT_EQ(printer.TrueTypeOption, c.trueTypeText) << c.trueType;
        EXPECT_TRUE(printer.IsShared);
        EXPECT_FALSE(printer.IsDefault);
        EXPECT_EQ(printer.Port, "\\\\server\\share");
    }
    // The port is escaped in its line: a network path reaches the helpdesk as it is.
    EXPECT_EQ(LinesOf(r.Info)[4], "\\par Printer poort:\\tab \\\\\\\\server\\\\share");
    // Without a device mode its lines stay empty.
    r.Info.pDevMode = nullptr;
    EXPECT_EQ(TPrintDeviceInfo(r.Info).PaperSize, "");
}

TEST(PrinterInfo, StatusWordsAlikeOnBothFamilies) {
    struct {
        DWORD status, attributes;
        const char* text;
    } cases[] = {
        {0x0, 0, "Gereed"},
        {0x1, 0, "Gepauseerd"},
        {0x2, 0, "Fout"},
        {0x4, 0, "Wachtend op verwijdering"},
        {0x80, 0, "Off-line"},
        {0x0088, 0, "Vastgelopen papier"},  // the first bit set
        {0x0005, 0, "Gepauseerd"},
        {0x80000, 0, "PAGE_PUNT (te complex om af te drukken)"},
        {0x400000, 0, "Deur open"},
        {0x800000, 0, "Gereed"},                               // no bit of the table
        {0x400, PRINTER_ATTRIBUTE_WORK_OFFLINE, "Off-line"},  // set to work off-line by the user
        {0x02000000, 0, "Off-line"},                           // its print server is off-line
        {0x1, PRINTER_ATTRIBUTE_WORK_OFFLINE, "Gepauseerd"},
    };
    TPrinterRecord r(L"P", L"LPT1:", 0, 0);
    for (const auto& c : cases) {
        r.Info.Status = c.status;
        r.Info.Attributes = c.attributes;
        for (bool nt : {false, true}) {
            TPlatformOverride family(nt);
            EXPECT_EQ(TPrintDeviceInfo(r.Info).Status, c.text) << std::hex << c.status << " " << c.attributes << " " << nt;
        }
    }
}

TEST(PrinterInfo, RealSpooler) {
    TPrinterInfo printers;
    printers.CollectInfo(nullptr);
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 2, buffer.data(), needed, &needed, &count);
    ASSERT_EQ(printers.Printers.size(), needed ? count : 0u);
    const TStringList& lines = printers.GetInfoText();
    EXPECT_EQ(lines.size(), 2 + 17 * printers.Printers.size());
    EXPECT_EQ(lines[0], "\\par Aantal printers:\\tab " + std::to_string(printers.Printers.size()));
}

TEST(PrinterInfo, TheSpoolersDefaultAndOffLinePrinters) {
    // The spooler's registry with the user's default printer and one set to work off-line; the 9x
    // default bit of the other does not count on the NT family.
    TRegistrySandbox registry;
    const std::pair<const char*, DWORD> printers[] = {{"Kantoor", PRINTER_ATTRIBUTE_WORK_OFFLINE}, {"Thuis", PRINTER_ATTRIBUTE_DEFAULT}};
    for (const auto& [name, attributes] : printers) {
        TRegKey key;
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, std::string("System\\CurrentControlSet\\Control\\Print\\Printers\\") + name, true));
        key.WriteString("Name", name);
        key.WriteInteger("Attributes", static_cast<int>(attributes));
    }
    TRegKey user;
    ASSERT_TRUE(user.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", true));
    user.WriteString("Device", "Kantoor,winspool,LPT1:");
    TPrinterInfo info;
    info.CollectInfo(nullptr);
    ASSERT_EQ(info.Printers.size(), 2u);
    std::sort(info.Printers.begin(), info.Printers.end(), [](auto& a, auto& b) { return a->PrinterName < b->PrinterName; });
    EXPECT_TRUE(info.Printers[0]->IsDefault);
    EXPECT_EQ(info.Printers[0]->Status, "Off-line");
    EXPECT_FALSE(info.Printers[1]->IsDefault);
    EXPECT_EQ(info.Printers[1]->Status, "Gereed");
}
