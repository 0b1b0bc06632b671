#pragma once
// Push button. A kind gives the button its usual caption, glyph and modal result in one go.
#include "platform/gui/Control.h"

enum class TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkClose, bkLeft, bkRight, bkListAdd, bkListDelete };

class TButton : public TControl {
public:
    explicit TButton(TControl* parent, const std::string& caption = {});
    ~TButton() override;

    // The button Enter presses on its form (drawn with the heavy border).
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // The button Esc presses on its form.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value);
    // Set on the form when the button is clicked; mrNone leaves the form open.
    int ModalResult = 0;

    TBitBtnKind Kind() const { return FKind; }
    // Sets caption and modal result of the kind (bkOK: "OK" and mrOk, ...). The Esc role comes with
    // bkCancel and bkClose.
    virtual void SetKind(TBitBtnKind kind);

    void Click() override;
    bool IsPushButton() const override { return true; }
    void ShowAsDefault(bool value) override;

protected:
    bool Command(WORD code) override;

private:
    TBitBtnKind FKind = TBitBtnKind::bkCustom;
    bool FDefault = false;
    bool FCancel = false;
};

// The caption a button of a kind shows ("&Volgende", "Annuleren", ...).
std::string KindCaption(TBitBtnKind kind);
