#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include "DeliveryTestSupport.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "platform/gui/Printer.h"

namespace {
// A PostScript printer of the prefix whose port pipes every job onto the end of one host file, so
// that a test can count the jobs the spooler really received.
class TPipePrinter {
public:
    TPipePrinter() {
        FUnixFile = "/tmp/bran-print-" + std::to_string(GetCurrentProcessId()) + ".ps";
        FFile = "Z:" + FUnixFile;
        for (char& c : FFile)
            if (c == '/') c = '\\';
        FileDelete(FFile);
        std::wstring command = Widen("|cat >> " + FUnixFile);
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", Port, REG_SZ, command.c_str(),
                        static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
        // The prefix's PostScript driver, with a page description of our own.
        std::wstring driver = Widen(GetSystemFolder() + "\\wineps.drv"), ppd = Widen(FixturePath("delivery\\BRANTEST.PPD"));
        DRIVER_INFO_3W driverInfo{};
        driverInfo.cVersion = 3;
        driverInfo.pName = const_cast<wchar_t*>(Name);
        driverInfo.pDriverPath = driver.data();
        driverInfo.pDataFile = ppd.data();
        driverInfo.pConfigFile = driver.data();
        driverInfo.pDefaultDataType = const_cast<wchar_t*>(L"RAW");
        if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&driverInfo), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY))
            DriverError = GetLastError();
        PRINTER_INFO_2W info{};
        info.pPrinterName = const_cast<wchar_t*>(Name);
        info.pPortName = const_cast<wchar_t*>(Port);
        info.pDriverName = const_cast<wchar_t*>(Name);
        info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
        info.pDatatype = const_cast<wchar_t*>(L"RAW");
        HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
        Error = printer ? 0 : GetLastError();
        if (!printer && OpenPrinterW(const_cast<wchar_t*>(Name), &printer, nullptr)) Error = 0;
        if (printer) ClosePrinter(printer);
        SetCurrentPrinterName(Narrow(Name));
    }
    ~TPipePrinter() {
        SetCurrentPrinterName({});
        HANDLE printer = nullptr;
        PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ALL_ACCESS};
        if (OpenPrinterW(const_cast<wchar_t*>(Name), &printer, &access)) {
            DeletePrinter(printer);
            ClosePrinter(printer);
        }
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", Port);
        FileDelete(FFile);
    }
    // The PostScript of every job so far.
    std::string Output() const { return FileExists(FFile) ? ReadFileBytes(FFile) : std::string(); }
    // Jobs received, and their titles.
    std::vector<std::string> JobTitles() const {
        std::vector<std::string> titles;
        std::string out = Output();
        for (size_t at = out.find("%!PS-Adobe"); at != std::string::npos; at = out.find("%!PS-Adobe", at + 1)) {
            size_t title = out.find("%%Title:", at);
            size_t end = title == std::string::npos ? title : out.find_first_of("\r\n", title);
            titles.push_back(title == std::string::npos ? "?" : Trim(out.substr(title + 8, end - title - 8)));
        }
        return titles;
    }
    DWORD Error = 0, DriverError = 0;

private:
    static constexpr const wchar_t* Name = L"Bran Testprinter";
    static constexpr const wchar_t* Port = L"LPT1:";
    std::string FUnixFile, FFile;
};

const char* const NotFound = "Het Helpdeskrapport is niet gevonden.\rSluit de Probleemoplosser en maak een nieuw rapport aan.";

class PrintReport : public DeliveryTest {
protected:
    PrintReport() { Delivery.OnSaveAll = [this] { ++SaveAllCalls; }; }
    // The report as the problem solver holds it after composing: CASE.RTF in its folder.
    void StoreReportText() {
        AddReportFile("CASE.RTF", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n\\f0\\fs20 Fax aan de helpdesk\\par\r\n"
                                  "Probleem: caf\\'e9 \\par\r\n}\r\n");
        Report = std::make_unique<THelpdeskReport>("Reports\\Kasboek\\Report01", AppRef);
    }

    TPipePrinter Printer;
    int SaveAllCalls = 0;
};
}  // namespace

// The print dialog chooses the copies; each copy is a print job of its own with an empty title. A
// report without text, a cancelled dialog or a missing printer print nothing.
TEST_F(PrintReport, ThroughThePrintDialog) {
    ASSERT_EQ(Printer.Error, 0u);
    struct TCase {
        const char* Name;
        bool HasText;
        bool DialogConfirmed;
        int Copies;
        const char* PrinterName;  // nullptr: the test printer
        bool Printed;
        std::vector<std::string> Texts;
        size_t Jobs;
    } cases[] = {
        {"two copies", true, true, 2, nullptr, true, {"Bezig met afdrukken."}, 2},
        {"one copy", true, true, 1, nullptr, true, {"Bezig met afdrukken."}, 1},
        {"dialog cancelled", true, false, 2, nullptr, false, {}, 0},
        {"no CASE.RTF", false, true, 2, nullptr, false, {NotFound}, 0},
        {"printer gone", true, true, 1, "Verdwenen printer", false, {"Er is een fout opgetreden bij het afdrukken."}, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RemoveTree(ReportFolder());
        ForceDirectories(ReportFolder());
        if (c.HasText) StoreReportText();
        else Report = std::make_unique<THelpdeskReport>("Reports\\Kasboek\\Report01", AppRef);
        size_t before = Printer.JobTitles().size();
        SaveAllCalls = 0;
        SetPrintDialogHook([&](TPrintDialogRequest& r) {
            if (c.PrinterName) r.PrinterName = c.PrinterName;
            r.Copies = c.Copies;
            return c.DialogConfirmed;
        });
        TMessageRecorder boxes;
        EXPECT_EQ(Delivery.PrintReportDialog(*Report), c.Printed);
        EXPECT_EQ(boxes.Texts(), c.Texts);
        if (!boxes.Messages().empty()) {
            EXPECT_EQ(boxes.Messages()[0].Kind, c.Printed ? TMsgKind::Information : TMsgKind::Warning);
        }
        EXPECT_EQ(SaveAllCalls, c.DialogConfirmed ? 1 : 0);
        std::vector<std::string> titles = Printer.JobTitles();
        ASSERT_EQ(titles.size() - before, c.Jobs);
        for (size_t i = before; i < titles.size(); ++i) EXPECT_EQ(titles[i], "") << i;
        EXPECT_FALSE(FileExists(GetTempFolder() + "PRINT.RTF"));
        SetCurrentPrinterName(Narrow(L"Bran Testprinter"));
    }
}

// A stored report printed from the main window's service list goes through the same printing.
TEST_F(PrintReport, StoredReportFromTheServiceList) {
    ASSERT_EQ(Printer.Error, 0u);
    RegisterServiceForms();
    StoreReportText();
    auto report = std::make_shared<THelpdeskReport>("Reports\\Kasboek\\Report01", AppRef);
    THelpdeskReportService service(AppRef, report);
    TMessageRecorder boxes;
    EXPECT_TRUE(service.Print(AppRef, 2));
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Bezig met afdrukken."});
    EXPECT_EQ(Printer.JobTitles().size(), 2u);
}

// Half an inch of margin where the printer's unprintable edge is smaller; the right and bottom edges
// keep as much from the printable area's end as the whole unprintable width or height.
TEST_F(PrintReport, MarginsOfThePrinter) {
    ASSERT_EQ(Printer.Error, 0u);
    RECT r = GetPrintMargins();
    TPrinter printer;
    int dpi = printer.PixelsPerInchX();
    ASSERT_GT(dpi, 0);
    // A4 (595 x 842 points) with 18 points unprintable on every edge.
    auto px = [dpi](double points) { return points * dpi / 72.0; };
    EXPECT_NEAR(r.left, dpi / 2, 1);
    EXPECT_NEAR(r.top, dpi / 2, 1);
    EXPECT_NEAR(r.right, px(559) - px(36), 3);
    EXPECT_NEAR(r.bottom, px(806) - px(36), 3);
    SetCurrentPrinterName("Verdwenen printer");
    RECT none = GetPrintMargins();
    EXPECT_EQ(none.left | none.top | none.right | none.bottom, 0);
}
