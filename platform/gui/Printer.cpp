#include "platform/gui/Printer.h"

#include <winspool.h>

#include <cstddef>
#include <cwchar>

#include "core/Exceptions.h"
#include "core/StrConv.h"

namespace {
struct TPrinterChoice {
    std::string Name;
    std::vector<BYTE> DeviceMode;
};

TPrinterChoice& Current() {
    static TPrinterChoice choice;
    return choice;
}

// The device mode names its printer in at most CCHDEVICENAME - 1 characters.
bool DeviceModeFits(const std::vector<BYTE>& mode, const std::string& printer) {
    if (mode.size() < offsetof(DEVMODEW, dmFields)) return false;
    const auto* dm = reinterpret_cast<const DEVMODEW*>(mode.data());
    if (dm->dmSize < offsetof(DEVMODEW, dmFields) || size_t{dm->dmSize} + dm->dmDriverExtra != mode.size()) return false;
    std::wstring device(dm->dmDeviceName, wcsnlen(dm->dmDeviceName, CCHDEVICENAME));
    return Widen(printer).compare(0, CCHDEVICENAME - 1, device, 0, CCHDEVICENAME - 1) == 0;
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

std::string CurrentPrinterName() { return Current().Name.empty() ? DefaultPrinterName() : Current().Name; }

void SetCurrentPrinterName(const std::string& name) {
    if (name != Current().Name) Current() = {name, {}};
}

std::vector<BYTE> CurrentDeviceMode() { return Current().DeviceMode; }

void SetCurrentPrinter(const std::string& name, std::vector<BYTE> deviceMode) {
    if (!DeviceModeFits(deviceMode, name)) deviceMode.clear();
    Current() = {name, std::move(deviceMode)};
}

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
    const std::vector<BYTE>& mode = Current().DeviceMode;
    const bool chosen = FName == Current().Name && !mode.empty();
    FDC.Reset(CreateDCW(L"WINSPOOL", Widen(FName).c_str(), nullptr,
                        chosen ? reinterpret_cast<const DEVMODEW*>(mode.data()) : nullptr));
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
    FPages = 0;
    if (StartDocW(FDC.Get(), &info) <= 0) throw EBrantel("TPrinter", "BeginDoc", "printing could not start");
    FPrinting = true;
    NewPage();
}

void TPrinter::NewPage() {
    EndCurrentPage();
    if (StartPage(FDC.Get()) <= 0) Refused("NewPage", "page " + std::to_string(FPages + 1) + " could not start");
    FPageOpen = true;
    ++FPages;
}

void TPrinter::EndDoc() {
    EndCurrentPage();
    if (FPrinting && ::EndDoc(FDC.Get()) <= 0) Refused("EndDoc", "the spooler did not take the document");
    FPrinting = false;
}

void TPrinter::EndCurrentPage() {
    if (!FPageOpen) return;
    FPageOpen = false;
    if (EndPage(FDC.Get()) <= 0) Refused("EndPage", "the spooler did not take page " + std::to_string(FPages));
}

void TPrinter::Refused(const char* operation, const std::string& what) {
    const DWORD error = GetLastError();
    Abort();
    throw EBrantel("TPrinter", operation, what + " (error " + std::to_string(error) + ")");
}

void TPrinter::Abort() {
    if (FPrinting) AbortDoc(FDC.Get());
    FPrinting = false;
    FPageOpen = false;
}
