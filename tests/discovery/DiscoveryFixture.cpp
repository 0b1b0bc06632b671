#include "DiscoveryFixture.h"

#include "Source/Common/TechInfo/TechInfo.h"
#include "platform/Files.h"

std::vector<std::string> CategoryIds(const TServiceItem& item) {
    std::vector<std::string> ids;
    for (const TTechInfo* info : item.TechInfos()) ids.push_back(info->Identifier());
    return ids;
}

std::vector<std::string> Available(const std::vector<std::string>& wanted) {
    std::vector<std::string> ids;
    for (const std::string& id : wanted)
        if (const TTechInfoCategory* category = FindTechInfoCategory(id); category && category->Create)
            ids.push_back(category->Identifier);
    return ids;
}

TLegacyIni::TLegacyIni(const std::optional<std::string>& text) : FPath(GetWindowsFolder() + "\\BRANTEL.INI") {
    if (FileExists(FPath)) FSaved = ReadFileBytes(FPath);
    FileDelete(FPath);
    if (text) WriteFileBytes(FPath, *text);
}

TLegacyIni::~TLegacyIni() {
    FileDelete(FPath);
    if (FSaved) WriteFileBytes(FPath, *FSaved);
}
