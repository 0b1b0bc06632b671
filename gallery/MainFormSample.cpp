// The main window with one sample application of the maker: its services in the details view, and
// the general item's in the large-icon view.
#include "Gallery.h"
#include "Source/Common/Shell/MainForm.h"
#include "tests/support/SampleApplication.h"

namespace {
std::unique_ptr<TForm> MainWindowSample(std::vector<std::string> args, void (TfrmMain::*view)(TControl*)) {
    // The gallery's prefix is a throwaway one: the sample application may live in its registry.
    RegisterApplication({.Values = {{"", "Brantel Kasboek"}, {"ReleaseVersion", "2.1"}}});
    // Chosen once the window shows, whatever view the gallery's last main window left in the registry.
    SetGalleryPrepare([view](TForm& form) { (static_cast<TfrmMain&>(form).*view)(nullptr); });
    return std::make_unique<TfrmMain>(std::move(args));
}

const TGalleryRegistration MainWindow("TfrmMain", [] {
    return MainWindowSample({"-rBrantel Kasboek"}, &TfrmMain::mnuBeeldDetailsClick);
});
const TGalleryRegistration LargeIcons("TfrmMain.LargeIcons",
                                      [] { return MainWindowSample({}, &TfrmMain::mnuBeeldGrotepictogrammenClick); });
}  // namespace
