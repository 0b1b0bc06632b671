#pragma once
// What a user would see wrong with the text of a shown window: a label whose text does not fit its
// bounds, is cut off by a parent or is covered by a window above it; a check box or radio button
// too narrow for its caption. Each fault is one line naming the control by its caption.
#include <string>
#include <vector>

class TForm;

std::vector<std::string> TextLayoutFaults(TForm& form);
