#include "platform/gui/RichEdit.h"

#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/Exceptions.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/gui/Printer.h"

namespace {
// riched20.dll stays loaded for the life of the process once a rich edit exists.
void LoadRichEditLibrary() {
    static HMODULE module = LoadLibraryW(L"riched20.dll");
    if (!module) throw EBrantel("TRichEdit", "Create", "riched20.dll could not be loaded");
}

// The text handed to the control piece by piece; an empty piece ends it.
struct TStreamSource {
    const std::function<std::string_view()>& Next;
    std::string_view Piece = {};
    bool Ended = false;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done) {
    try {
        auto* source = reinterpret_cast<TStreamSource*>(cookie);
        size_t filled = 0;
        while (filled < static_cast<size_t>(count) && !source->Ended) {
            if (source->Piece.empty()) {
                source->Piece = source->Next();
                source->Ended = source->Piece.empty();
                continue;
            }
            const size_t n = std::min(source->Piece.size(), static_cast<size_t>(count) - filled);
            memcpy(buffer + filled, source->Piece.data(), n);
            source->Piece.remove_prefix(n);
            filled += n;
        }
        *done = static_cast<LONG>(filled);
        return 0;
    } catch (...) {
        return 1;
    }
}
}  // namespace

TRichEdit::TRichEdit(TControl* parent) : TControl(parent) {
    LoadRichEditLibrary();
    CreateStockWindow(RICHEDIT_CLASSW,
                      WS_TABSTOP | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | ES_SAVESEL,
                      WS_EX_CLIENTEDGE);
    SendMessageW(Handle(), EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    SetColor(clWindow);
}

void TRichEdit::LoadFromFile(const std::string& path) { LoadFromStream(ReadFileBytes(path)); }

void TRichEdit::LoadFromStream(const std::string& rtf) {
    bool given = false;
    Stream(rtf.rfind("{\\rtf", 0) == 0, [&] { return std::exchange(given, true) ? std::string_view() : std::string_view(rtf); });
}

void TRichEdit::LoadRtfPieces(const std::function<std::string_view()>& next) { Stream(true, next); }

void TRichEdit::Stream(bool isRtf, const std::function<std::string_view()>& next) {
    TStreamSource source{next};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadStream;
    SendMessageW(Handle(), EM_STREAMIN, isRtf ? SF_RTF : SF_TEXT, reinterpret_cast<LPARAM>(&stream));
    if (stream.dwError != 0) throw EBrantel("TRichEdit", "LoadFromStream", "the text could not be read");
}

std::string TRichEdit::PlainText() const {
    GETTEXTLENGTHEX lengthEx{GTL_NUMCHARS | GTL_USECRLF, 1200};
    LRESULT length = SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthEx), 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_USECRLF;
    get.codepage = 1200;
    LRESULT copied = SendMessageW(Handle(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return Narrow(text);
}

int TRichEdit::TextLength() const {
    GETTEXTLENGTHEX lengthEx{GTL_NUMCHARS | GTL_PRECISE, 1200};
    return static_cast<int>(SendMessageW(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthEx), 0));
}

bool TRichEdit::ReadOnly() const { return (GetWindowLongW(Handle(), GWL_STYLE) & ES_READONLY) != 0; }
void TRichEdit::SetReadOnly(bool value) { SendMessageW(Handle(), EM_SETREADONLY, value, 0); }

int TRichEdit::FindPlainText(const std::string& text, int start, int length, unsigned options) const {
    std::wstring wide = Widen(text);
    FINDTEXTEXW find{};
    find.chrg.cpMin = start;
    find.chrg.cpMax = length < 0 ? -1 : start + length;
    find.lpstrText = wide.c_str();
    WPARAM flags = FR_DOWN;
    if (options & stMatchCase) flags |= FR_MATCHCASE;
    if (options & stWholeWord) flags |= FR_WHOLEWORD;
    return static_cast<int>(SendMessageW(Handle(), EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find)));
}

void TRichEdit::SetSelection(int start, int length) {
    CHARRANGE range{start, start + length};
    SendMessageW(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

int TRichEdit::SelStart() const {
    CHARRANGE range{};
    SendMessageW(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

int TRichEdit::SelLength() const {
    CHARRANGE range{};
    SendMessageW(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMax - range.cpMin;
}

std::string TRichEdit::SelText() const {
    std::wstring text(static_cast<size_t>(SelLength()) + 1, L'\0');
    LRESULT n = SendMessageW(Handle(), EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(n));
    return Narrow(text);
}

void TRichEdit::ScrollCaret() { SendMessageW(Handle(), EM_SCROLLCARET, 0, 0); }

namespace {
// Lays out plain paragraphs when the control cannot format ranges itself (some implementations of
// RichEdit leave EM_FORMATRANGE out): the text keeps its words and paragraphs, not its formatting.
class TPlainPager {
public:
    TPlainPager(HDC dc, const RECT& pageTwips, const std::wstring& face, int heightTwips)
        : FDC(dc),
          FFont(CreateFontW(-MulDiv(heightTwips, GetDeviceCaps(dc, LOGPIXELSY), 1440), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                            DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, 0, face.c_str())),
          FSelect(dc, FFont.Get()) {
        FArea = {MulDiv(pageTwips.left, GetDeviceCaps(dc, LOGPIXELSX), 1440),
                 MulDiv(pageTwips.top, GetDeviceCaps(dc, LOGPIXELSY), 1440),
                 MulDiv(pageTwips.right, GetDeviceCaps(dc, LOGPIXELSX), 1440),
                 MulDiv(pageTwips.bottom, GetDeviceCaps(dc, LOGPIXELSY), 1440)};
    }

    // Text uses '\r' between paragraphs, as the control counts characters.
    int Page(const std::wstring& text, int from, bool render) {
        int y = FArea.top;
        size_t pos = static_cast<size_t>(from);
        SetBkMode(FDC, TRANSPARENT);
        while (pos < text.size()) {
            size_t end = text.find(L'\r', pos);
            if (end == std::wstring::npos) end = text.size();
            std::wstring paragraph = text.substr(pos, end - pos);
            int height = Measure(paragraph);
            if (y + height <= FArea.bottom) {
                Draw(paragraph, y, render);
                y += height;
                pos = end + 1;
                continue;
            }
            if (y == FArea.top) {
                // A paragraph taller than a page: as many characters as fit, at least one.
                size_t low = 1, high = paragraph.size();
                while (low < high) {
                    size_t mid = (low + high + 1) / 2;
                    if (Measure(paragraph.substr(0, mid)) <= FArea.bottom - y) low = mid; else high = mid - 1;
                }
                Draw(paragraph.substr(0, low), y, render);
                pos += low;
            }
            break;
        }
        return static_cast<int>(std::min(pos, text.size()));
    }

private:
    int Measure(const std::wstring& paragraph) {
        RECT r{FArea.left, 0, FArea.right, 0};
        const wchar_t* s = paragraph.empty() ? L" " : paragraph.c_str();
        DrawTextW(FDC, s, -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_CALCRECT);
        return r.bottom - r.top;
    }
    void Draw(const std::wstring& paragraph, int y, bool render) {
        if (!render || paragraph.empty()) return;
        RECT r{FArea.left, y, FArea.right, FArea.bottom};
        DrawTextW(FDC, paragraph.c_str(), -1, &r, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }

    HDC FDC;
    TFontHandle FFont;
    TSelectObject FSelect;
    RECT FArea{};
};
}  // namespace

int TRichEdit::FormatPage(HDC target, const RECT& pageTwips, int from, bool render) {
    int next = FormatRange(target, pageTwips, from, render);
    if (next > from || from >= TextLength()) return next;
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    std::wstring face = format.szFaceName[0] ? format.szFaceName : L"Arial";
    TPlainPager pager(target, pageTwips, face, format.yHeight > 0 ? format.yHeight : 200);
    std::wstring text(static_cast<size_t>(TextLength()) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    text.resize(static_cast<size_t>(
        SendMessageW(Handle(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()))));
    return pager.Page(text, from, render);
}

int TRichEdit::FormatRange(HDC target, const RECT& pageTwips, int from, bool render) {
    FORMATRANGE range{};
    range.hdc = target;
    range.hdcTarget = target;
    range.rc = pageTwips;
    range.rcPage = pageTwips;
    range.chrg.cpMin = from;
    range.chrg.cpMax = -1;
    return static_cast<int>(SendMessageW(Handle(), EM_FORMATRANGE, render, reinterpret_cast<LPARAM>(&range)));
}

void TRichEdit::EndFormat() { SendMessageW(Handle(), EM_FORMATRANGE, FALSE, 0); }

int TRichEdit::Print(TPrinter& printer, const std::string& title, const RECT& pageTwips) {
    struct TFormatCache {
        TRichEdit* Edit;
        ~TFormatCache() { Edit->EndFormat(); }
    } cache{this};
    int length = TextLength();
    int pages = 0;
    printer.BeginDoc(title);
    for (int from = 0; from < length;) {
        if (pages > 0) printer.NewPage();
        int next = FormatPage(printer.DC(), pageTwips, from, true);
        ++pages;
        if (next <= from) break;  // nothing more fits: do not loop for ever
        from = next;
    }
    printer.EndDoc();
    return pages;
}

int TRichEdit::Print(TPrinter& printer, const std::string& title) {
    RECT page{0, 0, MulDiv(printer.PageWidth(), 1440, printer.PixelsPerInchX()),
              MulDiv(printer.PageHeight(), 1440, printer.PixelsPerInchY())};
    return Print(printer, title, page);
}
