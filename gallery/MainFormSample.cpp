// The main window with one sample application of the maker, in the details view.
#include "Gallery.h"
#include "Source/Common/MainForm.h"
#include "platform/Registry.h"

namespace {
std::unique_ptr<TForm> MainWindowSample() {
    // The gallery's prefix is a throwaway one: the sample application may live in its registry.
    TRegKey key;
    key.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek", true);
    key.WriteString("CurrentVersion", "2");
    key.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek\\2", true);
    key.WriteString("CurrentLanguage", "NL");
    key.Open(HKEY_LOCAL_MACHINE, "Software\\Brantel\\Kasboek\\2\\NL", true);
    key.WriteString("", "Brantel Kasboek");
    key.WriteString("ReleaseVersion", "2.1");
    auto form = std::make_unique<TfrmMain>(std::vector<std::string>{"-rBrantel Kasboek"});
    form->mnuBeeldDetailsClick(nullptr);
    return form;
}

const TGalleryRegistration MainWindow("TfrmMain", MainWindowSample);
}  // namespace
