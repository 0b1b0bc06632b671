#pragma once
// The library's form base: every window of the program derives from it.
#include "platform/gui/Form.h"

class TBranForm : public TForm {
public:
    using TForm::TForm;
};
