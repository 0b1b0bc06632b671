// The dialog for an application the discovery did not find.
#include "Source/Common/Catalogue/UnknownApp.h"
#include "gallery/Gallery.h"

namespace {
const TGalleryRegistration UnknownApp("TfrmUnknownApp", [] { return std::unique_ptr<TForm>(new TfrmUnknownApp); });
}  // namespace
