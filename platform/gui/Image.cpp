#include "platform/gui/Image.h"

namespace {
// Copies the whole source onto target, averaging pixels when the size changes: a picture drawn for
// 96 pixels per inch and enlarged by a half or more would otherwise show blocks.
void SmoothStretchBlt(HDC dc, const RECT& target, HDC source, int w, int h) {
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin{};
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // HALFTONE leaves the brush origin undefined
    StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source, 0, 0, w, h,
               SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
}
// An icon's own size: one loaded larger than the system's icon size is meant to be seen so.
SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    TBitmapHandle colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    GetObjectW(colour ? colour.Get() : mask.Get(), sizeof bm, &bm);
    // A monochrome icon keeps its AND and XOR masks one above the other.
    return {bm.bmWidth, colour ? bm.bmHeight : bm.bmHeight / 2};
}
}  // namespace

TImage::TImage(TControl* parent) : TControl(parent) { CreateOwnWindow(WS_VISIBLE); }

TImage::~TImage() { Clear(); }

void TImage::Clear() {
    FBitmap.Reset();
    FIcon.Reset();
    FListImage.reset();
    Invalidate();
}

bool TImage::Empty() const { return !FBitmap && !FIcon && !FListImage; }

void TImage::SetBitmap(HBITMAP bitmap) {
    Clear();
    FBitmap.Reset(bitmap);
}

void TImage::SetIcon(TIconHandle icon) {
    Clear();
    FIcon = std::move(icon);
}

void TImage::SetFromImageList(const TImageList& list, int index) {
    Clear();
    if (index < 0 || index >= list.Count()) return;
    FListImage = std::make_unique<TImageList>(list.Width(), list.Height());
    HICON icon = ImageList_GetIcon(list.Handle(), index, ILD_TRANSPARENT);
    if (icon) {
        FListImage->AddIcon(icon);
        DestroyIcon(icon);
    }
    Invalidate();
}

void TImage::Paint(HDC dc) {
    PaintParentBackground(dc);
    RECT r = ClientRect();
    int w = 0, h = 0;
    if (FBitmap) {
        BITMAP bm{};
        GetObjectW(FBitmap.Get(), sizeof bm, &bm);
        w = bm.bmWidth;
        h = bm.bmHeight;
    } else if (FIcon) {
        const SIZE size = IconSize(FIcon.Get());
        w = size.cx;
        h = size.cy;
    } else if (FListImage) {
        w = FListImage->Width();
        h = FListImage->Height();
    } else {
        return;
    }
    RECT target{0, 0, w, h};
    if (Stretch) {
        target = r;
    } else if (Center) {
        OffsetRect(&target, (r.right - w) / 2, (r.bottom - h) / 2);
    }
    if (FIcon) {
        DrawIconEx(dc, target.left, target.top, FIcon.Get(), target.right - target.left, target.bottom - target.top, 0, nullptr,
                   DI_NORMAL);
    } else if (FListImage) {
        FListImage->Draw(dc, target.left, target.top, 0);
    } else {
        TOwnedDC source(CreateCompatibleDC(dc));
        TSelectObject select(source.Get(), FBitmap.Get());
        if (Transparent)
            TransparentBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.Get(),
                           0, 0, w, h, GetPixel(source.Get(), 0, h - 1));
        else
            SmoothStretchBlt(dc, target, source.Get(), w, h);
    }
}
