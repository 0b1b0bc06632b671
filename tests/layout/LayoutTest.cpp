#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "TextLayout.h"
#include "gallery/Gallery.h"
#include "platform/gui/Graphics.h"

// Every window of the gallery, with its sample data, as the user sees it. Run at 96 pixels per inch
// here and at 144 and 192 by tests/checks/layout_dpi.sh: every design size is scaled once, so no text
// is cut off or covered at any density.
TEST(Layout, NoWindowCutsOffOrCoversItsText) {
    RecordProperty("ppi", ScreenPixelsPerInch());
    const std::vector<std::string> names = GallerySampleNames();
    size_t inspected = 0;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        TRegistrySandbox registry;
        TMessageRecorder boxes;
        SetGalleryPrepare({});
        std::unique_ptr<TForm> form = MakeGallerySample(name);
        ASSERT_TRUE(form);
        TModalScript script([&](TForm& shown) {
            if (&shown != form.get()) return;
            Application().ProcessMessages();
            if (GalleryPrepare()) GalleryPrepare()(shown);
            Application().ProcessMessages();
            for (const std::string& fault : TextLayoutFaults(shown)) ADD_FAILURE() << fault;
            ++inspected;
            shown.SetModalResult(mrCancel);
        });
        form->ShowModal();
    }
    EXPECT_GE(names.size(), 25u) << "the gallery's samples are linked in";
    EXPECT_EQ(inspected, names.size()) << "every sample is shown and inspected";
}
