#include "lib/BranButtons.h"

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/gui/Panel.h"

TBranColors::TBranColors(TControl* aControl) : FControl(aControl) {
    BranAssert(aControl != nullptr, "aControl must be assigned", "BranButtons");
}

TGlyphCache& TGlyphCache::Instance() {
    static TGlyphCache cache;
    return cache;
}

TImageList& TGlyphCache::List(int width, int height) {
    auto& list = FLists[{width, height}];
    if (!list) list = std::make_unique<TImageList>(width, height);
    return *list;
}

int TGlyphCache::Glyph(const std::string& key, HBITMAP bitmap, COLORREF maskColor, int width, int height) {
    std::string fullKey = key + "@" + std::to_string(width) + "x" + std::to_string(height);
    auto it = FIndexes.find(fullKey);
    if (it != FIndexes.end()) return it->second;
    int index = List(width, height).AddMasked(bitmap, maskColor);
    FIndexes[fullKey] = index;
    return index;
}

namespace {
const COLORREF kMask = RGB(255, 0, 255);

// Draws the glyph of a kind on a size x size square (magenta is see-through).
void DrawKindGlyph(HDC dc, TBitBtnKind kind, int size) {
    FillSolidRect(dc, {0, 0, size, size}, kMask);
    auto polygon = [&](std::initializer_list<POINT> points, COLORREF color) {
        TBrushHandle brush(CreateSolidBrush(color));
        TPenHandle pen(CreatePen(PS_SOLID, 1, color));
        TSelectObject b(dc, brush.Get()), p(dc, pen.Get());
        std::vector<POINT> scaled;
        for (POINT pt : points) scaled.push_back({pt.x * size / 16, pt.y * size / 16});
        Polygon(dc, scaled.data(), static_cast<int>(scaled.size()));
    };
    auto thickLine = [&](std::initializer_list<POINT> points, COLORREF color, int width) {
        TPenHandle pen(CreatePen(PS_SOLID, width * size / 16, color));
        TSelectObject p(dc, pen.Get());
        bool first = true;
        for (POINT pt : points) {
            if (first)
                MoveToEx(dc, pt.x * size / 16, pt.y * size / 16, nullptr);
            else
                LineTo(dc, pt.x * size / 16, pt.y * size / 16);
            first = false;
        }
    };
    const COLORREF green = RGB(0, 128, 0), red = RGB(192, 0, 0), blue = RGB(0, 0, 160), dark = RGB(0, 0, 0);
    switch (kind) {
        case TBitBtnKind::bkOK: thickLine({{3, 8}, {6, 12}, {13, 3}}, green, 2); break;
        case TBitBtnKind::bkCancel:
        case TBitBtnKind::bkListDelete:
            thickLine({{4, 4}, {12, 12}}, red, 2);
            thickLine({{12, 4}, {4, 12}}, red, 2);
            break;
        case TBitBtnKind::bkClose:
            polygon({{3, 2}, {10, 2}, {10, 14}, {3, 14}}, RGB(128, 96, 48));
            polygon({{12, 6}, {15, 8}, {12, 10}}, dark);
            break;
        case TBitBtnKind::bkHelp: {
            TFontHandle font(CreateFontW(-size, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0, L"Arial"));
            TSelectObject f(dc, font.Get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, blue);
            RECT r{0, 0, size, size};
            DrawTextW(dc, L"?", 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            break;
        }
        case TBitBtnKind::bkLeft: polygon({{11, 3}, {11, 13}, {4, 8}}, dark); break;
        case TBitBtnKind::bkRight: polygon({{5, 3}, {5, 13}, {12, 8}}, dark); break;
        case TBitBtnKind::bkListAdd:
            thickLine({{8, 3}, {8, 13}}, green, 2);
            thickLine({{3, 8}, {13, 8}}, green, 2);
            break;
        case TBitBtnKind::bkCustom: break;
    }
}
}  // namespace

int TGlyphCache::KindGlyph(TBitBtnKind kind, int size) {
    if (kind == TBitBtnKind::bkCustom) return -1;
    std::string key = "kind" + std::to_string(static_cast<int>(kind));
    auto it = FIndexes.find(key + "@" + std::to_string(size) + "x" + std::to_string(size));
    if (it != FIndexes.end()) return it->second;
    TOffscreenBitmap bitmap(size, size);
    DrawKindGlyph(bitmap.DC(), kind, size);
    // The list copies the pixels; the bitmap must not be selected in a DC meanwhile.
    TBitmapHandle copy(static_cast<HBITMAP>(CopyImage(bitmap.Bitmap(), IMAGE_BITMAP, 0, 0, 0)));
    return Glyph(key, copy.Get(), kMask, size, size);
}

TBranButton::TBranButton(TControl* parent, const std::string& caption) : TButton(parent, caption) {
    ModifyStyle(BS_OWNERDRAW, BS_TYPEMASK);
}

void TBranButton::SetKind(TBitBtnKind kind) {
    TButton::SetKind(kind);
    int size = ScaleToScreen(16);
    FGlyphs = &TGlyphCache::Instance().List(size, size);
    FGlyphIndex = TGlyphCache::Instance().KindGlyph(kind, size);
    Invalidate();
}

void TBranButton::SetGlyph(TImageList* list, int index) {
    FGlyphs = list;
    FGlyphIndex = index;
    Invalidate();
}

bool TBranButton::DrawItem(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool pushed = item.itemState & ODS_SELECTED, disabled = item.itemState & ODS_DISABLED;
    bool focused = item.itemState & ODS_FOCUS;
    FillSolidRect(dc, r, clBtnFace);
    if (Default() || focused) {
        FrameRect(dc, &r, SharedBrush(cl3DDkShadow));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pushed) OffsetRect(&r, 1, 1);

    std::wstring caption = Widen(Caption());
    TSelectObject font(dc, SharedFont(Font()));
    RECT measure{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    bool hasGlyph = FGlyphs && FGlyphIndex >= 0;
    int glyphW = hasGlyph ? FGlyphs->Width() : 0, glyphH = hasGlyph ? FGlyphs->Height() : 0;
    int gap = hasGlyph && !caption.empty() ? 4 : 0;
    int total = glyphW + gap + measure.right;
    int x = r.left + (r.right - r.left - total) / 2;
    bool glyphRight = Kind() == TBitBtnKind::bkRight;
    int textX = glyphRight ? x : x + glyphW + gap;
    int glyphX = glyphRight ? x + measure.right + gap : x;
    if (hasGlyph) FGlyphs->Draw(dc, glyphX, r.top + (r.bottom - r.top - glyphH) / 2, FGlyphIndex, !disabled);
    RECT text{textX, r.top, textX + measure.right, r.bottom};
    SetBkMode(dc, TRANSPARENT);
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (disabled) {
        OffsetRect(&text, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        DrawTextW(dc, caption.c_str(), -1, &text, flags);
        OffsetRect(&text, -1, -1);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
    } else {
        SetTextColor(dc, ColorToRGB(clBtnText));
    }
    DrawTextW(dc, caption.c_str(), -1, &text, flags);
    if (focused) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
    return true;
}

TBranSpeedButton::TBranSpeedButton(TControl* parent) : TControl(parent) {
    CreateOwnWindow(WS_VISIBLE);
    FColors = std::make_unique<TBranColors>(this);
    SetBounds(0, 0, 23, 22);
}

TBranSpeedButton::~TBranSpeedButton() = default;

void TBranSpeedButton::SetGlyph(TImageList* list, int index) {
    FGlyphs = list;
    FGlyphIndex = index;
    Invalidate();
}

void TBranSpeedButton::SetDown(bool value) {
    if (GroupIndex == 0) value = false;
    FDown = value;
    if (value && Parent())
        for (TControl* sibling : Parent()->Controls())
            if (auto* other = dynamic_cast<TBranSpeedButton*>(sibling); other && other != this && other->GroupIndex == GroupIndex) {
                other->FDown = false;
                other->Invalidate();
            }
    Invalidate();
}

void TBranSpeedButton::Click() {
    if (GroupIndex != 0) SetDown(AllowAllUp ? !FDown : true);
    TControl::Click();
}

LRESULT TBranSpeedButton::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_LBUTTONDOWN:
            if (!Enabled()) break;
            FPressed = true;
            SetCapture(Handle());
            Invalidate();
            return 0;
        case WM_LBUTTONUP:
            if (FPressed) {
                FPressed = false;
                ReleaseCapture();
                POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
                RECT r = ClientRect();
                Invalidate();
                if (PtInRect(&r, pt)) Click();
            }
            return 0;
        case WM_MOUSEMOVE:
            if (!FHot) {
                FHot = true;
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
                TrackMouseEvent(&track);
                Invalidate();
            }
            break;
        case WM_MOUSELEAVE:
            FHot = false;
            Invalidate();
            return 0;
        default:
            break;
    }
    return TControl::WndProc(msg, wParam, lParam);
}

void TBranSpeedButton::Paint(HDC dc) {
    RECT r = ClientRect();
    const TBranColors& c = *FColors;
    FillSolidRect(dc, r, c.BtnFace);
    bool sunken = FPressed || FDown;
    if (sunken) {
        RECT frame = r;
        DrawFrame3D(dc, frame, c.BtnShadow, c.BtnHighlight, 1);
    } else if (FHot || !Flat) {
        RECT frame = r;
        DrawFrame3D(dc, frame, c.BtnHighlight, c.BtnShadow, 1);
    }
    if (FGlyphs && FGlyphIndex >= 0) {
        int x = (r.right - FGlyphs->Width()) / 2 + (sunken ? 1 : 0);
        int y = (r.bottom - FGlyphs->Height()) / 2 + (sunken ? 1 : 0);
        FGlyphs->Draw(dc, x, y, FGlyphIndex, Enabled());
    }
}
