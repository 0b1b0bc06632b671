#include "Source/Common/Internet/DownloadForm.h"

#include <shlwapi.h>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/gui/Graphics.h"

namespace {
// The path shortened with an ellipsis in its middle so that it fits `width` pixels in the font.
std::string FitPath(const std::string& path, const TFont& font, int width) {
    std::wstring text = Widen(path);
    text.resize(std::max<size_t>(text.size() + 1, MAX_PATH));
    TWindowDC screen(nullptr);
    TSelectObject selected(screen.Get(), SharedFont(font));
    PathCompactPathW(screen.Get(), text.data(), static_cast<UINT>(width));
    return Narrow(text.c_str());
}
}  // namespace

// --- TDownloadForm -------------------------------------------------------------------------------------

TDownloadForm::TDownloadForm() {
    SetBorderStyle(TBorderStyle::bsDialog);
    Position = TPosition::poScreenCenter;
    FHttp.OnDocOutput = [this](THttpClient&, const THttpDocOutput& output) {
        ReportExceptions([&] { HttpDocOutput(output); });
    };
    FPoll.OnTimer = [this](TTimer*) { ReportExceptions([this] { PollTimer(); }); };
}

void TDownloadForm::DoShow() {
    FSucceeded = false;
    FDone = false;
    FGotData = false;
    FFailure = THttpFailure::Cancelled;
    TBranForm::DoShow();
    FHttp.GetDoc(Url, TargetFile, Expect);
    FPoll.SetEnabled(true);
}

void TDownloadForm::DoHide() {
    // Closed before the end (Cancel, the close box): the transfer stops and leaves nothing behind.
    FPoll.SetEnabled(false);
    if (FHttp.Busy()) {
        FHttp.Cancel();
        FSucceeded = false;
    }
    TBranForm::DoHide();
}

void TDownloadForm::HttpDocOutput(const THttpDocOutput& output) {
    if (output.BytesTransferred > 0) FGotData = true;
    FDone = output.State == hdsEndOfDocument && !FHttp.Busy();
}

void TDownloadForm::PollTimer() {
    if (!FDone) return;
    FPoll.SetEnabled(false);
    // Bytes alone are not enough: an error page or a cut-off body arrives as bytes too.
    FFailure = FHttp.Failure();
    FSucceeded = FGotData && FHttp.Succeeded();
    SetModalResult(mrOk);
}

// --- TfrmOnlineUpdateDownload -----------------------------------------------------------------------

TfrmOnlineUpdateDownload::TfrmOnlineUpdateDownload() {
    SetCaption("Online update");
    SetClientSize(380, 118);
    lblDownloading.SetBounds(12, 12, 356, 16);
    lblFilename.SetAutoSize(false);
    lblFilename.ShowAccelChar = false;
    lblFilename.SetBounds(12, 32, 356, 16);
    barProgress.SetBounds(12, 56, 356, 16);
    barProgress.SetMax(100);
    btnCancel.SetKind(TBitBtnKind::bkCancel);
    btnCancel.SetBounds(145, 82, 90, 26);
    OnShow = [this](TControl* s) { FormShow(s); };
    btnCancel.OnClick = [this](TControl* s) { btnCancelClick(s); };
}

void TfrmOnlineUpdateDownload::FormShow(TControl*) {
    lblFilename.SetCaption(FitPath(LowerCase(TargetFile), lblFilename.Font(), lblFilename.Width()));
}

void TfrmOnlineUpdateDownload::btnCancelClick(TControl*) {
    FSucceeded = false;
    FFailure = THttpFailure::Cancelled;
    Http().Cancel();
}

void TfrmOnlineUpdateDownload::HttpDocOutput(const THttpDocOutput& output) {
    // Shown in hundredths, so that files past 2 GB do not overflow the bar's range.
    const int64_t total = output.BytesTotal;
    if (total > 0) barProgress.SetPosition(static_cast<int>(std::min<int64_t>(output.BytesTransferred, total) * 100 / total));
    TDownloadForm::HttpDocOutput(output);
}

// --- TfrmEnewsDownload --------------------------------------------------------------------------------

TfrmEnewsDownload::TfrmEnewsDownload() {
    SetCaption("Versturen e-nieuws");
    SetClientSize(300, 56);
    lblMessage.SetBounds(16, 20, 268, 16);
    OnShow = [this](TControl* s) { FormShow(s); };
    OnHide = [this](TControl* s) { FormHide(s); };
}

void TfrmEnewsDownload::FormShow(TControl*) { FHourglass = std::make_unique<THourglass>(); }

void TfrmEnewsDownload::FormHide(TControl*) { FHourglass.reset(); }

// --- DownloadFile ---------------------------------------------------------------------------------------

bool DownloadFile(const TDownloadFormClass& formClass, const std::string& caption, const std::string& url,
                  const std::string& targetFile) {
    return DownloadChecked(formClass, caption, url, targetFile, {}) == THttpFailure::None;
}

THttpFailure DownloadChecked(const TDownloadFormClass& formClass, const std::string& caption, const std::string& url,
                             const std::string& targetFile, const THttpExpectation& expect) {
    if (FileExists(targetFile)) {
        ClearFileAttributes(targetFile);
        // Fetching what could not take its place would only lose the user's time.
        if (!FileDelete(targetFile)) return THttpFailure::InUse;
    } else if (!ForceDirectories(ExtractFilePath(targetFile))) {
        throw EBrantel("Unable to create directory");
    }
    THttpFailure failure = THttpFailure::Connection;
    try {
        TFormPtr<TDownloadForm> form = formClass();
        if (!caption.empty()) form->SetCaption(caption);
        form->Url = url;
        form->TargetFile = targetFile;
        form->Expect = expect;
        form->ShowModal();
        failure = form->Failure();
    } catch (const EBrantel&) {
        failure = THttpFailure::Connection;
    }
    // A stale file (one that could not be deleted) must never pass for what was asked for.
    if (failure != THttpFailure::None && FileExists(targetFile)) FileDelete(targetFile);
    return failure;
}
