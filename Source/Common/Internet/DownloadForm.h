#pragma once
// Every HTTP transfer of the program goes through DownloadFile: a small modal window fetches one
// address into one local file while the user can watch and cancel. The window class decides the
// looks; TDownloadForm decides when the transfer has ended and whether it succeeded.
#include <functional>
#include <memory>
#include <string>

#include "lib/BranButtons.h"
#include "lib/BranForm.h"
#include "lib/BranProgressBar.h"
#include "platform/HttpClient.h"
#include "platform/gui/Hourglass.h"
#include "platform/gui/Label.h"
#include "platform/gui/Timer.h"

class TDownloadForm : public TBranForm {
public:
    TDownloadForm();

    std::string Url;         // a complete "http://" address, query included
    std::string TargetFile;  // full path of the file to write
    THttpExpectation Expect;  // what the document must be to count
    bool Done() const { return FDone; }
    bool GotData() const { return FGotData; }
    // The result handed to the caller: the whole document, at least one byte, with a 2xx status.
    bool Succeeded() const { return FSucceeded; }
    // Why not (THttpFailure::None when it succeeded).
    THttpFailure Failure() const { return FSucceeded ? THttpFailure::None : FFailure; }
    THttpClient& Http() { return FHttp; }

protected:
    void DoShow() override;
    void DoHide() override;
    // Every progress report and the end of the document; subclasses extend it.
    virtual void HttpDocOutput(const THttpDocOutput& output);
    void PollTimer();

    bool FSucceeded = false;
    THttpFailure FFailure = THttpFailure::Cancelled;

private:
    TTimer FPoll{1000, true};
    bool FDone = false;
    bool FGotData = false;
    THttpClient FHttp;
};

// The window of the online update: the file being fetched, a progress bar and Cancel.
class TfrmOnlineUpdateDownload : public TDownloadForm {
public:
    TfrmOnlineUpdateDownload();
    TLabel lblDownloading{this, "Downloaden bestand:"};
    TLabel lblFilename{this};
    TBranProgressBar barProgress{this};
    TBranButton btnCancel{this};

    void FormShow(TControl* sender);
    void btnCancelClick(TControl* sender);

protected:
    void HttpDocOutput(const THttpDocOutput& output) override;
};

// The window of the web-form requests: one line of text and the hourglass.
class TfrmEnewsDownload : public TDownloadForm {
public:
    TfrmEnewsDownload();
    TLabel lblMessage{this, "Uw gegevens worden verstuurd."};

    void FormShow(TControl* sender);
    void FormHide(TControl* sender);

private:
    std::unique_ptr<THourglass> FHourglass;
};

using TDownloadFormClass = std::function<TFormPtr<TDownloadForm>()>;
template <class T>
TDownloadFormClass DownloadFormClass() {
    return [] { return TFormPtr<TDownloadForm>(CreateForm<T>().release()); };
}

// Fetches url into targetFile in a modal window of the given class, owned by the main window; a
// non-empty caption replaces the window's own. An existing target is deleted first, missing folders
// are created (EBrantel "Unable to create directory" when that fails). True when the whole document
// arrived; on false nothing is left under targetFile.
bool DownloadFile(const TDownloadFormClass& formClass, const std::string& caption, const std::string& url,
                  const std::string& targetFile);
// The same for a document the caller knows more of; tells why it failed (THttpFailure::None when
// it did not). A target that cannot be deleted first (a setup still running) fails at once with
// THttpFailure::InUse and stays as it is.
THttpFailure DownloadChecked(const TDownloadFormClass& formClass, const std::string& caption, const std::string& url,
                             const std::string& targetFile, const THttpExpectation& expect);
