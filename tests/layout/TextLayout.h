#pragma once
// What a user would see wrong with the text of a shown window: a label whose text does not fit its
// bounds, is cut off by a parent, is covered by a window above it or runs under a field or button; a
// check box or radio button too narrow for its caption; a list view entry whose text is cut; a status
// bar higher than its line of text. Each fault is one line naming the control by its caption.
#include <string>
#include <vector>

class TControl;
class TForm;

std::vector<std::string> TextLayoutFaults(TForm& form);
// The control's name, caption and class, for a fault.
std::string Describe(const TControl& control);
