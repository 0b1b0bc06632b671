#pragma once
// TDirectXInfo ("DirectX"): the installed DirectX version and the version, description, date and
// size of its component files and of the hardware driver files it knows.
#include <array>
#include <string>

#include "Source/Common/TechInfo/TechInfo.h"

class TFileVersionInfo;

extern const std::array<const char*, 37> DirectXComponentFiles;
extern const std::array<const char*, 139> DirectXDriverFiles;

// "NAME : version  description  Date: date  Size: n bytes" of a file whose version was read.
std::string DirectXFileEntry(const std::string& name, const TFileVersionInfo& version);
// "NAME : Geen versie-informatie  Date: date  Size: n bytes" of a file that is there without a
// version resource: a replaced or damaged component must not pass for a missing one.
std::string DirectXUnversionedEntry(const std::string& name, const TFileVersionInfo& file);

class TDirectXInfo : public TTechInfo {
public:
    TDirectXInfo();

    std::string DirectXVersion;
    bool DirectXInstalled = false;
    TStringList ComponentEntries;  // every component; "NAME : File not found" when it is not there
    TStringList DriverEntries;     // only the drivers present with a version

protected:
    void GatherInfo() override;
    const TStringList& BuildInfoText() override;
};
