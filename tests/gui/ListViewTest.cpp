#include <gtest/gtest.h>

#include "GuiTestSupport.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/ListView.h"

namespace {
struct TfrmList : TForm {
    TListView lstServices{this};
    TImageList large{32, 32}, small{16, 16};
    TfrmList() {
        SetClientSize(400, 300);
        lstServices.SetAlign(TAlign::alClient);
        large.AddResourceIcon(32516);  // the system's information icon
        small.AddResourceIcon(32516);
        lstServices.SetLargeImages(&large);
        lstServices.SetSmallImages(&small);
    }
};
}  // namespace

TEST(ListView, ItemsKeepCaptionSubItemsImageAndDataAcrossViewStyles) {
    TfrmList form;
    auto& list = form.lstServices;
    list.AddColumn({"Dienst", 150});
    list.AddColumn({"Omvang", 80, TAlignment::taRightJustify});
    auto data = std::make_shared<std::string>("helpbestand");
    EXPECT_EQ(list.AddItem("Help", 0, data), 0);
    EXPECT_EQ(list.AddItem("Leesmij", -1), 1);
    list.SetSubItem(0, 0, "12 kB");
    for (TViewStyle style : {TViewStyle::vsReport, TViewStyle::vsList, TViewStyle::vsSmallIcon, TViewStyle::vsIcon}) {
        list.SetViewStyle(style);
        ASSERT_EQ(list.Count(), 2);
        EXPECT_EQ(list.ItemCaption(0), "Help");
        EXPECT_EQ(list.SubItem(0, 0), "12 kB");
        EXPECT_EQ(list.ImageIndex(0), 0);
        EXPECT_EQ(*list.ItemData<std::string>(0), "helpbestand");
        EXPECT_EQ(list.ItemData<std::string>(1), nullptr);
    }
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_EQ(list.Column(1).Caption, "Omvang");
    EXPECT_EQ(list.Column(1).Width, 80);
    EXPECT_EQ(list.Column(1).Alignment, TAlignment::taRightJustify);
}

TEST(ListView, DeletingItemsReleasesTheirData) {
    TfrmList form;
    auto data = std::make_shared<int>(7);
    form.lstServices.AddItem("een", -1, data);
    form.lstServices.AddItem("twee", -1, data);
    EXPECT_EQ(data.use_count(), 3);
    form.lstServices.DeleteItem(0);
    EXPECT_EQ(data.use_count(), 2);
    EXPECT_EQ(form.lstServices.ItemCaption(0), "twee");
    form.lstServices.Clear();
    EXPECT_EQ(data.use_count(), 1);
}

TEST(ListView, SelectionAndCheckboxes) {
    TfrmList form;
    auto& list = form.lstServices;
    int changes = 0;
    list.OnChange = [&](TControl*) { ++changes; };
    list.SetCheckboxes(true);
    for (const char* name : {"a", "b", "c"}) list.AddItem(name);
    EXPECT_EQ(list.Selected(), -1);
    list.SetSelected(2);
    EXPECT_EQ(list.Selected(), 2);
    EXPECT_GT(changes, 0);
    list.SetSelected(-1);
    EXPECT_EQ(list.Selected(), -1);
    list.SetChecked(1, true);
    EXPECT_TRUE(list.Checked(1));
    EXPECT_FALSE(list.Checked(0));
}

TEST(ListView, ScalingToTheScreenWidensTheColumnsWithTheList) {
    TfrmList form;
    auto& list = form.lstServices;
    list.SetViewStyle(TViewStyle::vsReport);
    list.AddColumn({"Naam", 130});
    list.AddColumn({"Omschrijving", 250});
    form.ScaleBy(144, 96);
    EXPECT_EQ(list.Column(0).Width, 195);
    EXPECT_EQ(list.Column(1).Width, 375);
}

// A refill holds the list's drawing, also when refills nest: items added meanwhile ask for no
// drawing; the list is drawn afresh only when the outermost refill ends.
TEST(ListView, UpdatesHoldTheDrawingUntilTheLastEnds) {
    TfrmList form;
    form.Show();
    auto& list = form.lstServices;
    auto drawingPending = [&] {
        RECT pending{};
        return GetUpdateRect(list.Handle(), &pending, FALSE) != FALSE;
    };
    UpdateWindow(list.Handle());
    list.AddItem("Zonder", 0);
    EXPECT_TRUE(drawingPending()) << "outside a refill each item is drawn";
    UpdateWindow(list.Handle());
    {
        TListView::TUpdate outer(list);
        {
            TListView::TUpdate inner(list);
            list.AddItem("Help", 0);
        }
        list.AddItem("Leesmij", 0);
        EXPECT_FALSE(drawingPending()) << "the outer refill still runs";
    }
    EXPECT_TRUE(drawingPending());
    EXPECT_EQ(list.Count(), 3);
}
