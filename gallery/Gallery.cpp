// The samples the gallery shows, by class name.
#include "gallery/Gallery.h"

#include <map>

namespace {
std::map<std::string, TGalleryFactory>& Registry() {
    static std::map<std::string, TGalleryFactory> registry;
    return registry;
}

TGalleryPrepare& Prepare() {
    static TGalleryPrepare prepare;
    return prepare;
}
}  // namespace

TGalleryRegistration::TGalleryRegistration(const char* className, TGalleryFactory factory) {
    Registry()[className] = std::move(factory);
}

void SetGalleryPrepare(TGalleryPrepare prepare) { Prepare() = std::move(prepare); }

const TGalleryPrepare& GalleryPrepare() { return Prepare(); }

std::vector<std::string> GallerySampleNames() {
    std::vector<std::string> names;
    for (const auto& entry : Registry()) names.push_back(entry.first);
    return names;
}

std::unique_ptr<TForm> MakeGallerySample(const std::string& className) {
    auto it = Registry().find(className);
    return it == Registry().end() ? nullptr : it->second();
}
