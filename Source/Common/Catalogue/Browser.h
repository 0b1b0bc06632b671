#pragma once
// The user's web browser, found the way the shell opens web pages: the "open" command of the file
// types registered for .HTM, .HTML, .SHTML and .SHTM.
#include <string>

// The first open command registered for the four extensions, with "%1"-style placeholders removed;
// empty when there is none.
std::string BrowserCommand();

// Removes every '%' together with the character after it (the last character is left alone).
std::string CleanBrowserCommand(const std::string& command);

// Whether the command names an existing program: a quoted command is cut at its closing quote,
// an unquoted one is taken whole (so an unquoted command with arguments counts as no browser).
bool IsBrowserPresent(const std::string& command);
bool BrowserPresent();

// Opens the address in the browser, maximised; true when the shell started it.
bool OpenInBrowser(const std::string& address);
