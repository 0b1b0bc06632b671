#pragma once
// A label that shows one entry of the program file's version resource, e.g. "Versie: 3.0.0.1".
#include <string>

#include "platform/gui/Label.h"

enum TBranVersionResources {
    VR_COMPANY_NAME, VR_FILE_DESCRIPTION, VR_FILE_VERSION, VR_INTERNAL_NAME, VR_LEGAL_COPYRIGHT,
    VR_ORIGINAL_FILENAME, VR_PRODUCT_NAME, VR_PRODUCT_VERSION, VR_COMMENTS, VR_FLAGS
};

class TBranVersionLabel : public TLabel {
public:
    explicit TBranVersionLabel(TControl* parent);

    TBranVersionResources VersionResource() const { return FVersionResource; }
    // Also takes the entry's key and its caption as prefix.
    void SetVersionResource(TBranVersionResources resource);
    const std::string& VersionResourceKey() const { return FVersionResourceKey; }
    // A key set on its own also becomes the prefix (until a resource is chosen again).
    void SetVersionResourceKey(const std::string& key);
    const std::string& InfoPrefix() const { return FInfoPrefix; }
    void SetInfoPrefix(const std::string& prefix);
    bool ShowInfoPrefix() const { return FShowInfoPrefix; }
    void SetShowInfoPrefix(bool show);
    // Language and code page as 8 hexadecimal digits; "-1" takes the file's first translation and
    // then holds its digits.
    const std::string& LangCharset() const { return FLangCharset; }
    void SetLangCharset(const std::string& langCharset);

    // The file whose version resource is shown: the running program unless a test names another.
    std::string FileName;

    // Reads the entry again and shows it.
    void UpdateText();

private:
    std::string ReadValue();
    TBranVersionResources FVersionResource = VR_FILE_VERSION;
    std::string FVersionResourceKey = "FileVersion";
    std::string FInfoPrefix = "Versie:";
    bool FShowInfoPrefix = true;
    std::string FLangCharset = "-1";
};
