#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "GuiTestSupport.h"
#include "platform/gui/Button.h"

TEST(Hint, AControlsHintIsATooltipOfItsForm) {
    TForm form;
    TButton first(&form), second(&form);
    first.SetHint("Grote pictogrammen");
    second.SetHint("Lijst");
    auto tools = [&] { return SendMessageW(form.ToolTip(), TTM_GETTOOLCOUNT, 0, 0); };
    EXPECT_EQ(tools(), 2);
    EXPECT_EQ(first.Hint(), "Grote pictogrammen");

    first.SetHint("Details");  // replaced, not added
    EXPECT_EQ(tools(), 2);
    wchar_t text[80] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = form.Handle();
    info.uId = reinterpret_cast<UINT_PTR>(first.Handle());
    info.lpszText = text;
    SendMessageW(form.ToolTip(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"Details");

    second.SetHint("");
    EXPECT_EQ(tools(), 1);
}
