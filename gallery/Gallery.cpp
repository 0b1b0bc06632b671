// usage: gallery --list
//        gallery <ClassName> <screenshot.png>
// Shows the window modally (as the program does), lets it paint, saves the window with its frame
// from the screen and closes it.
#include "gallery/Gallery.h"

#include <cstdio>
#include <map>

#include "core/Exceptions.h"
#include "platform/gui/Application.h"
#include "platform/gui/Form.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Messages.h"

namespace {
std::map<std::string, TGalleryFactory>& Registry() {
    static std::map<std::string, TGalleryFactory> registry;
    return registry;
}

TGalleryPrepare& Prepare() {
    static TGalleryPrepare prepare;
    return prepare;
}

void Settle(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        Application().ProcessMessages();
        Sleep(20);
    }
}

void SaveScreenshot(TForm& form, const std::string& path) {
    RedrawWindow(form.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle(400);
    RECT r;
    GetWindowRect(form.Handle(), &r);
    TOffscreenBitmap shot(r.right - r.left, r.bottom - r.top);
    TWindowDC screen(nullptr);
    BitBlt(shot.DC(), 0, 0, shot.Width(), shot.Height(), screen.Get(), r.left, r.top, SRCCOPY);
    shot.SaveToPng(path);
}
}  // namespace

TGalleryRegistration::TGalleryRegistration(const char* className, TGalleryFactory factory) {
    Registry()[className] = std::move(factory);
}

void SetGalleryPrepare(TGalleryPrepare prepare) { Prepare() = std::move(prepare); }

int main(int argc, char** argv) {
    Application().SetTitle("Bran-Service");
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const auto& entry : Registry()) std::printf("%s\n", entry.first.c_str());
        return 0;
    }
    if (argc != 3 || !Registry().count(argv[1])) {
        std::fprintf(stderr, "usage: gallery --list | gallery <ClassName> <screenshot.png>\n");
        return 2;
    }
    std::string className = argv[1], path = argv[2];
    int exitCode = 1;
    SetMessageHook([](const TMessageRecord& box) {
        std::fprintf(stderr, "message box: %s\n", box.Text.c_str());
        return IDOK;
    });
    try {
        std::unique_ptr<TForm> form = Registry()[className]();
        SetModalHook([&](TForm& shown) {
            if (&shown != form.get()) return;
            Settle(300);
            if (Prepare()) Prepare()(shown);
            SaveScreenshot(shown, path);
            exitCode = 0;
            shown.SetModalResult(mrCancel);
        });
        form->ShowModal();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", className.c_str(), ExceptionText(e).c_str());
        return 1;
    }
    return exitCode;
}
