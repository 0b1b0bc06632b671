#pragma once
// The program's buttons: a push button with a glyph per kind (TBranButton) and a flat tool-bar
// button (TBranSpeedButton) whose colours come from a shared colour set (TBranColors). Glyphs are
// shared between buttons through a cache of image lists, one list per glyph size.
#include <map>
#include <memory>

#include "platform/gui/Button.h"
#include "platform/gui/ImageList.h"

// The colours a button paints with, taken from the system's colour scheme.
class TBranColors {
public:
    explicit TBranColors(TControl* aControl);
    TColor BtnFace = clBtnFace;
    TColor BtnShadow = clBtnShadow;
    TColor BtnHighlight = clBtnHighlight;
    TColor Btn3DLight = cl3DLight;
    TColor Btn3DDkShadow = cl3DDkShadow;
    TColor BtnDisabledLight = clBtnHighlight;
    TColor BtnDisabledShadow = clBtnShadow;
    TControl* Control() const { return FControl; }

private:
    TControl* FControl;
};

// Image lists of glyphs, one per size; a glyph is added once and shared by every button using it.
class TGlyphCache {
public:
    static TGlyphCache& Instance();
    TImageList& List(int width, int height);
    // The index of the glyph of a button kind in the list of that size (drawn on first use), or -1.
    int KindGlyph(TBitBtnKind kind, int size);
    // Adds a bitmap once under a key (its pixels of maskColor are see-through).
    int Glyph(const std::string& key, HBITMAP bitmap, COLORREF maskColor, int width, int height);

private:
    std::map<std::pair<int, int>, std::unique_ptr<TImageList>> FLists;
    std::map<std::string, int> FIndexes;
};

class TBranButton : public TButton {
public:
    explicit TBranButton(TControl* parent, const std::string& caption = {});
    // Takes the kind's glyph along with caption and modal result.
    void SetKind(TBitBtnKind kind) override;
    void SetGlyph(TImageList* list, int index);
    int GlyphIndex() const { return FGlyphIndex; }

protected:
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    TImageList* FGlyphs = nullptr;
    int FGlyphIndex = -1;
};

class TBranSpeedButton : public TControl {
public:
    explicit TBranSpeedButton(TControl* parent);
    ~TBranSpeedButton() override;

    void SetGlyph(TImageList* list, int index);
    // A button of a group (GroupIndex > 0) stays down when clicked; the others of its group come up.
    int GroupIndex = 0;
    bool AllowAllUp = false;
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool Flat = true;
    const TBranColors& Colors() const { return *FColors; }

    void Click() override;

protected:
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc) override;

private:
    std::unique_ptr<TBranColors> FColors;
    TImageList* FGlyphs = nullptr;
    int FGlyphIndex = -1;
    bool FDown = false;
    bool FPressed = false;
    bool FHot = false;
};
