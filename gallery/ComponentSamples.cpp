// The drawn components and the stock controls of the GUI layer on sample forms.
#include "core/Format.h"
#include "gallery/Gallery.h"
#include "lib/BranButtons.h"
#include "lib/BranGradient.h"
#include "lib/BranProgressBar.h"
#include "platform/gui/Bevel.h"
#include "platform/gui/CheckBox.h"
#include "platform/gui/ComboBox.h"
#include "platform/gui/Edit.h"
#include "platform/gui/ImageList.h"
#include "platform/gui/Label.h"
#include "platform/gui/ListView.h"
#include "platform/gui/Menu.h"
#include "platform/gui/Panel.h"
#include "platform/gui/RadioButton.h"
#include "platform/gui/StatusBar.h"

namespace {
class TfrmProgressBars : public TForm {
public:
    std::vector<std::unique_ptr<TControl>> parts;
    TfrmProgressBars() {
        SetCaption("Voortgangsbalken");
        SetBorderStyle(TBorderStyle::bsDialog);
        Position = TPosition::poScreenCenter;
        SetClientSize(300, 200);
        int top = 12;
        for (int position : {0, 25, 50, 75, 100}) {
            auto label = std::make_unique<TLabel>(this, Format("Positie %d%%", {position}));
            label->SetBounds(16, top, 90, 16);
            auto bar = std::make_unique<TBranProgressBar>(this);
            bar->SetBounds(120, top, 79, 14);
            bar->SetPosition(position);
            auto wide = std::make_unique<TBranProgressBar>(this);
            wide->SetBounds(210, top, 75, 14);
            wide->SetBarWidth(5);
            wide->SetSeperatorWidth(2);
            wide->SetPosition(position);
            top += 28;
            parts.push_back(std::move(label));
            parts.push_back(std::move(bar));
            parts.push_back(std::move(wide));
        }
        auto label = std::make_unique<TLabel>(this, "Min = Max");
        label->SetBounds(16, top, 90, 16);
        auto bar = std::make_unique<TBranProgressBar>(this);
        bar->SetBounds(120, top, 79, 14);
        bar->SetMax(0);
        parts.push_back(std::move(label));
        parts.push_back(std::move(bar));
    }
};

class TfrmGradients : public TForm {
public:
    std::vector<std::unique_ptr<TBranGradient>> gradients;
    TfrmGradients() {
        SetCaption("Kleurverlopen");
        SetBorderStyle(TBorderStyle::bsDialog);
        Position = TPosition::poScreenCenter;
        SetClientSize(440, 200);
        struct {
            TFillDirection direction;
            const char* caption;
            TAlignment alignment;
        } samples[] = {{TFillDirection::fdLeftToRight, "fdLeftToRight", TAlignment::taLeftJustify},
                       {TFillDirection::fdRightToLeft, "fdRightToLeft", TAlignment::taRightJustify},
                       {TFillDirection::fdTopToBottom, "fdTopToBottom", TAlignment::taCenter},
                       {TFillDirection::fdBottomToTop, "fdBottomToTop", TAlignment::taCenter}};
        int i = 0;
        for (const auto& s : samples) {
            auto gradient = std::make_unique<TBranGradient>(this);
            gradient->SetBounds(16 + (i % 2) * 212, 16 + (i / 2) * 92, 196, 76);
            gradient->SetFromColor(i < 2 ? RGB(0, 0, 128) : RGB(128, 0, 0));
            gradient->SetDirection(s.direction);
            gradient->Alignment = s.alignment;
            gradient->SetFontWith([](TFont& f) {
                f.Color = clWhite;
                f.Bold = true;
            });
            gradient->SetCaption(s.caption);
            gradients.push_back(std::move(gradient));
            ++i;
        }
    }
};

class TfrmControlsSample : public TForm {
public:
    TMainMenu mnuMain{this};
    TMenuItem mnuBestand{&mnuMain, "&Bestand"};
    TMenuItem mnuBestandOpenen{&mnuBestand, "&Openen", {VK_RETURN}};
    TMenuItem mnuBeeld{&mnuMain, "Bee&ld"};
    TMenuItem mnuHelp{&mnuMain, "&Help"};
    TPanel pnlCombo{this};
    TLabel lblServiceItems{&pnlCombo, "&Programma:"};
    TComboBox cboServiceItems{&pnlCombo, TComboBoxStyle::csDropDownList, true};
    TStatusBar barStatus{this};
    TPanel pnlButtons{this};
    TBranButton btnAdd{&pnlButtons};
    TBranButton btnDelete{&pnlButtons};
    TBranButton btnOK{&pnlButtons};
    TBranButton btnCancel{&pnlButtons};
    TListView lstServices{this};
    TPanel pnlRight{this};
    TLabel lblName{&pnlRight, "&Naam:"};
    TEdit txtName{&pnlRight};
    TCheckBox chkNews{&pnlRight, "&E-News ontvangen"};
    TRadioButton optEmail{&pnlRight, "Per e-&mail"};
    TRadioButton optPrint{&pnlRight, "&Afdrukken"};
    TBevel bvlLine{&pnlRight, TBevelShape::bsTopLine};
    TBranSpeedButton btnLarge{&pnlRight};
    TBranSpeedButton btnSmall{&pnlRight};
    TImageList imlLarge{32, 32}, imlSmall{16, 16};

    TfrmControlsSample() {
        SetCaption("Bran-Service");
        Position = TPosition::poScreenCenter;
        SetClientSize(560, 340);
        pnlCombo.SetHeight(36);
        pnlCombo.SetAlign(TAlign::alTop);
        lblServiceItems.SetBounds(8, 11, 70, 16);
        lblServiceItems.FocusControl = &cboServiceItems;
        cboServiceItems.SetBounds(80, 7, 260, 21);
        cboServiceItems.SetItems({"(Algemeen)", "Bran-Boekhouden (3.2)", "Bran-Factuur (2.0)", "Anders..."});
        cboServiceItems.SetItemIndex(0);
        barStatus.SetPanels({200, -1});
        barStatus.SetPanelText(0, "4 diensten");
        barStatus.SetPanelText(1, "Klaar");
        pnlButtons.SetHeight(40);
        pnlButtons.SetAlign(TAlign::alBottom);
        pnlButtons.SetBevelOuter(TBevelCut::bvNone);
        int left = 8;
        for (auto [button, kind] : {std::pair{&btnAdd, TBitBtnKind::bkListAdd}, {&btnDelete, TBitBtnKind::bkListDelete},
                                    {&btnOK, TBitBtnKind::bkOK}, {&btnCancel, TBitBtnKind::bkCancel}}) {
            button->SetKind(kind);
            button->SetBounds(left, 8, 100, 24);
            left += 108;
        }
        btnOK.SetDefault(true);
        btnDelete.SetEnabled(false);
        pnlRight.SetWidth(190);
        pnlRight.SetAlign(TAlign::alRight);
        pnlRight.SetBevelOuter(TBevelCut::bvNone);
        lblName.SetBounds(8, 12, 50, 16);
        lblName.FocusControl = &txtName;
        txtName.SetBounds(60, 8, 120, 21);
        txtName.SetText("Jansen");
        chkNews.SetBounds(8, 40, 170, 20);
        chkNews.SetChecked(true);
        optEmail.SetBounds(8, 66, 170, 20);
        optEmail.SetChecked(true);
        optPrint.SetBounds(8, 88, 170, 20);
        bvlLine.SetBounds(8, 118, 172, 2);
        imlSmall.AddResourceIcon(32516);
        imlSmall.AddResourceIcon(32515);
        imlLarge.AddResourceIcon(32516);
        imlLarge.AddResourceIcon(32515);
        btnLarge.SetBounds(8, 128, 23, 22);
        btnLarge.SetGlyph(&imlSmall, 0);
        btnLarge.GroupIndex = 1;
        btnLarge.SetDown(true);
        btnSmall.SetBounds(32, 128, 23, 22);
        btnSmall.SetGlyph(&imlSmall, 1);
        btnSmall.GroupIndex = 1;
        lstServices.SetAlign(TAlign::alClient);
        lstServices.SetLargeImages(&imlLarge);
        lstServices.SetSmallImages(&imlSmall);
        lstServices.SetViewStyle(TViewStyle::vsReport);
        lstServices.SetRowSelect(true);
        lstServices.AddColumn({"Dienst", 200});
        lstServices.AddColumn({"Omvang", 80, TAlignment::taRightJustify});
        const char* services[][2] = {{"Helpbestand", "120 kB"}, {"Leesmij-bestand", "8 kB"}, {"Probleemoplosser", ""},
                                     {"Online update", ""}};
        for (auto& s : services) {
            int index = lstServices.AddItem(s[0], lstServices.Count() % 2);
            lstServices.SetSubItem(index, 0, s[1]);
        }
        lstServices.SetSelected(2);
        ActiveControlAfterShow = &lstServices;
        OnShow = [this](TControl*) { SetActiveControl(ActiveControlAfterShow); };
    }
    TControl* ActiveControlAfterShow;
};

TGalleryRegistration progress("TBranProgressBar", [] { return std::make_unique<TfrmProgressBars>(); });
TGalleryRegistration gradient("TBranGradient", [] { return std::make_unique<TfrmGradients>(); });
TGalleryRegistration controls("TControls", [] { return std::make_unique<TfrmControlsSample>(); });
}  // namespace
