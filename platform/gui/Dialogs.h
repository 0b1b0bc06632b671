#pragma once
// The common dialogs: open, save, print and printer setup. Tests answer them through hooks
// (SetFileDialogHook, SetPrintDialogHook) instead of the user.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/Control.h"

enum TOpenOption : unsigned {
    ofOverwritePrompt = 1,
    ofHideReadOnly = 2,
    ofPathMustExist = 4,
    ofFileMustExist = 8,
    ofNoChangeDir = 16,
};

enum class TFileDialogKind { Open, Save };

// What a file dialog asks; a hook answers with a path or nothing (cancelled).
struct TFileDialogRequest {
    TFileDialogKind Kind;
    std::string Title, Filter, InitialDir, FileName, DefaultExt;
};

class TFileDialog {
public:
    virtual ~TFileDialog() = default;
    std::string Title;
    // "Tekstbestanden (*.txt)|*.txt|Alle bestanden (*.*)|*.*"
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string FileName;
    std::string DefaultExt;  // without the dot
    unsigned Options = ofHideReadOnly | ofPathMustExist;
    // Shows the dialog; true with FileName set when the user chose a file.
    bool Execute();

protected:
    explicit TFileDialog(TFileDialogKind kind) : FKind(kind) {}

private:
    TFileDialogKind FKind;
};

class TOpenDialog : public TFileDialog {
public:
    TOpenDialog() : TFileDialog(TFileDialogKind::Open) { Options |= ofFileMustExist; }
};

class TSaveDialog : public TFileDialog {
public:
    TSaveDialog() : TFileDialog(TFileDialogKind::Save) { Options |= ofOverwritePrompt; }
};

enum TPrintDialogOption : unsigned { poPrintToFile = 1, poPageNums = 2, poSelection = 4, poDisablePrintToFile = 8 };
enum class TPrintRange { prAllPages, prSelection, prPageNums };

// What a print dialog offers and the user chose.
struct TPrintSettings {
    int Copies = 1;
    bool Collate = false;
    bool PrintToFile = false;
    TPrintRange PrintRange = TPrintRange::prAllPages;
    int FromPage = 0, ToPage = 0, MinPage = 0, MaxPage = 0;
    unsigned Options = 0;
};

// The choices of a print or printer-setup dialog; a hook edits them and answers true for OK.
struct TPrintDialogRequest : TPrintSettings {
    bool Setup = false;  // printer setup instead of print
    std::string PrinterName;
    // The printer's settings (paper, orientation, ...) as a DEVMODEW with the driver's part; empty:
    // the driver's own. Both dialogs start from the current printer's and make the chosen ones current.
    std::vector<BYTE> DeviceMode;
};

// Tests only: the hooks answer instead of the user. The file hook answers the chosen path or nullopt
// (cancelled); the print hook edits the request and answers true for OK. Empty hooks restore the real
// dialogs.
using TFileDialogHook = std::function<std::optional<std::string>(const TFileDialogRequest& request)>;
using TPrintDialogHook = std::function<bool(TPrintDialogRequest& request)>;
void SetFileDialogHook(TFileDialogHook hook);
void SetPrintDialogHook(TPrintDialogHook hook);

class TPrintDialog : public TPrintSettings {
public:
    // Shows the dialog; on OK the settings are updated and the chosen printer becomes current with the
    // paper and orientation chosen for it. The copies are the caller's to make: the printer's settings
    // keep one.
    bool Execute();
};

class TPrinterSetupDialog {
public:
    // On OK the chosen printer becomes current with the paper and orientation chosen for it.
    bool Execute();
};
