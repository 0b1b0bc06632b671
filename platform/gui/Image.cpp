#include "platform/gui/Image.h"

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
        w = GetSystemMetrics(SM_CXICON);
        h = GetSystemMetrics(SM_CYICON);
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
            StretchBlt(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, source.Get(), 0,
                       0, w, h, SRCCOPY);
    }
}
