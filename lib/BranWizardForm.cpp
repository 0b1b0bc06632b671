#include "lib/BranWizardForm.h"

#include <commctrl.h>
#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <typeinfo>

#include "core/Exceptions.h"
#include "lib/BranButtons.h"
#include "lib/BranGradient.h"
#include "lib/BranProgressBar.h"
#include "lib/OACInterface.h"
#include "platform/gui/Application.h"
#include "platform/gui/Bevel.h"
#include "platform/gui/Image.h"
#include "platform/gui/Label.h"
#include "platform/gui/Panel.h"
#include "platform/gui/Shape.h"

namespace {
const char* const kSource = "BranWizardForm";

// The class name of the derived wizard, for messages ("TfrmProblemSolver").
std::string ClassNameOf(const TBranWizardForm& form) {
    const char* mangled = typeid(form).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : mangled;
    std::free(demangled);
    size_t scope = name.rfind("::");
    return scope == std::string::npos ? name : name.substr(scope + 2);
}

void Place(TControl& control, int left, int top, int width, int height) { control.SetBounds(left, top, width, height); }
}  // namespace

TBranWizardForm::TBranWizardForm() {
    SetBorderStyle(TBorderStyle::bsDialog);
    KeyPreview = true;
}

TBranWizardForm::~TBranWizardForm() = default;

void TBranWizardForm::PagesChanging(TControl*, bool& allowChange) { allowChange = FNavigating; }

TTabSheet* TBranWizardForm::FindNeighbourPage(TWizardDirection direction) {
    if (!Pages) return nullptr;
    int index = Pages->ActivePage() ? Pages->ActivePage()->PageIndex() : -1;
    int step = direction == TWizardDirection::wdForward ? 1 : -1;
    for (index += step; index >= 0 && index < Pages->PageCount(); index += step) {
        TTabSheet* page = Pages->Pages(index);
        if (page->TabVisible() && page->Enabled()) return page;
    }
    return nullptr;
}

int TBranWizardForm::CountEnabledPages(TTabSheet* page) {
    if (!Pages) return 0;
    int limit = page ? page->PageIndex() : Pages->PageCount();
    int count = 0;
    for (int i = 0; i < limit && i < Pages->PageCount(); ++i)
        if (Pages->Pages(i)->Enabled()) ++count;
    return count;
}

void TBranWizardForm::SetCancelAsCancel() {
    if (!FCancel) return;
    FCancel->SetKind(TBitBtnKind::bkCancel);
    FCancel->SetCancel(true);
    FCancel->ModalResult = mrNone;
}

void TBranWizardForm::SetCancelAsClose() {
    if (!FCancel) return;
    FCancel->SetKind(TBitBtnKind::bkClose);
    FCancel->SetCancel(true);
    FCancel->ModalResult = mrNone;
}

void TBranWizardForm::SetNextAsNext() {
    if (!FNext) return;
    FNext->SetKind(TBitBtnKind::bkRight);
    FNext->SetDefault(true);
    FNext->ModalResult = mrNone;
}

void TBranWizardForm::SetNextAsFinish() {
    if (!FNext) return;
    FNext->SetKind(TBitBtnKind::bkOK);
    FNext->SetCaption("Voltooien");
    FNext->SetDefault(true);
    FNext->ModalResult = mrNone;
}

void TBranWizardForm::UpdateNavigation() {
    if (!Pages || !FLaidOut) return;
    TTabSheet* active = Pages->ActivePage();
    if (FindNeighbourPage(TWizardDirection::wdForward))
        SetNextAsNext();
    else
        SetNextAsFinish();
    SetCancelAsCancel();
    FBack->SetEnabled(FindNeighbourPage(TWizardDirection::wdBackward) != nullptr);
    FCancel->SetEnabled(true);
    FHelp->SetEnabled((active && active->HelpContext != 0) || Pages->HelpContext != 0);
    FTitle->SetCaption(active ? active->Caption() : std::string());
    if (Images && FImage) {
        int index = 0;
        if (OnImageRequest) OnImageRequest(Pages, active, index);
        if (index >= 0 && index < Images->Count()) {
            FImage->Clear();
            FImage->SetFromImageList(*Images, index);
        }
    }
}

void TBranWizardForm::UpdateProgress() {
    if (!FProgress || !Pages) return;
    FProgress->SetMax(CountEnabledPages(nullptr));
    FProgress->SetPosition(CountEnabledPages(Pages->ActivePage()) + 1);
}

void TBranWizardForm::EndWizard(int result) {
    SetModalResult(result);
    if (!IsModal()) Close();
}

namespace {
// What a failed page change must give back: the derived form may have changed the buttons' kinds
// and captions for the page it is on (Close instead of Cancel on the last page).
struct TButtonLook {
    TBranButton* Button;
    TBitBtnKind Kind;
    std::string Caption;
    int ModalResult;

    explicit TButtonLook(TBranButton* button)
        : Button(button), Kind(button->Kind()), Caption(button->Caption()), ModalResult(button->ModalResult) {}
    void Restore() const {
        Button->SetKind(Kind);
        Button->SetCaption(Caption);
        Button->ModalResult = ModalResult;
    }
};
}  // namespace

bool TBranWizardForm::CommitActiveInput() {
    // A control that refused its input while the focus was leaving it keeps the page: the click
    // that took the focus away arrives only after the refusal.
    if (TControl* refused = RefusedExit()) {
        if (refused->CanFocus()) refused->SetFocus();
        return false;
    }
    // Enter and the page keys act while the focus stays in the control: its input counts as left.
    TOACInterface* binding = FindOACInterface(ActiveControl());
    return !binding || !binding->TakesInput() || !ActiveControl()->Focused() || binding->CommitInput();
}

TControl* TBranWizardForm::FirstFocus(TTabSheet* page) const {
    // Enter must mean Next: a button of the page (a link) is reached with Tab or its letter.
    for (TControl* control : TabOrder(page))
        if (!control->IsPushButton()) return control;
    return FNext && FNext->Visible() && FNext->Enabled() ? FNext.get() : nullptr;
}

void TBranWizardForm::FocusActivePage() {
    // Typing must never go into a control of a page that is no longer shown.
    TTabSheet* page = Pages->ActivePage();
    if (!page || !Visible()) return;
    HWND focus = GetFocus();
    if (focus && (focus == page->Handle() || IsChild(page->Handle(), focus))) return;
    if (TControl* first = FirstFocus(page)) first->FocusFromKeyboard();
}

void TBranWizardForm::Navigate(TWizardDirection direction) {
    BranAssert(Pages != nullptr, "FPages = nil", kSource);
    BranAssert(Pages->ActivePage() != nullptr, "FPages.ActivePage = nil", kSource);
    TTabSheet* previous = Pages->ActivePage();
    FNavigating = true;
    struct TNavigatingGuard {
        bool& Flag;
        ~TNavigatingGuard() { Flag = false; }
    } guard{FNavigating};
    if (!CommitActiveInput()) return;
    bool allow = true;
    if (OnExitPage) OnExitPage(Pages, previous, allow, direction);
    if (!allow) return;
    TTabSheet* target = FindNeighbourPage(direction);
    if (!target) {
        EndWizard(mrOk);
        return;
    }
    std::vector<TButtonLook> looks;
    if (FLaidOut) looks = {TButtonLook(FNext.get()), TButtonLook(FCancel.get())};
    Pages->SetActivePage(target);
    try {
        UpdateNavigation();
        if (OnEnterPage) OnEnterPage(Pages, Pages->ActivePage(), direction);
        UpdateProgress();
    } catch (...) {
        // A page that failed to prepare is not shown: go back to where the user was, as it was.
        Pages->SetActivePage(previous);
        UpdateNavigation();
        for (const TButtonLook& look : looks) look.Restore();
        UpdateProgress();
        FocusActivePage();
        throw;
    }
    FocusActivePage();
}

void TBranWizardForm::EnterFirstPage() {
    UpdateNavigation();
    if (OnEnterPage) OnEnterPage(Pages, Pages->ActivePage(), TWizardDirection::wdForward);
    UpdateProgress();
    // The window is not shown yet: it takes the focus where the page put it, else where Next takes it.
    TTabSheet* page = Pages->ActivePage();
    if (!Visible() && page && !(ActiveControl() && ActiveControl()->IsChildOf(page)))
        if (TControl* first = FirstFocus(page)) SetActiveControl(first);
}

void TBranWizardForm::BackClick(TControl*) { Navigate(TWizardDirection::wdBackward); }
void TBranWizardForm::NextClick(TControl*) { Navigate(TWizardDirection::wdForward); }

void TBranWizardForm::CancelClick(TControl*) {
    if (OnCancelClick)
        OnCancelClick(FCancel.get());
    else
        EndWizard(mrCancel);
}

void TBranWizardForm::RequestClose() {
    if (FCancel)
        CancelClick(FCancel.get());
    else
        TBranForm::RequestClose();
}

void TBranWizardForm::HelpClick(TControl*) {
    if (OnHelpClick) {
        OnHelpClick(FHelp.get());
        return;
    }
    TTabSheet* active = Pages ? Pages->ActivePage() : nullptr;
    int context = active && active->HelpContext != 0 ? active->HelpContext : (Pages ? Pages->HelpContext : 0);
    Application().HelpContext(context);
}

void TBranWizardForm::DoShow() {
    try {
        if (Pages) SetupLayout();
        TBranForm::DoShow();
        if (Pages && Pages->ActivePage()) EnterFirstPage();
    } catch (EBrantel& e) {
        e.AddContext(ClassNameOf(*this), "DoShow");
        throw;
    } catch (const std::bad_alloc&) {
        throw;  // told to the user as it is: no chain of operations helps there
    } catch (const std::exception& e) {
        EBrantel wrapped(ExceptionText(e));
        wrapped.AddContext(ClassNameOf(*this), "DoShow");
        throw wrapped;
    }
}

void TBranWizardForm::DoKeyDown(WORD& key, TShiftState shift) {
    if (key == VK_PRIOR && FBack && FBack->Enabled()) FBack->Click();
    if (key == VK_NEXT && FNext && FNext->Enabled()) FNext->Click();
    TBranForm::DoKeyDown(key, shift);
}

void TBranWizardForm::SetupLayout() {
    // 1. Header height and title height follow the screen's font size. The measures below are design
    // pixels at 96 pixels per inch; the pages were scaled to the screen already, the frame around them
    // is scaled here (S).
    const int ppi = ScreenPixelsPerInch();
    const auto S = [ppi](int designPixels) { return MulDiv(designPixels, ppi, 96); };
    const bool smallFonts = ppi == 96;
    const int H = smallFonts ? 33 : std::max(42, S(33));
    const int T = smallFonts ? 24 : std::max(30, S(24));
    // 2. Start at the first page that is visible and enabled.
    Pages->SetActivePage(nullptr);
    Pages->SetActivePage(FindNeighbourPage(TWizardDirection::wdForward));
    if (!Pages->ActivePage() || FLaidOut) return;
    TTabSheet* page = Pages->ActivePage();
    // 3.
    const int L = Images ? S(155) : 0;
    // 4. The page control loses its tabs to the header and spacers.
    Pages->SetAlign(TAlign::alNone);
    Pages->SetTabHeight(1);
    Pages->SetTabStop(false);
    Pages->OnChanging = [this](TControl* sender, bool& allow) { PagesChanging(sender, allow); };
    Pages->ModifyStyle(TCS_BUTTONS);
    Place(*Pages, L - S(4), H + S(6), Pages->Width(), Pages->Height() - S(17));
    // 5.
    int W = page->Width();
    if (W <= S(432) - L) W = S(432);
    int PH = page->Height();
    int IH = Images ? S(225) : 0;
    if (PH < 2) {
        PH = 1;
    } else if (IH < PH) {
        IH = Pages->Height() - S(11);
    } else {
        Pages->SetHeight(IH + S(11));
        PH = IH;
    }
    // 6.
    SetClientSize(L + W, H + PH + S(69));
    const int CW = ClientWidth();
    // 7. Header band.
    FHeader = std::make_unique<TPanel>(this);
    Place(*FHeader, 0, 0, CW, H);
    FHeader->SetBevelOuter(TBevelCut::bvLowered);
    FHeader->SetColor(clBtnShadow);
    FHeader->SetCaption("");
    const int headerWidth = FHeader->ClientWidth();
    // 8. Page title.
    FTitle = std::make_unique<TLabel>(FHeader.get());
    FTitle->SetAutoSize(false);
    Place(*FTitle, S(18), S(4), (headerWidth - S(36)) - S(94), T);
    FTitle->SetFontWith([](TFont& f) {
        f.Color = clCaptionText;
        f.Bold = true;
        f.Size = 14;
    });
    FTitle->ShowAccelChar = false;
    FTitle->SetCaption("");
    // 9. Progress over the enabled pages.
    FProgress = std::make_unique<TBranProgressBar>(FHeader.get());
    Place(*FProgress, headerWidth - S(94), (H - S(14)) / 2, S(79), S(14));
    FProgress->SetMin(0);
    FProgress->SetMax(0);
    FProgress->Step = 1;
    FProgress->SetPosition(0);
    // 10. Spacers cover what is left of the tabs above and below the pages.
    FTopSpacer = std::make_unique<TPanel>(this);
    Place(*FTopSpacer, 0, FHeader->Height(), CW, S(13));
    FTopSpacer->SetBevelOuter(TBevelCut::bvNone);
    FTopSpacer->SetParentColor(true);
    FTopSpacer->BringToFront();
    FBottomSpacer = std::make_unique<TPanel>(this);
    Place(*FBottomSpacer, 0, Pages->Bottom(), CW, S(9));
    FBottomSpacer->SetBevelOuter(TBevelCut::bvNone);
    FBottomSpacer->SetParentColor(true);
    FBottomSpacer->BringToFront();
    // 11. Separator line.
    FSeparator = std::make_unique<TBevel>(this, TBevelShape::bsTopLine);
    Place(*FSeparator, 0, FBottomSpacer->Bottom(), CW, S(2));
    // 12. Buttons.
    const int buttonTop = FSeparator->Bottom() + S(9);
    auto makeButton = [&](int offset, std::unique_ptr<TBranButton>& button, void (TBranWizardForm::*click)(TControl*)) {
        button = std::make_unique<TBranButton>(this);
        Place(*button, CW - S(offset), buttonTop, S(100), S(24));
        button->OnClick = [this, click](TControl* sender) { (this->*click)(sender); };
    };
    makeButton(416, FBack, &TBranWizardForm::BackClick);
    FBack->SetKind(TBitBtnKind::bkLeft);
    makeButton(316, FNext, &TBranWizardForm::NextClick);
    SetNextAsNext();
    makeButton(216, FCancel, &TBranWizardForm::CancelClick);
    SetCancelAsCancel();
    makeButton(116, FHelp, &TBranWizardForm::HelpClick);
    FHelp->SetKind(TBitBtnKind::bkHelp);
    // 13. Image panel at the left.
    if (Images) {
        FFrame = std::make_unique<TShape>(this);
        Place(*FFrame, S(16), H + S(13), L - S(32), IH);
        FFrame->BrushStyle = TBrushStyle::bsClear;
        FFrame->PenColor = clBtnHighlight;
        FFrame->BringToFront();
        FGradient = std::make_unique<TBranGradient>(FFrame.get());
        Place(*FGradient, 1, 1, FFrame->Width() - 2, FFrame->Height() - 2);
        FGradient->SetBorderWidth(0);
        FGradient->SetColor(Color());
        FGradient->SetFromColor(Color());
        FImage = std::make_unique<TImage>(FGradient.get());
        Place(*FImage, (FGradient->Width() - Images->Width()) / 2, (FGradient->Height() - Images->Height()) / 2,
              Images->Width(), Images->Height());
        FImage->Transparent = true;
        FImage->Center = true;
    }
    FLaidOut = true;
}
