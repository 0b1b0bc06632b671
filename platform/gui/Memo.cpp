#include "platform/gui/Memo.h"

namespace {
DWORD MemoStyle(TScrollStyle scrollBars, bool wordWrap) {
    DWORD style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!wordWrap) style |= ES_AUTOHSCROLL;
    if (scrollBars == TScrollStyle::ssVertical || scrollBars == TScrollStyle::ssBoth) style |= WS_VSCROLL;
    if (scrollBars == TScrollStyle::ssHorizontal || scrollBars == TScrollStyle::ssBoth) style |= WS_HSCROLL;
    return style;
}
}  // namespace

TMemo::TMemo(TControl* parent, TScrollStyle scrollBars, bool wordWrap)
    : TCustomEdit(parent, MemoStyle(scrollBars, wordWrap)) {}

std::vector<std::string> TMemo::Lines() const {
    std::vector<std::string> lines;
    std::string text = Text();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            if (start < text.size()) lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void TMemo::SetLines(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    SetText(text);
}

void TMemo::AddLine(const std::string& line) {
    std::vector<std::string> lines = Lines();
    lines.push_back(line);
    SetLines(lines);
}

bool TMemo::TypeTab() {
    if (ReadOnly()) return false;
    SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
    return true;
}
