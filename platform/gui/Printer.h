#pragma once
// The printer: a device context on a printer, with the document and page brackets around it.
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"

// The printer the print and printer-setup dialogs chose last; the system's default until then.
std::string CurrentPrinterName();
void SetCurrentPrinterName(const std::string& name);
std::string DefaultPrinterName();
std::vector<std::string> PrinterNames();

class TPrinter {
public:
    // Opens the named printer (empty: the current printer). Throws EBrantel when there is none.
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
};
