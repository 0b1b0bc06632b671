#include "Source/Common/Helpdesk/HelpdeskFiles.h"

#include <algorithm>

#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/FileHelpers.h"
#include "platform/Files.h"
#include "platform/gui/Application.h"

namespace {
// The report's own files: an attachment of that name would overwrite them in the folder and the archive.
bool IsReportFileName(const std::string& name) {
    const std::string upper = UpperCase(name);
    return upper == "CASE.RTF" || upper == "CASE.INI" || upper == "CASE.ZIP";
}
}  // namespace

TfrmHelpdeskFiles::TfrmHelpdeskFiles() {
    SetCaption("Bijlagen");
    SetBorderStyle(TBorderStyle::bsDialog);
    Position = TPosition::poScreenCenter;
    SetFontWith([](TFont& f) { f.Name = "MS Sans Serif"; });
    // Only the help button in the title bar.
    ModifyStyle(0, WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    SetWindowLongW(Handle(), GWL_EXSTYLE, GetWindowLongW(Handle(), GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    SetClientSize(448, 250);

    lblAppendix.SetBounds(8, 8, 320, 16);
    lblAppendix.FocusControl = &lstFiles;
    lstFiles.SetBounds(8, 26, 326, 176);
    lstFiles.SetViewStyle(TViewStyle::vsReport);
    lstFiles.SetReadOnly(true);
    lstFiles.SetRowSelect(true);
    lstFiles.SetMultiSelect(false);
    lstFiles.AddColumn({"Naam", 225});
    lstFiles.AddColumn({"Grootte", 80, TAlignment::taRightJustify});
    btnListAdd.SetKind(TBitBtnKind::bkListAdd);
    btnListAdd.SetBounds(342, 26, 98, 24);
    btnListDelete.SetKind(TBitBtnKind::bkListDelete);
    btnListDelete.SetBounds(342, 56, 98, 24);
    bvlButtons.SetBounds(8, 210, 432, 2);
    btnOK.SetKind(TBitBtnKind::bkOK);
    btnOK.SetDefault(true);
    btnOK.SetBounds(132, 218, 98, 24);
    btnCancel.SetKind(TBitBtnKind::bkCancel);
    btnCancel.SetBounds(236, 218, 98, 24);
    btnHelp.SetKind(TBitBtnKind::bkHelp);
    btnHelp.SetBounds(342, 218, 98, 24);

    OnCreate = [this](TControl* s) { FormCreate(s); };
    OnShow = [this](TControl* s) { FormShow(s); };
    btnListAdd.OnClick = [this](TControl* s) { btnListAddClick(s); };
    btnListDelete.OnClick = [this](TControl* s) { btnListDeleteClick(s); };
    btnHelp.OnClick = [this](TControl*) { Application().HelpContext(HelpContext); };
    lstFiles.OnChange = [this](TControl* s) { lstFilesClick(s); };
    lstFiles.OnClick = [this](TControl* s) { lstFilesClick(s); };
}

void TfrmHelpdeskFiles::FormCreate(TControl*) { HelpContext = 1019; }

void TfrmHelpdeskFiles::FormShow(TControl*) { btnListAdd.SetFocus(); }

void TfrmHelpdeskFiles::AddFile(const std::string& path) {
    const int index = lstFiles.AddItem(ExtractFileName(path), -1, std::make_shared<std::string>(path));
    lstFiles.SetSubItem(index, 0, Format("%d kB", {FileSizeKB(path)}));
}

std::vector<std::string> TfrmHelpdeskFiles::Files() const {
    std::vector<std::string> files;
    for (int i = 0; i < lstFiles.Count(); ++i) files.push_back(*lstFiles.ItemData<std::string>(i));
    return files;
}

void TfrmHelpdeskFiles::btnListAddClick(TControl*) {
    dlgOpenAppendix.Filter = "Alle bestanden (*.*)|*.*";
    if (dlgOpenAppendix.Execute()) {
        const std::string path = dlgOpenAppendix.FileName;
        const std::string name = ExtractFileName(path);
        // One folder holds the attachments, and its file system does not tell case apart: a second
        // file of the same name in another case would silently replace the first.
        bool listed = false;
        for (int i = 0; i < lstFiles.Count(); ++i) listed = listed || SameText(lstFiles.ItemCaption(i), name);
        if (!listed && !IsReportFileName(name)) AddFile(path);
    }
    lstFilesClick(&lstFiles);
}

void TfrmHelpdeskFiles::btnListDeleteClick(TControl*) {
    const int selected = lstFiles.Selected();
    if (selected >= 0) lstFiles.DeleteItem(selected);
    lstFilesClick(&lstFiles);
}

void TfrmHelpdeskFiles::lstFilesClick(TControl*) { btnListDelete.SetEnabled(lstFiles.Selected() >= 0); }

int RunHelpdeskFiles(std::vector<std::string>& attachments) {
    auto dialog = CreateForm<TfrmHelpdeskFiles>();
    for (const std::string& path : attachments) dialog->AddFile(path);
    dialog->btnListDelete.SetEnabled(false);
    const int result = dialog->ShowModal();
    if (result == mrOk) attachments = dialog->Files();
    return result;
}

std::string AttachmentsCaption(const std::vector<std::string>& attachments) {
    long long total = 0;
    for (const std::string& path : attachments) total += std::max(0LL, FileSizeKB(path));
    const int count = static_cast<int>(attachments.size());
    return Format("%d &%s (%d kB)...", {count, count == 1 ? "Bijlage" : "Bijlagen", total});
}
