#pragma once
// TFileVersionInfo: the texts of a file's version resource plus its size and last-write date.
#include <cstdint>
#include <string>

#include "lib/BranObject.h"

class TFileVersionInfo : public TBranObject {
public:
    // True when the file has a version resource. A bare name is looked for in the system folder.
    // Size and date are those of the file found (size 0 and the date as it was when there is none);
    // without a version resource every text is cleared.
    bool LoadFromFile(const std::string& name);

    std::string CompanyName;
    std::string FileDescription;
    std::string FileVersion;
    std::string InternalName;
    std::string LegalCopyright;
    std::string OriginalFilename;
    std::string ProductName;
    std::string ProductVersion;
    int64_t FileSize = 0;  // bytes
    std::string FileDate;  // last write, user's short date and long time
};
