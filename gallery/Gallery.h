#pragma once
// The gallery shows one window of the program by its class name with sample data, saves a
// screenshot of it and closes it. Each sample registers itself with a TGalleryRegistration.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Form.h"

using TGalleryFactory = std::function<std::unique_ptr<TForm>()>;

struct TGalleryRegistration {
    TGalleryRegistration(const char* className, TGalleryFactory factory);
};

// Called by the gallery once the window is visible, before the screenshot (to navigate, type, ...).
using TGalleryPrepare = std::function<void(TForm&)>;
void SetGalleryPrepare(TGalleryPrepare prepare);
const TGalleryPrepare& GalleryPrepare();

// The registered samples by class name, and a fresh window of one (nullptr for an unknown name).
std::vector<std::string> GallerySampleNames();
std::unique_ptr<TForm> MakeGallerySample(const std::string& className);
