#include <gtest/gtest.h>

#include <set>

#include "GuiTestSupport.h"
#include "platform/gui/Image.h"

namespace {
// A bitmap of black and white columns, one pixel each.
HBITMAP Stripes(int width, int height) {
    TOffscreenBitmap stripes(width, height);
    for (int x = 0; x < width; ++x)
        FillSolidRect(stripes.DC(), RECT{x, 0, x + 1, height}, x % 2 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    return static_cast<HBITMAP>(CopyImage(stripes.Bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}
}  // namespace

// Pictures drawn for 96 pixels per inch are enlarged with the text on denser screens; repeating
// whole pixels shows blocks, so an enlarged picture blends neighbouring pixels. Drawn at its own
// size it stays exact.
TEST(Image, AStretchedBitmapBlendsItsPixelsAndAnUnstretchedOneStaysExact) {
    struct {
        const char* name;
        int width;
        bool stretch, blended;
    } cases[] = {
        {"enlarged by two thirds", 15, true, true},
        {"doubled", 18, true, true},
        {"at its own size", 9, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TForm form;
        form.SetClientSize(200, 100);
        TImage image(&form);
        image.SetBounds(0, 0, c.width, 6);
        image.Stretch = c.stretch;
        image.SetBitmap(Stripes(9, 6));
        TOffscreenBitmap shot(c.width, 6);
        SendMessageW(image.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.DC()), PRF_CLIENT);
        int greys = 0, blackOrWhite = 0;
        for (int x = 0; x < c.width; ++x) {
            COLORREF pixel = shot.Pixel(x, 3);
            (pixel == RGB(0, 0, 0) || pixel == RGB(255, 255, 255) ? blackOrWhite : greys)++;
        }
        if (c.blended)
            EXPECT_GT(greys, c.width / 3);
        else
            EXPECT_EQ(blackOrWhite, c.width);
    }
}

// An icon loaded at a size of its own (the splash's large one, a larger one on a denser screen) is
// shown at that size, not squeezed into the system's icon size.
TEST(Image, AnIconIsDrawnAtItsOwnSize) {
    TOffscreenBitmap colour(48, 48), mask(48, 48);
    colour.Fill(RGB(200, 0, 0));
    mask.Fill(RGB(0, 0, 0));  // all opaque
    // The icon is made from copies: a bitmap selected into a DC cannot be read meanwhile.
    TBitmapHandle colourCopy(static_cast<HBITMAP>(CopyImage(colour.Bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    TBitmapHandle maskCopy(static_cast<HBITMAP>(CopyImage(mask.Bitmap(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ICONINFO info{TRUE, 0, 0, maskCopy.Get(), colourCopy.Get()};
    TForm form;
    form.SetClientSize(200, 100);
    TImage image(&form);
    image.SetBounds(0, 0, 64, 64);
    image.SetIcon(TIconHandle(CreateIconIndirect(&info)));
    TOffscreenBitmap shot(64, 64);
    shot.Fill(RGB(255, 255, 255));
    SendMessageW(image.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.DC()), PRF_CLIENT);
    EXPECT_EQ(shot.Pixel(44, 44), RGB(200, 0, 0)) << "inside the icon's 48 pixels";
    EXPECT_NE(shot.Pixel(52, 52), RGB(200, 0, 0)) << "beyond them";
}
