#pragma once
// Image list: images of one size with masks, drawn transparently.
#include <windows.h>
#include <commctrl.h>

#include "platform/gui/Graphics.h"

class TImageList {
public:
    TImageList(int width, int height);
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    HIMAGELIST Handle() const { return FHandle; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const;
    // Adds a bitmap whose pixels of maskColor are transparent; the list copies it. Answers the index.
    int AddMasked(HBITMAP bitmap, COLORREF maskColor);
    int AddIcon(HICON icon);
    // Adds an icon of the program's resources (or a system icon id when the resource is absent).
    int AddResourceIcon(int resourceId);
    void Clear();
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

private:
    HIMAGELIST FHandle;
    int FWidth, FHeight;
};
