#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "KeyboardFaults.h"
#include "TestSupport.h"
#include "TextLayout.h"
#include "gallery/Gallery.h"
#include "platform/gui/Graphics.h"

// Every window of the gallery, with its sample data, as the user sees it: no text cut off or
// covered, no shortcut letter that two controls share (Alt with it reaches the first only), and Tab
// along a row from left to right. Run at 96 pixels per inch here and at 144 and 192 by
// tests/checks/layout_dpi.sh: every design size is scaled once, at every density. One walk for all
// three, as showing every window is what takes the time.
TEST(Layout, EveryWindowShowsItsTextWholeAndReadsWellFromTheKeyboard) {
    RecordProperty("ppi", ScreenPixelsPerInch());
    const std::vector<std::string> names = GallerySampleNames();
    size_t inspected = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TRegistrySandbox registry;
        TMessageRecorder boxes;
        SetGalleryPrepare({});
        std::unique_ptr<TForm> form = MakeGallerySample(name);
        EXPECT_TRUE(form);
        if (!form) continue;
        TModalScript script([&](TForm& shown) {
            if (&shown != form.get()) return;
            Application().ProcessMessages();
            if (GalleryPrepare()) GalleryPrepare()(shown);
            Application().ProcessMessages();
            for (auto inspect : {TextLayoutFaults, ShortcutLetterFaults, TabOrderFaults})
                for (const std::string& fault : inspect(shown)) ADD_FAILURE() << fault;
            ++inspected;
            shown.SetModalResult(mrCancel);
        });
        form->ShowModal();
    }
    EXPECT_GE(names.size(), 25u) << "the gallery's samples are linked in";
    EXPECT_EQ(inspected, names.size()) << "every sample is shown and inspected";
}
