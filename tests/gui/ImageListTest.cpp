#include <gtest/gtest.h>

#include <vector>

#include "GuiTestSupport.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/Handles.h"
#include "platform/gui/ImageList.h"

namespace {
// The program's own icons: eleven service icons from resource 100 on.
constexpr int FirstServiceIcon = 100, ServiceIcons = 11;

TModuleHandle ProgramResources() {
    const std::string path = ExtractFilePath(GetExeName()) + "..\\BranService.exe";
    return TModuleHandle(LoadLibraryExW(Widen(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

// What drawing image `index` with `style` over a background of `background` leaves on the screen.
std::vector<DWORD> Drawn(const TImageList& list, int index, UINT style, COLORREF background) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), list.Width(), -list.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TBitmapHandle bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    {
        TSelectObject select(dc, bitmap.Get());
        TBrushHandle brush(CreateSolidBrush(background));
        RECT all{0, 0, list.Width(), list.Height()};
        FillRect(dc, &all, brush.Get());
        ImageList_Draw(list.Handle(), index, dc, 0, 0, style);
        GdiFlush();
    }
    DeleteDC(dc);
    const auto* pixels = static_cast<const DWORD*>(bits);
    return {pixels, pixels + list.Width() * list.Height()};
}
}  // namespace

// The service icons go into an image list as one row of pixels where they hold a picture of the
// list's size; drawn, masked or over any background, each must look exactly as when the icons are
// added one by one; other sizes take the icon-by-icon way and still end up complete.
TEST(ImageList, IconsAddedAsOneRowLookAsWhenAddedOneByOne) {
    const TModuleHandle program = ProgramResources();
    ASSERT_TRUE(program) << "BranService.exe next to the tests";
    const struct {
        int Size;
        bool AsRow;
    } cases[] = {{16, true}, {20, true}, {24, true}, {32, true}, {40, true}, {48, true}, {64, true}, {36, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Size);
        EXPECT_EQ(TImageList::HoldsPlainPictures(program.Get(), FirstServiceIcon, ServiceIcons, c.Size, c.Size), c.AsRow);
        TImageList row(c.Size, c.Size), single(c.Size, c.Size);
        row.AddIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32516)));  // rows go after what is there
        single.AddIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32516)));
        EXPECT_EQ(row.AddResourceIcons(FirstServiceIcon, ServiceIcons, program.Get()), 1);
        for (int id = FirstServiceIcon; id < FirstServiceIcon + ServiceIcons; ++id) single.AddResourceIcon(id, program.Get());
        ASSERT_EQ(row.Count(), 1 + ServiceIcons);
        ASSERT_EQ(single.Count(), row.Count());
        for (int i = 1; i < row.Count(); ++i)
            for (UINT style : {ILD_NORMAL, ILD_TRANSPARENT, ILD_MASK})
                for (COLORREF background : {RGB(255, 255, 255), RGB(0, 80, 160)})
                    ASSERT_EQ(Drawn(row, i, style, background), Drawn(single, i, style, background))
                        << "image " << i << " style " << style;
    }
    TImageList none(16, 16);
    EXPECT_FALSE(TImageList::HoldsPlainPictures(program.Get(), 9000, 2, 16, 16));
    EXPECT_EQ(none.AddResourceIcons(FirstServiceIcon, 0, program.Get()), 0);
}
