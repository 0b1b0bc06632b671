#include "platform/gui/ImageList.h"

#include <cstring>
#include <vector>

#include "core/Exceptions.h"

namespace {
// An icon's picture as its resource holds it, when that is a plain 32-bit bitmap of exactly the
// size asked for: the header, then the colour rows bottom-up with their alpha, then the mask rows.
const BITMAPINFOHEADER* PlainIconPicture(HMODULE module, int resourceId, int width, int height) {
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_GROUP_ICON);
    auto* directory = group ? static_cast<BYTE*>(LockResource(LoadResource(module, group))) : nullptr;
    if (!directory) return nullptr;
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, width, height, LR_DEFAULTCOLOR);
    HRSRC entry = id ? FindResourceW(module, MAKEINTRESOURCEW(id), RT_ICON) : nullptr;
    if (!entry) return nullptr;
    const DWORD size = SizeofResource(module, entry);
    const DWORD colourBytes = static_cast<DWORD>(width * height * 4);
    const DWORD maskBytes = static_cast<DWORD>(((width + 31) / 32) * 4 * height);
    auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module, entry)));
    const bool plain = header && size >= sizeof(BITMAPINFOHEADER) + colourBytes + maskBytes &&
                       header->biSize == sizeof(BITMAPINFOHEADER) && header->biWidth == width &&
                       header->biHeight == 2 * height && header->biBitCount == 32 &&
                       header->biCompression == BI_RGB && header->biClrUsed == 0;
    return plain ? header : nullptr;
}

// The plain pictures of the icons firstId, firstId + 1, ...; none when one of them has no such picture.
std::vector<const BITMAPINFOHEADER*> PlainIconPictures(HMODULE module, int firstId, int count, int width, int height) {
    std::vector<const BITMAPINFOHEADER*> pictures;
    for (int id = firstId; id < firstId + count; ++id) {
        pictures.push_back(PlainIconPicture(module, id, width, height));
        if (!pictures.back()) return {};
    }
    return pictures;
}

// A bottom-up DIB section of the given depth; bits receives its pixels.
TBitmapHandle CreateRow(int width, int height, WORD bitCount, void*& bits) {
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colours[2];
    } info{};
    info.Header = {sizeof(BITMAPINFOHEADER), width, height, 1, bitCount, BI_RGB, 0, 0, 0, 0, 0};
    info.Colours[1] = {255, 255, 255, 0};
    return TBitmapHandle(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
}
}  // namespace

TImageList::TImageList(int width, int height)
    : FHandle(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), FWidth(width), FHeight(height) {
    if (!FHandle) throw EBrantel("TImageList", "Create", "image list could not be created");
}

TImageList::~TImageList() { ImageList_Destroy(FHandle); }

int TImageList::Count() const { return ImageList_GetImageCount(FHandle); }

int TImageList::AddMasked(HBITMAP bitmap, COLORREF maskColor) { return ImageList_AddMasked(FHandle, bitmap, maskColor); }

int TImageList::AddIcon(HICON icon) { return ImageList_ReplaceIcon(FHandle, -1, icon); }

int TImageList::AddResourceIcon(int resourceId, HMODULE module) {
    HICON icon = static_cast<HICON>(LoadImageW(module ? module : GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId),
                                               IMAGE_ICON, FWidth, FHeight, 0));
    bool shared = false;
    if (!icon) {
        icon = LoadIconW(nullptr, MAKEINTRESOURCEW(resourceId));
        shared = true;
    }
    if (!icon) return -1;
    int index = AddIcon(icon);
    if (!shared) DestroyIcon(icon);
    return index;
}

int TImageList::AddResourceIcons(int firstId, int count, HMODULE module) {
    if (!module) module = GetModuleHandleW(nullptr);
    const int first = Count();
    if (count <= 0 || AddIconRow(firstId, count, module)) return first;
    int index = -1;
    for (int id = firstId; id < firstId + count; ++id) {
        const int added = AddResourceIcon(id, module);
        if (index < 0) index = added;
    }
    return index;
}

bool TImageList::HoldsPlainPictures(HMODULE module, int firstId, int count, int width, int height) {
    return !PlainIconPictures(module, firstId, count, width, height).empty();
}

bool TImageList::AddIconRow(int firstId, int count, HMODULE module) {
    const std::vector<const BITMAPINFOHEADER*> pictures = PlainIconPictures(module, firstId, count, FWidth, FHeight);
    if (pictures.empty()) return false;
    void* colourBits = nullptr;
    void* maskBits = nullptr;
    TBitmapHandle colour = CreateRow(FWidth * count, FHeight, 32, colourBits);
    TBitmapHandle mask = CreateRow(FWidth * count, FHeight, 1, maskBits);
    if (!colour || !mask) return false;
    const size_t iconStride = static_cast<size_t>(((FWidth + 31) / 32) * 4);
    const size_t rowStride = static_cast<size_t>(((FWidth * count + 31) / 32) * 4);
    auto* rowMask = static_cast<BYTE*>(maskBits);
    for (int i = 0; i < count; ++i) {
        const BYTE* pixels = reinterpret_cast<const BYTE*>(pictures[i] + 1);
        const BYTE* iconMask = pixels + static_cast<size_t>(FWidth) * FHeight * 4;
        for (int y = 0; y < FHeight; ++y) {
            std::memcpy(static_cast<BYTE*>(colourBits) + (static_cast<size_t>(y) * FWidth * count + static_cast<size_t>(i) * FWidth) * 4,
                        pixels + static_cast<size_t>(y) * FWidth * 4, static_cast<size_t>(FWidth) * 4);
            for (int x = 0; x < FWidth; ++x) {
                if (!(iconMask[y * iconStride + x / 8] & (0x80 >> (x % 8)))) continue;
                const int column = i * FWidth + x;
                rowMask[y * rowStride + column / 8] |= static_cast<BYTE>(0x80 >> (column % 8));
            }
        }
    }
    GdiFlush();
    return ImageList_Add(FHandle, colour.Get(), mask.Get()) >= 0;
}

void TImageList::Clear() { ImageList_RemoveAll(FHandle); }

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (enabled) {
        ImageList_Draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    // Disabled, as Windows draws it: the picture's shape alone, in the shadow colour over the same
    // shape in the highlight colour one pixel down and to the right. (Greying the colours left the
    // black arrows black, and a disabled button looked enabled.)
    const COLORREF key = RGB(255, 0, 255);
    TOffscreenBitmap picture(FWidth, FHeight);
    picture.Fill(key);
    ImageList_Draw(FHandle, index, picture.DC(), 0, 0, ILD_TRANSPARENT);
    for (auto [offset, colour] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
        const COLORREF rgb = ColorToRGB(colour);
        for (int py = 0; py < FHeight; ++py)
            for (int px = 0; px < FWidth; ++px)
                if (picture.Pixel(px, py) != key) SetPixelV(dc, x + px + offset, y + py + offset, rgb);
    }
}
