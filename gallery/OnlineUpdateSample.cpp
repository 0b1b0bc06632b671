// The online update on each of its pages, with offers and downloaded setups, and the two download
// windows.
#include "Gallery.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/Services.h"
#include "Source/Common/Internet/DownloadForm.h"
#include "Source/Common/Internet/OnlineUpdateForm.h"
#include "Source/Common/Shell/BranModel.h"
#include "lib/App.h"
#include "platform/Files.h"

namespace {
std::shared_ptr<TServiceItem> SampleApplication(const std::string& name, const std::string& build) {
    auto app = std::make_shared<TBranApplication>();
    app->Name().SetAsString(name);
    app->Build().SetAsString(build);
    return app;
}

std::unique_ptr<TfrmOnlineUpdate> OnlineUpdateSample() {
    static std::unique_ptr<TAppModel> model = GlobalApp().FindObjDesc("TUser") ? nullptr : BuildBranServiceModel();
    static std::vector<std::shared_ptr<TServiceItem>> items = {
        std::shared_ptr<TServiceItem>(&GetGeneralServiceItem(), [](TServiceItem*) {}),
        SampleApplication("Brantel Boekhouden", "4.2.0.7"), SampleApplication("Brantel Facturering", "2.0.3.1")};
    auto form = std::make_unique<TfrmOnlineUpdate>();
    form->DoCreate();
    form->SetServiceItems(items[0], items);
    return form;
}

// Shows a page as the wizard's own navigation would.
void ShowPage(TForm& form, TTabSheet TfrmOnlineUpdate::*page, bool close) {
    auto& wizard = static_cast<TfrmOnlineUpdate&>(form);
    wizard.pgcWizard.SetActivePage(&(wizard.*page));
    wizard.UpdateNavigation();
    wizard.UpdateProgress();
    if (close) wizard.SetCancelAsClose();
}

const TGalleryRegistration Connection("TfrmOnlineUpdate", [] { return OnlineUpdateSample(); });

const TGalleryRegistration NoUpdates("TfrmOnlineUpdate.NoUpdates", [] {
    SetGalleryPrepare([](TForm& form) {
        // As after a check without news: the pages of offers are out of the way.
        auto& f = static_cast<TfrmOnlineUpdate&>(form);
        f.tabUpdates.SetEnabled(false);
        f.tabInstall.SetEnabled(false);
        ShowPage(form, &TfrmOnlineUpdate::tabNoUpdates, true);
    });
    return OnlineUpdateSample();
});

const TGalleryRegistration Updates("TfrmOnlineUpdate.Updates", [] {
    SetGalleryPrepare([](TForm& form) {
        auto& f = static_cast<TfrmOnlineUpdate&>(form);
        const std::string index = GetTempFolder() + "BranGalleryUpdate.ini";
        WriteFileBytes(index,
                       "[Brantel Boekhouden]\r\nReleaseVersion=4.3.0.0\r\nReleaseDate=20260112\r\nUpdateSize=500\r\n"
                       "UpdateInfo=http://127.0.0.1/info.html\r\nUpdateExe=http://127.0.0.1/b.exe\r\n"
                       "[Brantel Facturering]\r\nReleaseVersion=2.1\r\nReleaseDate=20261503\r\nUpdateSize=580\r\n"
                       "UpdateExe=http://127.0.0.1/f.exe\r\nUpgradeExe=http://127.0.0.1/fd.exe\r\nUpgradeSize=2310\r\n"
                       "[Bran-Service]\r\nReleaseVersion=9.0\r\nReleaseDate=20260201\r\nUpdateSize=850\r\n");
        f.ReadUpdateIndex(index);
        FileDelete(index);
        f.lstUpdates.SetChecked(0, true);
        f.lstUpdates.SetChecked(2, true);
        f.lstUpdates.SetSelected(1);  // Boekhouden, which has a page to show
        ShowPage(form, &TfrmOnlineUpdate::tabUpdates, false);
    });
    return OnlineUpdateSample();
});

const TGalleryRegistration Install("TfrmOnlineUpdate.Install", [] {
    SetGalleryPrepare([](TForm& form) {
        auto& f = static_cast<TfrmOnlineUpdate&>(form);
        const std::string folder = GetTempFolder() + "BranGalleryUpdates\\";
        ForceDirectories(folder);
        WriteFileBytes(folder + "setup.exe", "MZ");
        f.AddSetup(std::make_shared<TLocalUpdateService>(GetGeneralServiceItem(), folder + "setup.exe"));
        ShowPage(form, &TfrmOnlineUpdate::tabInstall, true);
    });
    return OnlineUpdateSample();
});

template <class T>
std::unique_ptr<TForm> DownloadSample(int percent) {
    auto form = std::make_unique<T>();
    form->DoCreate();
    // A long path, so that the file name shows its ellipsis; no address, so nothing is fetched.
    form->TargetFile = "C:\\Program Files\\Brantel\\Bran-Service\\Updates\\Brantel Boekhouden\\setup.exe";
    if (percent >= 0) {
        SetGalleryPrepare([percent](TForm& shown) {
            static_cast<TfrmOnlineUpdateDownload&>(shown).barProgress.SetPosition(percent);
        });
    }
    return form;
}

const TGalleryRegistration OnlineUpdateDownload("TfrmOnlineUpdateDownload",
                                                [] { return DownloadSample<TfrmOnlineUpdateDownload>(40); });
const TGalleryRegistration EnewsDownload("TfrmEnewsDownload", [] { return DownloadSample<TfrmEnewsDownload>(-1); });
}  // namespace
