#include "platform/gui/Dialogs.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <functional>

#include <commdlg.h>

#include "core/StrConv.h"
#include "platform/gui/Printer.h"

namespace {
TFileDialogHook& FileHook() {
    static TFileDialogHook hook;
    return hook;
}

TPrintDialogHook& PrintHook() {
    static TPrintDialogHook hook;
    return hook;
}

// The filter as the dialog wants it: pairs separated by NUL, ending in two NULs.
std::wstring DialogFilter(const std::string& filter) {
    std::wstring result = Widen(filter);
    for (auto& ch : result)
        if (ch == L'|') ch = L'\0';
    result.push_back(L'\0');
    result.push_back(L'\0');
    return result;
}

// Owns a global memory block of a print dialog: what it starts from and what it hands back.
class TGlobalBlock {
public:
    explicit TGlobalBlock(HGLOBAL& handle) : FHandle(handle) {}
    ~TGlobalBlock() {
        if (FHandle) GlobalFree(FHandle);
    }
    TGlobalBlock(const TGlobalBlock&) = delete;
    TGlobalBlock& operator=(const TGlobalBlock&) = delete;

private:
    HGLOBAL& FHandle;  // the dialog may replace the block it was given
};

HGLOBAL GlobalCopy(const void* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = block ? GlobalLock(block) : nullptr;
    if (!target) {
        if (block) GlobalFree(block);
        return nullptr;
    }
    memcpy(target, data, size);
    GlobalUnlock(block);
    return block;
}

std::string PrinterOfDevNames(HGLOBAL devNames) {
    if (!devNames) return {};
    auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames));
    if (!names) return {};
    std::string name = Narrow(reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset);
    GlobalUnlock(devNames);
    return name;
}

std::vector<BYTE> DeviceModeOf(HGLOBAL devMode) {
    const auto* mode = static_cast<const BYTE*>(devMode ? GlobalLock(devMode) : nullptr);
    if (!mode) return {};
    const auto* dm = reinterpret_cast<const DEVMODEW*>(mode);
    const size_t size = std::min<size_t>(size_t{dm->dmSize} + dm->dmDriverExtra, GlobalSize(devMode));
    std::vector<BYTE> bytes(mode, mode + size);
    GlobalUnlock(devMode);
    return bytes;
}

// The dialog starts on the printer chosen before, with the settings chosen for it; on the default
// printer when that one is gone (a dialog may answer a printer it cannot find with an error).
void StartOnPrinter(PRINTDLGW& pd, const TPrintDialogRequest& request) {
    const std::vector<std::string> printers = PrinterNames();
    if (std::find(printers.begin(), printers.end(), request.PrinterName) == printers.end()) return;
    // DEVNAMES, then the driver, the printer and the port, each ending in a NUL; offsets in characters.
    constexpr WORD header = sizeof(DEVNAMES) / sizeof(wchar_t);
    const std::wstring driver = L"winspool", device = Widen(request.PrinterName);
    DEVNAMES names{header, static_cast<WORD>(header + driver.size() + 1),
                   static_cast<WORD>(header + driver.size() + 1 + device.size() + 1), 0};
    std::wstring block(header, L'\0');
    memcpy(block.data(), &names, sizeof names);
    block += driver + L'\0' + device + L'\0' + L'\0';
    pd.hDevNames = GlobalCopy(block.data(), block.size() * sizeof(wchar_t));
    if (!request.DeviceMode.empty()) pd.hDevMode = GlobalCopy(request.DeviceMode.data(), request.DeviceMode.size());
}

HWND DialogOwner() { return GetActiveWindow(); }

// Shows the platform's print or printer-setup dialog. On OK the chosen printer and its settings go into
// the request and `read` may take more from the dialog before its device blocks are freed.
bool RunPrintDialog(PRINTDLGW& pd, TPrintDialogRequest& request,
                    const std::function<void(const PRINTDLGW&)>& read = {}) {
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = DialogOwner();
    TGlobalBlock devMode{pd.hDevMode}, devNames{pd.hDevNames};
    StartOnPrinter(pd, request);
    if (!PrintDlgW(&pd)) return false;
    request.PrinterName = PrinterOfDevNames(pd.hDevNames);
    request.DeviceMode = DeviceModeOf(pd.hDevMode);
    if (read) read(pd);
    return true;
}

// The caller makes the copies, one print job each: the printer's settings print one.
void OneCopy(std::vector<BYTE>& mode) {
    if (mode.size() < offsetof(DEVMODEW, dmColor)) return;
    auto* dm = reinterpret_cast<DEVMODEW*>(mode.data());
    if (dm->dmFields & DM_COPIES) dm->dmCopies = 1;
}
}  // namespace

void SetFileDialogHook(TFileDialogHook hook) { FileHook() = std::move(hook); }
void SetPrintDialogHook(TPrintDialogHook hook) { PrintHook() = std::move(hook); }

bool TFileDialog::Execute() {
    if (FileHook()) {
        auto answer = FileHook()(TFileDialogRequest{FKind, Title, Filter, InitialDir, FileName, DefaultExt});
        if (!answer) return false;
        FileName = *answer;
        return true;
    }
    std::wstring filter = DialogFilter(Filter), title = Widen(Title), initialDir = Widen(InitialDir),
                 defaultExt = Widen(DefaultExt);
    std::wstring file = Widen(FileName);
    file.resize(MAX_PATH * 4, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = DialogOwner();
    ofn.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : initialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING;
    if (Options & ofOverwritePrompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (Options & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
    if (Options & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
    if (Options & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
    if (Options & ofNoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;
    BOOL ok = FKind == TFileDialogKind::Open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    if (!ok) return false;
    FileName = Narrow(file.c_str());
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

bool TPrintDialog::Execute() {
    TPrintDialogRequest request;
    static_cast<TPrintSettings&>(request) = *this;
    request.PrinterName = CurrentPrinterName();
    request.DeviceMode = CurrentDeviceMode();
    if (PrintHook()) {
        if (!PrintHook()(request)) return false;
    } else {
        PRINTDLGW pd{};
        pd.Flags = PD_USEDEVMODECOPIESANDCOLLATE;
        if (!(Options & poSelection)) pd.Flags |= PD_NOSELECTION;
        if (!(Options & poPageNums)) pd.Flags |= PD_NOPAGENUMS;
        if (!(Options & poPrintToFile)) pd.Flags |= PD_HIDEPRINTTOFILE;
        if (Options & poDisablePrintToFile) pd.Flags |= PD_DISABLEPRINTTOFILE;
        if (Collate) pd.Flags |= PD_COLLATE;
        if (PrintToFile) pd.Flags |= PD_PRINTTOFILE;
        if (PrintRange == TPrintRange::prSelection) pd.Flags |= PD_SELECTION;
        if (PrintRange == TPrintRange::prPageNums) pd.Flags |= PD_PAGENUMS;
        pd.nCopies = static_cast<WORD>(Copies);
        pd.nFromPage = static_cast<WORD>(FromPage);
        pd.nToPage = static_cast<WORD>(ToPage);
        pd.nMinPage = static_cast<WORD>(MinPage);
        pd.nMaxPage = static_cast<WORD>(MaxPage);
        auto readCopies = [&](const PRINTDLGW& chosen) {
            request.Copies = chosen.nCopies;
            if (auto* mode = static_cast<DEVMODEW*>(chosen.hDevMode ? GlobalLock(chosen.hDevMode) : nullptr)) {
                if (mode->dmFields & DM_COPIES) request.Copies = mode->dmCopies;
                GlobalUnlock(chosen.hDevMode);
            }
        };
        if (!RunPrintDialog(pd, request, readCopies)) return false;
        request.Collate = (pd.Flags & PD_COLLATE) != 0;
        request.PrintToFile = (pd.Flags & PD_PRINTTOFILE) != 0;
        request.PrintRange = (pd.Flags & PD_PAGENUMS)   ? TPrintRange::prPageNums
                             : (pd.Flags & PD_SELECTION) ? TPrintRange::prSelection
                                                         : TPrintRange::prAllPages;
        request.FromPage = pd.nFromPage;
        request.ToPage = pd.nToPage;
    }
    OneCopy(request.DeviceMode);
    static_cast<TPrintSettings&>(*this) = request;
    if (!request.PrinterName.empty()) SetCurrentPrinter(request.PrinterName, request.DeviceMode);
    return true;
}

bool TPrinterSetupDialog::Execute() {
    TPrintDialogRequest request;
    request.Setup = true;
    request.PrinterName = CurrentPrinterName();
    request.DeviceMode = CurrentDeviceMode();
    if (PrintHook()) {
        if (!PrintHook()(request)) return false;
    } else {
        PRINTDLGW pd{};
        pd.Flags = PD_PRINTSETUP;
        if (!RunPrintDialog(pd, request)) return false;
    }
    if (!request.PrinterName.empty()) SetCurrentPrinter(request.PrinterName, request.DeviceMode);
    return true;
}
