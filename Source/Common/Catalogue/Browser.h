#pragma once
// The user's web browser, found the way the shell opens web pages: the "open" command of the file
// types registered for .HTM, .HTML, .SHTML and .SHTM.
#include <optional>
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

// The address as the browser gets it, one argument that cannot pass switches: an http or https
// address (one without a scheme is taken as http), in double quotes, with blanks, quotes and control
// characters percent-encoded. Empty for an empty address (the browser opens its own page); nothing
// for an address of another kind ("file:", "javascript:", ...), which is never opened.
std::optional<std::string> BrowserArgument(const std::string& address);

// Opens the address in the browser, maximised; true when the shell started it.
bool OpenInBrowser(const std::string& address);
