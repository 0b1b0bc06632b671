#include "platform/gui/Graphics.h"

#include <zlib.h>

#include <map>
#include <tuple>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"

COLORREF ColorToRGB(TColor color) {
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

int ScreenPixelsPerInch() {
    TWindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

int ScaleToScreen(int designPixels) { return MulDiv(designPixels, ScreenPixelsPerInch(), 96); }

HBRUSH SharedBrush(TColor color) {
    static std::map<COLORREF, TBrushHandle> brushes;
    COLORREF rgb = ColorToRGB(color);
    auto& brush = brushes[rgb];
    if (!brush) brush.Reset(CreateSolidBrush(rgb));
    return brush.Get();
}

void FillSolidRect(HDC dc, const RECT& rect, TColor color) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    FillRect(dc, &rect, SharedBrush(color));
}

HFONT SharedFont(const TFont& font) {
    using TKey = std::tuple<std::string, int, bool, bool, bool>;
    static std::map<TKey, TFontHandle> fonts;
    auto& handle = fonts[TKey{font.Name, font.Size, font.Bold, font.Italic, font.Underline}];
    if (!handle) {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(font.Size, ScreenPixelsPerInch(), 72);
        lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = font.Italic;
        lf.lfUnderline = font.Underline;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfQuality = DEFAULT_QUALITY;
        std::wstring name = Widen(font.Name);
        lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
        handle.Reset(CreateFontIndirectW(&lf));
    }
    return handle.Get();
}

int TextWidth(const TFont& font, const std::string& text) {
    TWindowDC screen(nullptr);
    TSelectObject selected(screen.Get(), SharedFont(font));
    RECT r{0, 0, 0, 0};
    DrawTextW(screen.Get(), Widen(text).c_str(), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right;
}

TOffscreenBitmap::TOffscreenBitmap(int width, int height)
    : FWidth(width < 1 ? 1 : width), FHeight(height < 1 ? 1 : height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = FWidth;
    bi.bmiHeader.biHeight = -FHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    FBitmap.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    FDC.Reset(CreateCompatibleDC(nullptr));
    if (!FBitmap || !FDC.Get()) throw EBrantel("TOffscreenBitmap", "Create", "GDI resources exhausted");
    FBits = static_cast<uint32_t*>(bits);
    FOld = SelectObject(FDC.Get(), FBitmap.Get());
}

TOffscreenBitmap::~TOffscreenBitmap() { SelectObject(FDC.Get(), FOld); }

COLORREF TOffscreenBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return CLR_INVALID;
    GdiFlush();
    uint32_t v = FBits[y * FWidth + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void TOffscreenBitmap::Fill(COLORREF color) {
    RECT r{0, 0, FWidth, FHeight};
    FillSolidRect(FDC.Get(), r, color);
}

namespace {
void PutBigEndian(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBigEndian(out, crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
}
}  // namespace

void TOffscreenBitmap::SaveToPng(const std::string& path) const {
    GdiFlush();
    std::string raw;
    raw.reserve(static_cast<size_t>(FHeight) * (FWidth * 3 + 1));
    for (int y = 0; y < FHeight; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < FWidth; ++x) {
            uint32_t v = FBits[y * FWidth + x];
            raw.push_back(static_cast<char>((v >> 16) & 0xFF));
            raw.push_back(static_cast<char>((v >> 8) & 0xFF));
            raw.push_back(static_cast<char>(v & 0xFF));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
                 static_cast<uLong>(raw.size())) != Z_OK)
        throw EBrantel("TOffscreenBitmap", "SaveToPng", "compression failed");
    packed.resize(packedSize);

    std::string header;
    PutBigEndian(header, static_cast<uint32_t>(FWidth));
    PutBigEndian(header, static_cast<uint32_t>(FHeight));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, truecolour, deflate, no filter, no interlace
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    WriteFileBytes(path, png);
}
