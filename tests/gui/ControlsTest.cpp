#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "GuiTestSupport.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/ComboBox.h"
#include "platform/gui/PageControl.h"
#include "platform/gui/RadioButton.h"
#include "platform/gui/StatusBar.h"
#include "platform/gui/Timer.h"

namespace {
struct TfrmControls : TForm {
    TComboBox cboList{this, TComboBoxStyle::csDropDownList, true};
    TComboBox cboEdit{this};
    TCheckBox chkOne{this, "Een"};
    TRadioButton optA{this, "A"};
    TRadioButton optB{this, "B"};
    TPageControl pgcPages{this};
    TTabSheet tabOne{&pgcPages, "Een"};
    TTabSheet tabTwo{&pgcPages, "Twee"};
    TTabSheet tabThree{&pgcPages, "Drie"};
    TStatusBar barStatus{this};
    TfrmControls() {
        SetClientSize(400, 300);
        cboList.SetBounds(8, 8, 150, 21);
        cboEdit.SetBounds(8, 40, 150, 21);
        chkOne.SetBounds(200, 8, 100, 17);
        optA.SetBounds(200, 30, 100, 17);
        optB.SetBounds(200, 50, 100, 17);
        pgcPages.SetBounds(8, 100, 300, 150);
    }
};
}  // namespace

TEST(ComboBox, SortedPickListSelectsByText) {
    TfrmControls form;
    int changes = 0;
    form.cboList.OnChange = [&](TControl*) { ++changes; };
    form.cboList.SetItems({"Zeeland", "Amsterdam", "Limburg"});
    EXPECT_EQ(form.cboList.Item(0), "Amsterdam");
    form.cboList.SetText("limburg");
    EXPECT_EQ(form.cboList.ItemIndex(), 1);
    EXPECT_EQ(form.cboList.Text(), "Limburg");
    form.cboList.SetText("Utrecht");
    EXPECT_EQ(form.cboList.ItemIndex(), -1);
    form.cboEdit.AddItem("vrij", 42);
    form.cboEdit.SetText("iets anders");
    EXPECT_EQ(form.cboEdit.Text(), "iets anders");
    EXPECT_EQ(form.cboEdit.ItemData(0), 42);
    EXPECT_LT(form.cboList.Height(), 40);  // the closed height, not the list's
}

TEST(ComboBox, TheOpeningListFitsItsLongestEntry) {
    TfrmControls form;
    form.Show();
    const HWND box = form.cboList.Handle();
    auto droppedWidth = [box] {
        SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
        SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
        return static_cast<int>(SendMessageW(box, CB_GETDROPPEDWIDTH, 0, 0));
    };
    form.cboList.SetItems({"Kasboek (2.1)"});
    EXPECT_EQ(droppedWidth(), form.cboList.Width());  // never narrower than the box
    const std::string longest = "Brantel Boekhouden Professioneel met Loonadministratie (12.0.3)";
    form.cboList.SetItems({"Kasboek (2.1)", longest});
    form.cboList.SetText(longest);
    EXPECT_GT(droppedWidth(), CaptionExtent(form.cboList, 0, DT_SINGLELINE).cx);
}

TEST(RadioButton, OneOfAParentsGroupIsChecked) {
    TfrmControls form;
    form.Show();
    form.optA.SetChecked(true);
    SendMessageW(form.optB.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.optB.Checked());
    EXPECT_FALSE(form.optA.Checked());
    int clicks = 0;
    form.chkOne.OnClick = [&](TControl*) { ++clicks; };
    form.chkOne.SetChecked(true);
    EXPECT_EQ(clicks, 0);
    SendMessageW(form.chkOne.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form.chkOne.Checked());
}

TEST(PageControl, HiddenTabsKeepPageOrderAndChangingMayRefuse) {
    TfrmControls form;
    auto& pages = form.pgcPages;
    EXPECT_EQ(pages.ActivePage(), &form.tabOne);
    EXPECT_EQ(form.tabThree.PageIndex(), 2);
    form.tabTwo.SetTabVisible(false);
    EXPECT_EQ(TabCtrl_GetItemCount(pages.Handle()), 2);
    pages.SetActivePage(&form.tabThree);
    EXPECT_TRUE(form.tabThree.Visible());
    EXPECT_FALSE(form.tabOne.Visible());
    EXPECT_EQ(TabCtrl_GetCurSel(pages.Handle()), 1);

    // A tab click asks OnChanging first.
    bool allow = false;
    int changes = 0;
    pages.OnChanging = [&](TControl*, bool& allowChange) { allowChange = allow; };
    pages.OnChange = [&](TControl*) { ++changes; };
    NMHDR header{pages.Handle(), 0, static_cast<UINT>(TCN_SELCHANGING)};
    EXPECT_EQ(SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), TRUE);
    allow = true;
    EXPECT_EQ(SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header)), FALSE);
    TabCtrl_SetCurSel(pages.Handle(), 0);
    header.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(pages.ActivePage(), &form.tabOne);
    EXPECT_EQ(changes, 1);
}

TEST(StatusBar, PanelsAndAlignment) {
    TfrmControls form;
    form.barStatus.SetPanels({100, -1});
    form.barStatus.SetPanelText(1, "Klaar");
    EXPECT_EQ(form.barStatus.PanelText(1), "Klaar");
    EXPECT_EQ(form.barStatus.Bottom(), form.ClientHeight());
}

TEST(Timer, FiresThroughTheMessageLoopWhileEnabled) {
    TTimer timer(10);
    int ticks = 0;
    timer.OnTimer = [&](TTimer* t) {
        if (++ticks == 2) t->SetEnabled(false);
    };
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 2000 && timer.Enabled()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Application().ProcessMessages();
    }
    EXPECT_EQ(ticks, 2);
}
