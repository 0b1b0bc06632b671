#include <gtest/gtest.h>

#include <windows.h>
#include <dlgs.h>
#include <winspool.h>

#include "DeliveryTestSupport.h"
#include "ModalWatcher.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Helpdesk/ReportService.h"
#include "Source/Common/Shell/ServiceForms.h"
#include "platform/gui/Form.h"
#include "platform/gui/Printer.h"
#include "platform/gui/RichEdit.h"

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
    // The PostScript of each job received.
    std::vector<std::string> Jobs() const {
        std::vector<std::string> jobs;
        const std::string out = Output();
        for (size_t at = out.find("%!PS-Adobe"); at != std::string::npos;) {
            size_t next = out.find("%!PS-Adobe", at + 1);
            jobs.push_back(out.substr(at, next == std::string::npos ? next : next - at));
            at = next;
        }
        return jobs;
    }
    // Jobs received, and their titles.
    std::vector<std::string> JobTitles() const {
        std::vector<std::string> titles;
        for (const std::string& job : Jobs()) {
            size_t title = job.find("%%Title:");
            size_t end = title == std::string::npos ? title : job.find_first_of("\r\n", title);
            titles.push_back(title == std::string::npos ? "?" : Trim(job.substr(title + 8, end - title - 8)));
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

// The paper and orientation the user chooses in the real printer-setup dialog are those the report is
// printed on and its margins are measured on; the real print dialog starts from them and keeps them,
// and the copies it asks for are jobs of one copy each.
TEST_F(PrintReport, PaperAndOrientationOfTheDialogs) {
    ASSERT_EQ(Printer.Error, 0u);
    StoreReportText();
    std::string papers;
    {
        TModalWatcher user(L"#32770", [&papers](HWND dialog) {
            HWND paper = GetDlgItem(dialog, cmb2);
            LRESULT a5 = SendMessageW(paper, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"A5"));
            papers = a5 == CB_ERR ? "no A5" : "A5";
            SendMessageW(paper, CB_SETCURSEL, static_cast<WPARAM>(a5), 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb2, CBN_SELCHANGE), reinterpret_cast<LPARAM>(paper));
            SendMessageW(GetDlgItem(dialog, rad2), BM_CLICK, 0, 0);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        TPrinterSetupDialog setup;
        ASSERT_TRUE(setup.Execute());
        ASSERT_EQ(user.Seen().size(), 1u);
    }
    EXPECT_EQ(papers, "A5");
    EXPECT_EQ(CurrentPrinterName(), "Bran Testprinter");

    // A5 across (595 x 420 points) with 18 points unprintable on every edge.
    RECT margins = GetPrintMargins();
    const int dpi = TPrinter().PixelsPerInchX();
    auto px = [dpi](double points) { return points * dpi / 72.0; };
    EXPECT_NEAR(margins.right, px(559) - px(36), 3);
    EXPECT_NEAR(margins.bottom, px(384) - px(36), 3);

    const size_t before = Printer.Jobs().size();
    {
        TModalWatcher user(L"#32770", [](HWND dialog) {
            SetDlgItemInt(dialog, edt3, 2, FALSE);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
        TMessageRecorder boxes;
        EXPECT_TRUE(Delivery.PrintReportDialog(*Report));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Bezig met afdrukken."});
        EXPECT_EQ(user.Seen().size(), 1u);
    }
    const std::vector<std::string> jobs = Printer.Jobs();
    ASSERT_EQ(jobs.size() - before, 2u);
    for (size_t i = before; i < jobs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(jobs[i].find("PageSize[420 595]"), std::string::npos) << jobs[i].substr(0, 3000);
        EXPECT_NE(jobs[i].find("%%Orientation: Landscape"), std::string::npos);
        EXPECT_EQ(jobs[i].find("NumCopies"), std::string::npos);
    }

    // The printer chosen before is gone: the dialog opens on the system's default, not on none.
    struct TDefaultPrinter {
        const std::string Before = DefaultPrinterName();
        TDefaultPrinter() { SetDefaultPrinterW(L"Bran Testprinter"); }
        ~TDefaultPrinter() {
            if (!Before.empty()) SetDefaultPrinterW(Widen(Before).c_str());
            else RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", L"Device");
        }
    } systemDefault;
    SetCurrentPrinterName("Verdwenen printer");
    {
        TModalWatcher user(L"#32770", TModalWatcher::Press(IDOK));
        TPrintDialog dialog;
        EXPECT_TRUE(dialog.Execute());
        EXPECT_EQ(user.Seen().size(), 1u);
    }
    EXPECT_EQ(CurrentPrinterName(), "Bran Testprinter");
}

// A spooler that cannot take the end of a document, its disk full, fails the print: the job is given up
// and nothing says it was printed. Printed to a file on a small disk that tests/checks/full_disk.sh
// mounts and names in BRAN_FULL_DISK.
TEST_F(PrintReport, ASpoolerThatRefusesTheEndFailsThePrint) {
    char disk[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("BRAN_FULL_DISK", disk, MAX_PATH)) GTEST_SKIP() << "no small disk given";
    ASSERT_EQ(Printer.Error, 0u);
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
    for (int line = 1; line <= 300; ++line) rtf += "Regel " + std::to_string(line) + " van het rapport\\par ";
    rtf += "}";
    TForm host;
    TRichEdit edit(&host);
    edit.LoadFromStream(rtf);
    TPrinter printer;

    // The whole document, and where its first page begins, on a disk with room.
    printer.OutputFile = Folder / "ruim.ps";
    ASSERT_GT(edit.Print(printer, "Rapport"), 2);
    const std::string whole = ReadFileBytes(printer.OutputFile);
    const size_t firstPage = whole.find("%%Page: 1");
    ASSERT_NE(firstPage, std::string::npos);

    // On the small disk only the start of it fits, more than the document's opening.
    const std::string root = IncludeTrailingBackslash(disk);
    const uint64_t room = std::min<uint64_t>(DiskFree(root).value_or(0), whole.size() / 2);
    ASSERT_GT(room, firstPage + 8192);
    WriteFileBytes(root + "vol.dat", std::string(DiskFree(root).value_or(0) - room, 'v'));
    printer.OutputFile = root + "rapport.ps";
    try {
        edit.Print(printer, "Rapport");
        ADD_FAILURE() << "printed on a full disk";
    } catch (const EBrantel& e) {
        // Its start was taken: the refusal came at a page's or the document's end.
        EXPECT_EQ(std::string(e.what()).rfind("TPrinter.End", 0), 0u) << e.what();
    }
    EXPECT_FALSE(printer.Printing());
    FileDelete(root + "rapport.ps");
    FileDelete(root + "vol.dat");
}
