#include <gtest/gtest.h>

#include "GuiTestSupport.h"

#include <memory>
#include <tuple>

#include "platform/gui/Application.h"
#include "platform/gui/Edit.h"
#include "platform/gui/Menu.h"

namespace {
struct TfrmMenu : TForm {
    TMainMenu mnuMain{this};
    TMenuItem mnuBestand{&mnuMain, "&Bestand"};
    TMenuItem mnuBestandOpenen{&mnuBestand, "&Openen", {VK_RETURN}};
    TMenuItem mnuBestandAfdrukken{&mnuBestand, "Af&drukken...", {'P', ssCtrl}};
    TMenuItem mnuBestandSep{&mnuBestand, "-"};
    TMenuItem mnuBestandAfsluiten{&mnuBestand, "Af&sluiten", {VK_F4, ssAlt}};
    TMenuItem mnuBeeld{&mnuMain, "Bee&ld"};
    TMenuItem mnuBeeldGroot{&mnuBeeld, "&Grote pictogrammen"};
    TMenuItem mnuBeeldKlein{&mnuBeeld, "&Kleine pictogrammen"};
    TMenuItem mnuBeeldVernieuwen{&mnuBeeld, "&Vernieuwen", {VK_F5}};
    TEdit txtSearch{this};
    std::vector<std::string> clicks;
    TfrmMenu() {
        SetClientSize(300, 100);
        txtSearch.SetBounds(8, 8, 100, 21);
        for (TMenuItem* item : {&mnuBeeldGroot, &mnuBeeldKlein}) {
            item->SetRadioItem(true);
            item->GroupIndex = 1;
        }
        mnuBestandOpenen.OnClick = [this](TControl*) { clicks.push_back("openen"); };
        mnuBestandAfdrukken.OnClick = [this](TControl*) { clicks.push_back("afdrukken"); };
        mnuBeeldVernieuwen.OnClick = [this](TControl*) { clicks.push_back("vernieuwen"); };
        mnuBestand.OnPopup = [this](TControl*) { clicks.push_back("popup"); };
    }
};
}  // namespace

TEST(Menu, ShortCutTexts) {
    struct {
        TShortCut shortCut;
        const char* text;
    } cases[] = {{{VK_RETURN}, "Enter"}, {{VK_DELETE}, "Del"}, {{'P', ssCtrl}, "Ctrl+P"}, {{VK_F5}, "F5"}, {{VK_F4, ssAlt}, "Alt+F4"}};
    for (const auto& c : cases) EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
}

TEST(Menu, CaptionsCarryTheirShortCutsAndStates) {
    TfrmMenu form;
    HMENU bestand = form.mnuBestand.MenuHandle();
    wchar_t text[100];
    GetMenuStringW(bestand, form.mnuBestandAfdrukken.Command(), text, 100, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"Af&drukken...\tCtrl+P");
    EXPECT_EQ(GetMenuItemCount(bestand), 4);
    form.mnuBestandAfdrukken.SetEnabled(false);
    EXPECT_TRUE(GetMenuState(bestand, form.mnuBestandAfdrukken.Command(), MF_BYCOMMAND) & MF_GRAYED);
    form.mnuBeeldGroot.SetChecked(true);
    form.mnuBeeldKlein.SetChecked(true);
    EXPECT_FALSE(form.mnuBeeldGroot.Checked());
    EXPECT_TRUE(GetMenuState(form.mnuBeeld.MenuHandle(), form.mnuBeeldKlein.Command(), MF_BYCOMMAND) & MF_CHECKED);
}

TEST(Menu, ShortCutsAndMenuCommandsReachTheirItems) {
    TfrmMenu form;
    TModalScript script([](TForm& shown) {
        auto& f = static_cast<TfrmMenu&>(shown);
        f.txtSearch.SetFocus();
        PressKey(VK_F5);
        PressKey(VK_RETURN);
        f.mnuBestandAfdrukken.SetEnabled(false);
        PressKey('P');  // without Ctrl: an ordinary letter
        SendMessageW(f.Handle(), WM_COMMAND, f.mnuBestandOpenen.Command(), 0);
    });
    form.ShowModal();
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"vernieuwen", "popup", "openen", "openen"}));
    EXPECT_EQ(form.txtSearch.Text(), "p");
}

TEST(Menu, OpeningASubmenuFiresOnPopup) {
    TfrmMenu form;
    SendMessageW(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(form.mnuBestand.MenuHandle()), 0);
    EXPECT_EQ(form.clicks, (std::vector<std::string>{"popup"}));
}

// The bar of a window built hidden is measured once, when the window shows; a bar filled while the
// window is on screen is redrawn as it grows. Both must end up alike, also when the items need two
// lines in a narrow window.
TEST(Menu, BarFilledWhileHiddenIsMeasuredWhenShown) {
    const char* captions[] = {"&Bestand", "Bee&ld", "&Extra", "&Venster", "&Gereedschap", "&Instellingen", "&Help"};
    struct TfrmBar : TForm {
        TMainMenu mnuMain{this};
        std::vector<std::unique_ptr<TMenuItem>> items;
        TEdit txtFill{this};
        TfrmBar() { txtFill.SetAlign(TAlign::alClient); }
    };
    auto client = [](const TfrmBar& form) {
        RECT r;
        GetClientRect(form.Handle(), &r);
        MENUBARINFO bar{};
        bar.cbSize = sizeof bar;
        GetMenuBarInfo(form.Handle(), OBJID_MENU, 0, &bar);
        POINT top{0, 0};
        ClientToScreen(form.Handle(), &top);
        return std::tuple{r.bottom, bar.rcBar.bottom - bar.rcBar.top, top.y + 1 >= bar.rcBar.bottom};  // the bar's rectangle takes in the line below it
    };
    TfrmBar hidden, shown;
    for (TfrmBar* form : {&hidden, &shown}) form->SetClientSize(110, 120);
    for (const char* caption : captions) hidden.items.push_back(std::make_unique<TMenuItem>(&hidden.mnuMain, caption));
    shown.Show();
    for (const char* caption : captions) shown.items.push_back(std::make_unique<TMenuItem>(&shown.mnuMain, caption));
    hidden.Show();
    Application().ProcessMessages();
    EXPECT_EQ(client(hidden), client(shown));
    EXPECT_TRUE(std::get<2>(client(hidden)));
    EXPECT_GT(std::get<1>(client(hidden)), GetSystemMetrics(SM_CYMENU)) << "seven items need two lines at 110 pixels";
    EXPECT_EQ(hidden.txtFill.Height(), std::get<0>(client(hidden)));
}
