#pragma once
// A report folder of its own for each delivery test, and the folder where tests leave archives and
// mails for the independent readers of tests/checks.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "FloppyDrive.h"
#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "Source/Common/Helpdesk/HelpdeskReport.h"
#include "Source/Common/Helpdesk/ReportDelivery.h"
#include "TestSupport.h"
#include "core/StrConv.h"
#include "lib/ZipVolume.h"
#include "platform/Files.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Messages.h"

// Bytes that deflate cannot shrink much, the same on every run.
inline std::string NoiseBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 23);
    }
    return bytes;
}

// The folder named by BRAN_ARTIFACT_DIR (with trailing backslash), or empty.
inline std::string ArtifactFolder() {
    const std::string folder = EnvironmentValue("BRAN_ARTIFACT_DIR");
    return folder.empty() ? folder : IncludeTrailingBackslash(folder);
}

class DeliveryTest : public testing::Test {
protected:
    DeliveryTest() {
        SetProgramFolder(Folder.Path());
        App.Name().SetAsString("Kasboek");
        App.Build().SetAsString("3.1");
        ForceDirectories(Folder / "Reports\\Kasboek\\Report01");
        Report = std::make_unique<THelpdeskReport>("Reports\\Kasboek\\Report01", AppRef);
    }
    ~DeliveryTest() override {
        SetZipVolumeHook({});
        SetFileDialogHook({});
        SetPrintDialogHook({});
        SetProgramFolder("");
    }

    std::string ReportFolder() const { return Report->Folder() + "\\"; }
    // A file in the report folder with the given attributes.
    std::string AddReportFile(const std::string& name, const std::string& bytes, DWORD attributes = 0) {
        std::string path = ReportFolder() + name;
        WriteFileBytes(path, bytes);
        if (attributes) SetFileAttributesW(Widen(path).c_str(), attributes);
        return path;
    }
    // Archives in the floppy's folder go onto its disks.
    static void UseFloppies(TFloppyDrive& floppy) {
        SetZipVolumeHook([&floppy](const std::string&) { return floppy.Volume(); });
    }

    TAppModel& Model = BranModel();
    TScratchFolder Folder;
    std::shared_ptr<TBranApplication> AppRef = std::make_shared<TBranApplication>();
    TBranApplication& App = *AppRef;
    std::unique_ptr<THelpdeskReport> Report;
    TReportDelivery Delivery;
};
