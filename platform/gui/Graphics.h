#pragma once
// Colours, fonts and one move-only owner per GDI handle kind.
//
// A TColor is either an RGB value or a system colour (the high bit set, the low byte the COLOR_xxx
// index), so a control keeps following the user's colour scheme until it is given a fixed colour.
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

using TColor = uint32_t;

constexpr TColor SysColor(int index) { return 0x80000000u | static_cast<TColor>(index); }
constexpr TColor clBtnFace = SysColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SysColor(COLOR_BTNSHADOW);
constexpr TColor clBtnHighlight = SysColor(COLOR_BTNHIGHLIGHT);
constexpr TColor clBtnText = SysColor(COLOR_BTNTEXT);
constexpr TColor clWindow = SysColor(COLOR_WINDOW);
constexpr TColor clWindowText = SysColor(COLOR_WINDOWTEXT);
constexpr TColor clActiveCaption = SysColor(COLOR_ACTIVECAPTION);
constexpr TColor clCaptionText = SysColor(COLOR_CAPTIONTEXT);
constexpr TColor clGrayText = SysColor(COLOR_GRAYTEXT);
constexpr TColor cl3DLight = SysColor(COLOR_3DLIGHT);
constexpr TColor cl3DDkShadow = SysColor(COLOR_3DDKSHADOW);
constexpr TColor clHighlight = SysColor(COLOR_HIGHLIGHT);
constexpr TColor clRed = RGB(255, 0, 0);
constexpr TColor clWhite = RGB(255, 255, 255);
constexpr TColor clBlack = RGB(0, 0, 0);

// The RGB value to paint with.
COLORREF ColorToRGB(TColor color);

// Screen pixels per inch and the scaling of a measure designed at 96 pixels per inch.
int ScreenPixelsPerInch();
int ScaleToScreen(int designPixels);

// Owns one GDI object (pen, brush, font, bitmap, palette, region).
template <class H>
class TGdiHandle {
public:
    TGdiHandle() = default;
    explicit TGdiHandle(H handle) : FHandle(handle) {}
    ~TGdiHandle() { Reset(); }
    TGdiHandle(TGdiHandle&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
    TGdiHandle& operator=(TGdiHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            FHandle = std::exchange(other.FHandle, nullptr);
        }
        return *this;
    }
    TGdiHandle(const TGdiHandle&) = delete;
    TGdiHandle& operator=(const TGdiHandle&) = delete;

    H Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }
    void Reset(H handle = nullptr) {
        if (FHandle) DeleteObject(FHandle);
        FHandle = handle;
    }

private:
    H FHandle = nullptr;
};
using TBrushHandle = TGdiHandle<HBRUSH>;
using TPenHandle = TGdiHandle<HPEN>;
using TFontHandle = TGdiHandle<HFONT>;
using TBitmapHandle = TGdiHandle<HBITMAP>;
using TPaletteHandle = TGdiHandle<HPALETTE>;

// Selects an object into a DC and puts the previous one back.
class TSelectObject {
public:
    TSelectObject(HDC dc, HGDIOBJ object) : FDC(dc), FOld(SelectObject(dc, object)) {}
    ~TSelectObject() { SelectObject(FDC, FOld); }
    TSelectObject(const TSelectObject&) = delete;
    TSelectObject& operator=(const TSelectObject&) = delete;

private:
    HDC FDC;
    HGDIOBJ FOld;
};

// Selects a palette (and realises it) for the lifetime of the object.
class TSelectPalette {
public:
    TSelectPalette(HDC dc, HPALETTE palette) : FDC(dc), FOld(SelectPalette(dc, palette, FALSE)) {
        RealizePalette(dc);
    }
    ~TSelectPalette() { SelectPalette(FDC, FOld, FALSE); }
    TSelectPalette(const TSelectPalette&) = delete;
    TSelectPalette& operator=(const TSelectPalette&) = delete;

private:
    HDC FDC;
    HPALETTE FOld;
};

// BeginPaint / EndPaint.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) : FWindow(window), FDC(BeginPaint(window, &FPaint)) {}
    ~TPaintDC() { EndPaint(FWindow, &FPaint); }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// GetDC / ReleaseDC (nullptr: the screen).
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
    ~TWindowDC() { ReleaseDC(FWindow, FDC); }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HWND FWindow;
    HDC FDC;
};

// An owned DC: CreateCompatibleDC or CreateDC, freed with DeleteDC.
class TOwnedDC {
public:
    TOwnedDC() = default;
    explicit TOwnedDC(HDC dc) : FDC(dc) {}
    ~TOwnedDC() { Reset(); }
    TOwnedDC(TOwnedDC&& other) noexcept : FDC(std::exchange(other.FDC, nullptr)) {}
    TOwnedDC& operator=(TOwnedDC&& other) noexcept {
        if (this != &other) {
            Reset();
            FDC = std::exchange(other.FDC, nullptr);
        }
        return *this;
    }
    TOwnedDC(const TOwnedDC&) = delete;
    TOwnedDC& operator=(const TOwnedDC&) = delete;
    HDC Get() const { return FDC; }
    void Reset(HDC dc = nullptr) {
        if (FDC) DeleteDC(FDC);
        FDC = dc;
    }

private:
    HDC FDC = nullptr;
};

// A 32-bit top-down DIB section with a memory DC selected onto it: paint into it, read pixels back.
class TOffscreenBitmap {
public:
    TOffscreenBitmap(int width, int height);
    ~TOffscreenBitmap();
    TOffscreenBitmap(const TOffscreenBitmap&) = delete;
    TOffscreenBitmap& operator=(const TOffscreenBitmap&) = delete;

    HDC DC() const { return FDC.Get(); }
    HBITMAP Bitmap() const { return FBitmap.Get(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    COLORREF Pixel(int x, int y) const;  // RGB of the pixel
    void Fill(COLORREF color);
    // Writes the pixels as a PNG file (throws EBrantel when the file cannot be written).
    void SaveToPng(const std::string& path) const;

private:
    int FWidth, FHeight;
    TOwnedDC FDC;
    TBitmapHandle FBitmap;
    HGDIOBJ FOld = nullptr;
    uint32_t* FBits = nullptr;
};

// A solid brush for a colour, shared for the life of the process (controls hand these out in
// WM_CTLCOLORxxx, where the brush must outlive the message).
HBRUSH SharedBrush(TColor color);

void FillSolidRect(HDC dc, const RECT& rect, TColor color);

// The description of a font; controls turn it into an HFONT through a shared cache.
struct TFont {
    std::string Name = "Tahoma";
    int Size = 8;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TColor Color = clWindowText;
    bool operator==(const TFont&) const = default;
};
HFONT SharedFont(const TFont& font);
// The width of a one-line text in the font as DrawText lays it out on the screen (an '&' marks the
// next letter and takes no room).
int TextWidth(const TFont& font, const std::string& text);
