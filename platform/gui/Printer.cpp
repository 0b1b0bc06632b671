#include "platform/gui/Printer.h"

#include <winspool.h>

#include "core/Exceptions.h"
#include "core/StrConv.h"

namespace {
std::string& Current() {
    static std::string name;
    return name;
}
}  // namespace

std::string DefaultPrinterName() {
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0) return {};
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size)) return {};
    name.resize(size > 0 ? size - 1 : 0);
    return Narrow(name);
}

std::string CurrentPrinterName() { return Current().empty() ? DefaultPrinterName() : Current(); }
void SetCurrentPrinterName(const std::string& name) { Current() = name; }

std::vector<std::string> PrinterNames() {
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<std::string> names;
    if (needed == 0) return names;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buffer.data(), needed, &needed, &count))
        return names;
    auto* info = reinterpret_cast<PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) names.push_back(Narrow(info[i].pPrinterName));
    return names;
}

TPrinter::TPrinter(const std::string& name) : FName(name.empty() ? CurrentPrinterName() : name) {
    if (FName.empty()) throw EBrantel("TPrinter", "Create", "no printer installed", "Er is geen printer geïnstalleerd.");
    FDC.Reset(CreateDCW(L"WINSPOOL", Widen(FName).c_str(), nullptr, nullptr));
    if (!FDC.Get()) throw EBrantel("TPrinter", "Create", "printer '" + FName + "' not available");
}

TPrinter::~TPrinter() {
    if (FPrinting) Abort();
}

int TPrinter::PageWidth() const { return GetDeviceCaps(FDC.Get(), HORZRES); }
int TPrinter::PageHeight() const { return GetDeviceCaps(FDC.Get(), VERTRES); }
int TPrinter::PixelsPerInchX() const { return GetDeviceCaps(FDC.Get(), LOGPIXELSX); }
int TPrinter::PixelsPerInchY() const { return GetDeviceCaps(FDC.Get(), LOGPIXELSY); }

void TPrinter::BeginDoc(const std::string& title) {
    std::wstring docName = Widen(title), output = Widen(OutputFile);
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = docName.c_str();
    info.lpszOutput = OutputFile.empty() ? nullptr : output.c_str();
    if (StartDocW(FDC.Get(), &info) <= 0) throw EBrantel("TPrinter", "BeginDoc", "printing could not start");
    FPrinting = true;
    if (StartPage(FDC.Get()) <= 0) throw EBrantel("TPrinter", "BeginDoc", "page could not start");
    FPageOpen = true;
}

void TPrinter::NewPage() {
    if (FPageOpen) EndPage(FDC.Get());
    FPageOpen = StartPage(FDC.Get()) > 0;
    if (!FPageOpen) throw EBrantel("TPrinter", "NewPage", "page could not start");
}

void TPrinter::EndDoc() {
    if (FPageOpen) EndPage(FDC.Get());
    FPageOpen = false;
    if (FPrinting) ::EndDoc(FDC.Get());
    FPrinting = false;
}

void TPrinter::Abort() {
    AbortDoc(FDC.Get());
    FPrinting = false;
    FPageOpen = false;
}
