#pragma once
// What a keyboard user would find wrong with a shown window. Each fault is one line.
#include <string>
#include <vector>

class TForm;

// Two controls (or a control and a menu of the menu bar) underline the same letter, so that Alt
// with it reaches the first only; or a label underlines a letter that leads to no field.
std::vector<std::string> ShortcutLetterFaults(TForm& form);
// Tab goes back to the left along a row: a control comes later in the tab order than one to its
// right on the same line.
std::vector<std::string> TabOrderFaults(TForm& form);
