#include "platform/gui/UpDown.h"

#include <commctrl.h>

TUpDown::TUpDown(TControl* parent) : TControl(parent) {
    CreateStockWindow(UPDOWN_CLASSW, WS_VISIBLE | UDS_ARROWKEYS);
    SendMessageW(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(-1000), 1000);
}

bool TUpDown::Notify(NMHDR* header, LRESULT& result) {
    if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    auto* change = reinterpret_cast<NMUPDOWN*>(header);
    if (OnStep && change->iDelta != 0) OnStep(this, change->iDelta > 0 ? 1 : -1);
    result = TRUE;  // the position itself does not matter
    return true;
}
