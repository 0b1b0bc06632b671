#pragma once
// The printer: a device context on a printer, with the document and page brackets around it.
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

// The printer the print and printer-setup dialogs chose last, with the settings chosen there (paper,
// orientation, ...: the driver's device mode); the system's default printer and its driver's settings
// until then.
std::string CurrentPrinterName();
// Another printer than the current one starts from its driver's settings.
void SetCurrentPrinterName(const std::string& name);
// The device mode chosen for the current printer (DEVMODEW with the driver's own part after it); empty:
// the driver's settings.
std::vector<BYTE> CurrentDeviceMode();
// A device mode made for another printer, or one that is not whole, is not kept.
void SetCurrentPrinter(const std::string& name, std::vector<BYTE> deviceMode);
std::string DefaultPrinterName();
std::vector<std::string> PrinterNames();

class TPrinter {
public:
    // Opens the named printer (empty: the current printer) with the settings chosen for it. Throws
    // EBrantel when there is none.
    explicit TPrinter(const std::string& name = {});
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    HDC DC() const { return FDC.Get(); }
    const std::string& Name() const { return FName; }
    int PageWidth() const;   // printable area, pixels
    int PageHeight() const;
    int PixelsPerInchX() const;
    int PixelsPerInchY() const;
    // Where the output goes: empty prints, a path prints to that file.
    std::string OutputFile;

    // Each throws EBrantel when the spooler refuses, after giving the job up: a document that lacks a
    // page is never left to print.
    void BeginDoc(const std::string& title);
    void NewPage();
    void EndDoc();
    // Ends the document without printing the rest (also done by the destructor of a running job).
    void Abort();
    bool Printing() const { return FPrinting; }

private:
    std::string FName;
    TOwnedDC FDC;
    bool FPrinting = false;
    bool FPageOpen = false;
    int FPages = 0;

    void EndCurrentPage();
    [[noreturn]] void Refused(const char* operation, const std::string& what);
};
