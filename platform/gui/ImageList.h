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
    // Adds an icon of a module's resources, the program's own by default (or a system icon id when
    // the resource is absent).
    int AddResourceIcon(int resourceId, HMODULE module = nullptr);
    // Adds the icons firstId, firstId + 1, ... of a module's resources (the program's own by default)
    // and answers the index of the first. Icons that hold a 32-bit picture of the list's size go in as
    // one row of pixels, which is much cheaper than copying them icon by icon; otherwise each is
    // added as AddResourceIcon does.
    int AddResourceIcons(int firstId, int count, HMODULE module = nullptr);
    // Whether those icons all hold a 32-bit picture of exactly this size (the cheap way applies).
    static bool HoldsPlainPictures(HMODULE module, int firstId, int count, int width, int height);
    void Clear();
    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

private:
    bool AddIconRow(int firstId, int count, HMODULE module);
    HIMAGELIST FHandle;
    int FWidth, FHeight;
};
