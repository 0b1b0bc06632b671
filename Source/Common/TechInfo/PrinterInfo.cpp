#include "Source/Common/TechInfo/PrinterInfo.h"

#include <array>

#include "Source/Common/TechInfo/SoundCardInfo.h"  // DriverVersionText
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/SysInfo.h"
#include "platform/gui/Printer.h"  // DefaultPrinterName

namespace {
struct TStatusText {
    DWORD Status;
    const char* Text;
};
constexpr std::array<TStatusText, 23> StatusTexts = {{
    {0x1, "Gepauseerd"},
    {0x2, "Fout"},
    {0x4, "Wachtend op verwijdering"},
    {0x8, "Vastgelopen papier"},
    {0x10, "Geen papier"},
    {0x20, "Handmatige invoer"},
    {0x40, "Papier probleem"},
    {0x80, "Off-line"},
    {0x100, "IO-aktief"},
    {0x200, "Bezig"},
    {0x400, "Bezig met afdrukken"},
    {0x800, "Output bak is vol"},
    {0x1000, "Niet beschikbaar"},
    {0x2000, "Aan het wachten"},
    {0x4000, "Bezig met verwerken"},
    {0x8000, "Initialiseren"},
    {0x10000, "Bezig met opwarmen"},
    {0x20000, "Weinig toner"},
    {0x40000, "Geen toner"},
    {0x80000, "PAGE_PUNT (te complex om af te drukken)"},
    {0x100000, "Gebruiker onderbreking"},
    {0x200000, "Geen geheugen"},
    {0x400000, "Deur open"},
}};

// PRINTER_STATUS_SERVER_OFFLINE of today's headers: a network printer whose print server is gone.
constexpr DWORD ServerOffline = 0x02000000;

// Indexed by paper size code - 1; the double blanks are the texts' own.
constexpr std::array<const char*, 41> PaperSizeTexts = {
    "Letter, 8 1/2- by 11-inches",
    "Letter Small, 8 1/2- by 11-inches",
    "Tabloid, 11- by 17-inches",
    "Ledger, 17- by 11-inches",
    "Legal, 8 1/2- by 14-inches",
    "Statement, 5 1/2- by 8 1/2-inches",
    "Executive, 7 1/4- by 10 1/2-inches",
    "A3 sheet, 297- by 420-millimeters",
    "A4 Sheet, 210- by 297-millimeters",
    "A4 small sheet, 210- by 297-millimeters",
    "A5 sheet, 148- by 210-millimeters",
    "B4 sheet, 250- by 354-millimeters",
    "B5 sheet, 182- by 257-millimeter paper",
    "Folio, 8 1/2- by 13-inch paper",
    "Quarto, 215- by 275-millimeter paper",
    "10- by 14-inch sheet",
    "11- by 17-inch sheet",
    "Note, 8 1/2- by 11-inches",
    "#9 Envelope, 3 7/8- by 8 7/8-inches",
    "#10 Envelope, 4 1/8- by 9 1/2-inches",
    "#11 Envelope, 4 1/2- by 10 3/8-inches",
    "#12 Envelope, 4 3/4- by 11-inches",
    "#14 Envelope, 5- by 11 1/2-inches",
    "C Sheet, 17- by 22-inches",
    "D Sheet, 22- by 34-inches",
    "E Sheet, 34- by 44-inches",
    "DL Envelope, 110- by 220-millimeters",
    "C5 Envelope, 162- by 229-millimeters",
    "C3 Envelope,  324- by 458-millimeters",
    "C4 Envelope,  229- by 324-millimeters",
    "C6 Envelope,  114- by 162-millimeters",
    "C65 Envelope, 114- by 229-millimeters",
    "B4 Envelope,  250- by 353-millimeters",
    "B5 Envelope,  176- by 250-millimeters",
    "B6 Envelope,  176- by 125-millimeters",
    "Italy Envelope, 110- by 230-millimeters",
    "Monarch Envelope, 3 7/8- by 7 1/2-inches",
    "6 3/4 Envelope, 3 5/8- by 6 1/2-inches",
    "US Std Fanfold, 14 7/8- by 11-inches",
    "German Std Fanfold, 8 1/2- by 12-inches",
    "German Legal Fanfold, 8 1/2- by 13-inches",
};

std::string PrintQualityText(int quality) {
    switch (quality) {
        case DMRES_HIGH: return "Hoog";
        case DMRES_MEDIUM: return "Medium";
        case DMRES_LOW: return "Laag";
        case DMRES_DRAFT: return "Draft";
        default: return Format("%d DPI", {quality});
    }
}

std::string DuplexText(int duplex) {
    switch (duplex) {
        case DMDUP_SIMPLEX: return "Simplex";
        case DMDUP_VERTICAL: return "Verticaal";
        case DMDUP_HORIZONTAL: return "Horizontaal";
        default: return "Nee";
    }
}

std::string TrueTypeText(int option) {
    switch (option) {
        case DMTT_BITMAP: return "Druk TrueType lettertypen als afbeeldingen af";
        case DMTT_DOWNLOAD: return "Apparaat kan TrueType lettertypen downloaden";
        case DMTT_SUBDEV: return "Apparaat kan TrueType lettertypen vervangen door eigen lettertypen";
        case DMTT_DOWNLOAD_OUTLINE: return "Apparaat kan outline TrueType lettertypen downloaden";
        default: return "Nee";
    }
}

std::string Text(const wchar_t* text) { return text ? Narrow(text) : std::string(); }

// The first port of a list like "LPT1:,FILE:".
std::string FirstPort(const wchar_t* ports) {
    const std::string port = Trim(Text(ports));
    return port.substr(0, port.find(','));
}
}  // namespace

std::string PrinterStatusText(DWORD status, DWORD attributes) {
    // Today's spoolers keep a printer the user set to work off-line, or whose server is gone, out of
    // the status word.
    if (attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE || status & ServerOffline)
        status |= PRINTER_STATUS_OFFLINE;
    for (const TStatusText& entry : StatusTexts)
        if (status & entry.Status) return entry.Text;
    return "Gereed";
}

std::string PaperSizeText(int code) {
    if (code >= 1 && code <= static_cast<int>(PaperSizeTexts.size())) return PaperSizeTexts[static_cast<size_t>(code - 1)];
    return "Gedefinieerd door gebruiker";
}

TPrintDeviceInfo::TPrintDeviceInfo(const PRINTER_INFO_2W& record, std::string_view defaultPrinter)
    : PrinterName(Text(record.pPrinterName)),
      Status(PrinterStatusText(record.Status, record.Attributes)),
      Port(FirstPort(record.pPortName)),
      PrintProcessor(Text(record.pPrintProcessor)),
      DataType(Text(record.pDatatype)),
      // The NT family sets no default bit in the record: its default printer is the user's setting.
      IsDefault(IsWindowsNT() ? SameText(PrinterName, defaultPrinter)
                              : (record.Attributes & PRINTER_ATTRIBUTE_DEFAULT) != 0),
      IsShared(record.Attributes & PRINTER_ATTRIBUTE_SHARED),
      Priority(IntToStr(record.Priority)) {
    if (!IsWindowsNT() && record.pDevMode) AssignDeviceMode(*record.pDevMode);
}

void TPrintDeviceInfo::AssignDeviceMode(const DEVMODEW& mode) {
    PaperSize = PaperSizeText(mode.dmPaperSize);
    Orientation = mode.dmOrientation == DMORIENT_PORTRAIT ? "Staand" : "Liggend";
    PrintQuality = PrintQualityText(mode.dmPrintQuality);
    Duplex = DuplexText(mode.dmDuplex);
    TrueTypeOption = TrueTypeText(mode.dmTTOption);
    PrinterMode = Format(mode.dmColor == DMCOLOR_COLOR ? "%d x %d dpi Kleur" : "%d x %d dpi Monochroom",
                         {static_cast<int>(mode.dmPrintQuality), static_cast<int>(mode.dmYResolution)});
    SpecVersion = DriverVersionText(mode.dmSpecVersion);
    DriverVersion = DriverVersionText(mode.dmDriverVersion);
}

TPrinterInfo::TPrinterInfo() : TTechInfo("Printer") {}

void TPrinterInfo::GatherInfo() {
    Printers.clear();
    const DWORD flags = IsWindowsNT() ? PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS : PRINTER_ENUM_LOCAL;
    DWORD needed = 0, count = 0;
    EnumPrintersW(flags, nullptr, 2, nullptr, 0, &needed, &count);
    if (needed == 0) return;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(flags, nullptr, 2, buffer.data(), needed, &needed, &count)) return;
    const auto* records = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    const std::string defaultPrinter = IsWindowsNT() ? DefaultPrinterName() : std::string();
    for (DWORD i = 0; i < count; ++i) Printers.push_back(std::make_unique<TPrintDeviceInfo>(records[i], defaultPrinter));
}

const TStringList& TPrinterInfo::BuildInfoText() {
    Lines = {LabelledLine("%s Aantal printers:%s %d", static_cast<int>(Printers.size())), RtfPar};
    for (const auto& printer : Printers) {
        Lines.insert(Lines.end(), {
                                      LabelledLine("%s Printer naam:%s %s", printer->PrinterName),
                                      LabelledLine("%s Printer status:%s %s", printer->Status),
                                      LabelledLine("%s Printer poort:%s %s", printer->Port),
                                      LabelledLine("%s Print processor:%s %s", printer->PrintProcessor),
                                      LabelledLine("%s Data type:%s %s", printer->DataType),
                                      LabelledLine("%s Is standaard printer:%s %s", YesNoText(printer->IsDefault)),
                                      LabelledLine("%s Gedeelde printer:%s %s", YesNoText(printer->IsShared)),
                                      LabelledLine("%s Print spooler prioriteit:%s %s", printer->Priority),
                                      LabelledLine("%s Driver versie:%s %s", printer->DriverVersion),
                                      LabelledLine("%s Ondersteunde windows versie:%s %s", printer->SpecVersion),
                                      LabelledLine("%s Printer mode:%s %s", printer->PrinterMode),
                                      LabelledLine("%s Afdruk kwaliteit:%s %s", printer->PrintQuality),
                                      LabelledLine("%s Papier formaat:%s %s", printer->PaperSize),
                                      LabelledLine("%s Pagina orientatie:%s %s", printer->Orientation),
                                      LabelledLine("%s Duplex printen:%s %s", printer->Duplex),
                                      LabelledLine("%s TrueType lettertype ondersteuning:%s %s", printer->TrueTypeOption),
                                      RtfPar,
                                  });
    }
    return Lines;
}
