#include "platform/gui/ImageList.h"

#include "core/Exceptions.h"

TImageList::TImageList(int width, int height)
    : FHandle(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4)), FWidth(width), FHeight(height) {
    if (!FHandle) throw EBrantel("TImageList", "Create", "image list could not be created");
}

TImageList::~TImageList() { ImageList_Destroy(FHandle); }

int TImageList::Count() const { return ImageList_GetImageCount(FHandle); }

int TImageList::AddMasked(HBITMAP bitmap, COLORREF maskColor) { return ImageList_AddMasked(FHandle, bitmap, maskColor); }

int TImageList::AddIcon(HICON icon) { return ImageList_ReplaceIcon(FHandle, -1, icon); }

int TImageList::AddResourceIcon(int resourceId) {
    HICON icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, FWidth, FHeight, 0));
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

void TImageList::Clear() { ImageList_RemoveAll(FHandle); }

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
    if (enabled) {
        ImageList_Draw(FHandle, index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    IMAGELISTDRAWPARAMS p{};
    p.cbSize = sizeof p;
    p.himl = FHandle;
    p.i = index;
    p.hdcDst = dc;
    p.x = x;
    p.y = y;
    p.rgbBk = CLR_NONE;
    p.rgbFg = CLR_DEFAULT;
    p.fStyle = ILD_TRANSPARENT;
    p.fState = ILS_SATURATE;
    ImageList_DrawIndirect(&p);
}
