#pragma once
// The attachments of a helpdesk report: a dialog that lists them and lets the user add and remove
// entries. Nothing on disk changes while it is open; OK hands back the new list, after which the
// report brings its folder in line (THelpdeskReport::UpdateAttachments).
#include <string>
#include <vector>

#include "lib/BranButtons.h"
#include "platform/gui/Bevel.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListView.h"

class TfrmHelpdeskFiles : public TForm {
public:
    TfrmHelpdeskFiles();

    TLabel lblAppendix{this, "&Bijlagen van het helpdeskrapport"};
    TListView lstFiles{this};
    TBranButton btnListAdd{this};
    TBranButton btnListDelete{this};
    TBevel bvlButtons{this, TBevelShape::bsTopLine};
    TBranButton btnOK{this};
    TBranButton btnCancel{this};
    TBranButton btnHelp{this};
    TOpenDialog dlgOpenAppendix;

    // One entry per path: the file name and its size in kB; the entry keeps the full path.
    void AddFile(const std::string& path);
    // The full paths of the entries, in list order.
    std::vector<std::string> Files() const;

    void FormCreate(TControl* sender);
    void FormShow(TControl* sender);
    void btnListAddClick(TControl* sender);
    void btnListDeleteClick(TControl* sender);
    void lstFilesClick(TControl* sender);
};

// Shows the dialog over the active window with the attachments; on OK the list is replaced by the dialog's.
// Answers the dialog's modal result.
int RunHelpdeskFiles(std::vector<std::string>& attachments);

// "%d &Bijlage(n) (%d kB)...": the number of attachments and the size of those that still exist (the
// button's letter B, as its shortcut Ctrl+B; kB as every size the program shows).
std::string AttachmentsCaption(const std::vector<std::string>& attachments);
