#pragma once
// The maker's newsletter form script: one HTTP GET whose query carries every field, answered with a
// small INI file ("Script.ini") that says whether the script succeeded. The news subscription and
// the address change both report through it.
#include <string>
#include <vector>

// What one request says: the action ("abonneren", "annuleren", "wijzigen"), the name, the interest
// categories (their keys are sent with "=1") and the new and old e-mail address.
struct TWebFormRequest {
    std::string Action;
    std::string Name;
    std::vector<std::string> Categories;
    std::string EmailNew;
    std::string EmailOld;
};

// A value as a browser's form sends it: the Windows-1252 bytes of the text, letters, digits and
// "*-._" as they are, a blank as "+", every other byte as "%XX". The script has always received the
// text's Windows-1252 bytes with blanks as "+"; now a "&", "=", "#", "%" or "+" in a name can no
// longer end the value early or add a field.
std::string EncodeFormValue(const std::string& text);

// The script's address with the query, keys in the order the script knows: Action, Name, EmailOld,
// EmailNew, the categories, Id, Version and Language (the last two from the shared service settings).
std::string WebFormUrl(const TWebFormRequest& request);

// True when the answer in resultFile says "geslaagd" (section "e-nieuws") is not 0. The file is
// deleted afterwards, so that it can never pass for the answer to a later request.
bool ReadFormResult(const std::string& resultFile);

// Sends the request in the small web-form download window (caption: empty for its own) and reads
// the answer from "Script.ini" in the folder of programPath. True only when the script reported
// success; never throws.
bool PostWebForm(const std::string& programPath, const TWebFormRequest& request, const std::string& caption = {});
