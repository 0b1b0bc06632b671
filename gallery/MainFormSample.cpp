// The main window with one sample application of the maker, in the details view.
#include "Gallery.h"
#include "Source/Common/Shell/MainForm.h"
#include "tests/support/SampleApplication.h"

namespace {
std::unique_ptr<TForm> MainWindowSample() {
    // The gallery's prefix is a throwaway one: the sample application may live in its registry.
    RegisterApplication({.Values = {{"", "Brantel Kasboek"}, {"ReleaseVersion", "2.1"}}});
    auto form = std::make_unique<TfrmMain>(std::vector<std::string>{"-rBrantel Kasboek"});
    form->mnuBeeldDetailsClick(nullptr);
    return form;
}

const TGalleryRegistration MainWindow("TfrmMain", MainWindowSample);
}  // namespace
