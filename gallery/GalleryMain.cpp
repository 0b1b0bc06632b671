// usage: gallery --list
//        gallery <ClassName> <screenshot.png>
// Shows the window modally (as the program does), lets it paint, saves the window with its frame
// from the screen and closes it.
#include <algorithm>
#include <cstdio>

#include "core/Exceptions.h"
#include "gallery/Gallery.h"
#include "platform/gui/Application.h"
#include "platform/gui/Form.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Messages.h"

namespace {
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

int main(int argc, char** argv) {
    Application().SetTitle("Bran-Service");
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const std::string& name : GallerySampleNames()) std::printf("%s\n", name.c_str());
        return 0;
    }
    const std::vector<std::string> names = GallerySampleNames();
    if (argc != 3 || std::find(names.begin(), names.end(), argv[1]) == names.end()) {
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
        std::unique_ptr<TForm> form = MakeGallerySample(className);
        SetModalHook([&](TForm& shown) {
            if (&shown != form.get()) return;
            Settle(300);
            if (GalleryPrepare()) GalleryPrepare()(shown);
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
