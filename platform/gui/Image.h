#pragma once
// Image: shows a bitmap, an icon or one image of an image list, as is, centred or stretched.
#include <memory>

#include "platform/Handles.h"
#include "platform/gui/Control.h"
#include "platform/gui/ImageList.h"

class TImage : public TControl {
public:
    explicit TImage(TControl* parent);
    ~TImage() override;

    bool Stretch = false;
    bool Center = false;
    // Bitmaps: the colour of the bottom-left pixel becomes see-through.
    bool Transparent = false;

    // Takes ownership of the bitmap.
    void SetBitmap(HBITMAP bitmap);
    void SetIcon(TIconHandle icon);
    // Copies one image of the list (with its mask).
    void SetFromImageList(const TImageList& list, int index);
    void Clear();
    bool Empty() const;

protected:
    void Paint(HDC dc) override;

private:
    TBitmapHandle FBitmap;
    TIconHandle FIcon;
    std::unique_ptr<TImageList> FListImage;
};
