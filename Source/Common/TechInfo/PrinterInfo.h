#pragma once
// TPrinterInfo ("Printer"): every installed printer with its name, status, port, print processor,
// data type, default and shared flags, spooler priority and, on the Windows 9x family, the settings
// of its default device mode. A printer record is filled from the spooler's level-2 record, so the
// lines can be checked from given records.
#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

// The state of the first known bit of the status word ("Gereed" when none is set); a printer set to
// work off-line, or whose print server is off-line, is "Off-line".
std::string PrinterStatusText(DWORD status, DWORD attributes = 0);
// A device-mode paper size code as text; unknown codes are "Gedefinieerd door gebruiker".
std::string PaperSizeText(int code);

class TPrintDeviceInfo : public TBranObject {
public:
    // Fills the record the way the running platform family reports it: the NT family gives no
    // device-mode details, and its default printer is the one named defaultPrinter.
    explicit TPrintDeviceInfo(const PRINTER_INFO_2W& record, std::string_view defaultPrinter = {});

    std::string PrinterName, Status, Port, PrintProcessor, DataType;
    bool IsDefault = false, IsShared = false;
    std::string Priority, DriverVersion, SpecVersion, PrinterMode, PrintQuality, PaperSize, Orientation, Duplex,
        TrueTypeOption;

private:
    void AssignDeviceMode(const DEVMODEW& mode);
};

class TPrinterInfo : public TTechInfo {
public:
    TPrinterInfo();

    std::vector<std::unique_ptr<TPrintDeviceInfo>> Printers;  // in enumeration order

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
