#pragma once
// Rich edit control (RichEdit 2.0): shows RTF, finds plain text, prints page by page.
#include <functional>
#include <string>
#include <string_view>

#include "platform/gui/Control.h"

class TPrinter;

enum TSearchOption : unsigned { stMatchCase = 1, stWholeWord = 2 };

class TRichEdit : public TControl {
public:
    explicit TRichEdit(TControl* parent);

    // Replaces the contents with the RTF (or plain text) of a file / of bytes. Throws EBrantel
    // when the file cannot be read.
    void LoadFromFile(const std::string& path);
    void LoadFromStream(const std::string& rtf);
    // Replaces the contents with RTF that `next` hands over piece by piece (an empty piece ends it;
    // each piece stays valid until the next call), so that a long text is never gathered whole.
    void LoadRtfPieces(const std::function<std::string_view()>& next);
    // The text without formatting, paragraphs separated by "\r\n".
    std::string PlainText() const;
    int TextLength() const;
    bool ReadOnly() const;
    void SetReadOnly(bool value);

    // Position of the first match of text within [start, start + length) (length -1: to the end), or -1.
    int FindPlainText(const std::string& text, int start, int length = -1, unsigned options = 0) const;
    void SetSelection(int start, int length);
    int SelStart() const;
    int SelLength() const;
    std::string SelText() const;
    void ScrollCaret();

    // Lays out one page from character `from` into pageTwips on target and answers the first
    // character of the next page. With render false it only measures.
    int FormatPage(HDC target, const RECT& pageTwips, int from, bool render);
    // Prints the whole text, one page rectangle (twips, relative to the printable area) per page.
    // Answers the number of pages.
    int Print(TPrinter& printer, const std::string& title, const RECT& pageTwips);
    // The same with the whole printable area as page rectangle.
    int Print(TPrinter& printer, const std::string& title);
    // Releases the layout cache after FormatPage.
    void EndFormat();

private:
    void Stream(bool isRtf, const std::function<std::string_view()>& next);
    int FormatRange(HDC target, const RECT& pageTwips, int from, bool render);
};
