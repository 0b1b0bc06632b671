#include "platform/gui/Dialogs.h"

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

// Frees the global memory blocks a print dialog hands back.
struct TGlobalBlock {
    HGLOBAL Handle;
    ~TGlobalBlock() {
        if (Handle) GlobalFree(Handle);
    }
};

std::string PrinterOfDevNames(HGLOBAL devNames) {
    if (!devNames) return {};
    auto* names = static_cast<DEVNAMES*>(GlobalLock(devNames));
    if (!names) return {};
    std::string name = Narrow(reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset);
    GlobalUnlock(devNames);
    return name;
}

HWND DialogOwner() { return GetActiveWindow(); }

// Shows the platform's print or printer-setup dialog. On OK the chosen printer goes into the request
// and `read` may take more from the dialog before its device blocks are freed.
bool RunPrintDialog(PRINTDLGW& pd, TPrintDialogRequest& request,
                    const std::function<void(const PRINTDLGW&)>& read = {}) {
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = DialogOwner();
    BOOL ok = PrintDlgW(&pd);
    TGlobalBlock devMode{pd.hDevMode}, devNames{pd.hDevNames};
    if (!ok) return false;
    request.PrinterName = PrinterOfDevNames(pd.hDevNames);
    if (read) read(pd);
    return true;
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
    request.PrinterName = CurrentPrinterName();
    static_cast<TPrintSettings&>(request) = *this;
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
    static_cast<TPrintSettings&>(*this) = request;
    if (!request.PrinterName.empty()) SetCurrentPrinterName(request.PrinterName);
    return true;
}

bool TPrinterSetupDialog::Execute() {
    TPrintDialogRequest request;
    request.Setup = true;
    request.PrinterName = CurrentPrinterName();
    if (PrintHook()) {
        if (!PrintHook()(request)) return false;
    } else {
        PRINTDLGW pd{};
        pd.Flags = PD_PRINTSETUP;
        if (!RunPrintDialog(pd, request)) return false;
    }
    if (!request.PrinterName.empty()) SetCurrentPrinterName(request.PrinterName);
    return true;
}
