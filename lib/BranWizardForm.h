#pragma once
// The base of the program's wizards. A derived form designs its steps as the tab sheets of one page
// control and names it in Pages; on the first show this class hides the tabs, adds a header band
// with the page title and a segmented progress bar, the buttons Back, Next (Finish on the last
// page), Cancel (or Close) and Help below a separator, and optionally an image panel at the left.
// Pages change only through Navigate, which skips pages whose tab is hidden or that are disabled and
// asks OnExitPage before leaving a page.
#include <memory>

#include "lib/BranForm.h"
#include "platform/gui/PageControl.h"

class TBevel;
class TBranButton;
class TBranGradient;
class TBranProgressBar;
class TImage;
class TImageList;
class TLabel;
class TPanel;
class TShape;

enum class TWizardDirection { wdForward = 0, wdBackward = 1 };

using TEnterPageEvent = std::function<void(TControl* aSender, TTabSheet* aTabSheet, TWizardDirection aDirection)>;
using TExitPageEvent =
    std::function<void(TControl* aSender, TTabSheet* aTabSheet, bool& aAllowChange, TWizardDirection aDirection)>;
using TImageRequestEvent = std::function<void(TControl* aSender, TTabSheet* aTabSheet, int& aIndex)>;

class TBranWizardForm : public TBranForm {
public:
    TBranWizardForm();
    ~TBranWizardForm() override;

    // Called with the Cancel button instead of the default cancel action.
    TNotifyEvent OnCancelClick;
    TEnterPageEvent OnEnterPage;
    TExitPageEvent OnExitPage;
    // Called with the Help button instead of opening the page's help topic.
    TNotifyEvent OnHelpClick;
    TImageRequestEvent OnImageRequest;
    // The page control whose tab sheets are the wizard's pages. Required.
    TPageControl* Pages = nullptr;
    // Optional: one picture per page in a panel at the left.
    TImageList* Images = nullptr;

    bool Navigating() const { return FNavigating; }
    bool LaidOut() const { return FLaidOut; }

    // Page-changing handler of the page control: only the wizard's own navigation may change pages.
    virtual void PagesChanging(TControl* sender, bool& allowChange);
    virtual void SetupLayout();
    virtual void EnterFirstPage();
    virtual TTabSheet* FindNeighbourPage(TWizardDirection direction);
    virtual void Navigate(TWizardDirection direction);
    virtual void UpdateNavigation();
    virtual void UpdateProgress();
    // Enabled pages before the page, or all enabled pages when page is nullptr.
    virtual int CountEnabledPages(TTabSheet* page);
    virtual void BackClick(TControl* sender);
    virtual void NextClick(TControl* sender);
    virtual void CancelClick(TControl* sender);
    virtual void HelpClick(TControl* sender);
    // Every other way of closing the wizard (title bar, Alt+F4, closing the program, the end of the
    // Windows session) is its Cancel button: whatever Cancel saves, abandons or asks happens for those too.
    void RequestClose() override;

    void SetCancelAsCancel();
    void SetCancelAsClose();
    void SetNextAsNext();
    void SetNextAsFinish();

    // The parts the layout step builds (nullptr before it ran).
    TPanel* HeaderPanel() const { return FHeader.get(); }
    TLabel* TitleLabel() const { return FTitle.get(); }
    TBranProgressBar* ProgressBar() const { return FProgress.get(); }
    TPanel* TopSpacer() const { return FTopSpacer.get(); }
    TPanel* BottomSpacer() const { return FBottomSpacer.get(); }
    TBevel* Separator() const { return FSeparator.get(); }
    TBranButton* BackButton() const { return FBack.get(); }
    TBranButton* NextButton() const { return FNext.get(); }
    TBranButton* WizardCancelButton() const { return FCancel.get(); }
    TBranButton* HelpButton() const { return FHelp.get(); }
    TShape* ImageFrame() const { return FFrame.get(); }
    TBranGradient* ImageGradient() const { return FGradient.get(); }
    TImage* PageImage() const { return FImage.get(); }

protected:
    void DoShow() override;
    void DoKeyDown(WORD& key, TShiftState shift) override;

private:
    void EndWizard(int result);
    // Accepts the input of the focused control as leaving it would; false when it was refused.
    bool CommitActiveInput();
    // Moves the focus onto the active page when it is anywhere else.
    void FocusActivePage();
    // Where a page starts: its first field (no button), or Next when it has none.
    TControl* FirstFocus(TTabSheet* page) const;

    bool FNavigating = false;
    bool FLaidOut = false;
    std::unique_ptr<TPanel> FHeader;
    std::unique_ptr<TLabel> FTitle;
    std::unique_ptr<TBranProgressBar> FProgress;
    std::unique_ptr<TPanel> FTopSpacer, FBottomSpacer;
    std::unique_ptr<TBevel> FSeparator;
    std::unique_ptr<TBranButton> FBack, FNext, FCancel, FHelp;
    std::unique_ptr<TShape> FFrame;
    std::unique_ptr<TBranGradient> FGradient;
    std::unique_ptr<TImage> FImage;
};
