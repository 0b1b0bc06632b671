#pragma once
// TPrinterInfo ("Printer"): every installed printer with its name, status, port, print processor,
// data type, default and shared flags, spooler priority and, on the Windows 9x family, the settings
// of its default device mode. A printer record is filled from the spooler's level-2 record, so the
// lines can be checked from given records.
#include <windows.h>
#include <winspool.h>

#include <memory>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"

// "Gereed" for a status word that is no single known state (none, or several bits at once).
std::string PrinterStatusText(DWORD status);
// A device-mode paper size code as text; unknown codes are "Gedefinieerd door gebruiker".
std::string PaperSizeText(int code);

class TPrintDeviceInfo : public TBranObject {
public:
    // Fills the record the way the running platform family reports it: the NT family only knows
    // three states and gives no device-mode details.
    explicit TPrintDeviceInfo(const PRINTER_INFO_2W& record);

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
