#include "Source/Common/TechInfo/DirectXInfo.h"

#include <windows.h>

#include <set>

#include "Source/Common/TechInfo/FileVersionInfo.h"
#include "core/Format.h"
#include "core/StrConv.h"
#include "platform/Files.h"
#include "platform/RegistryValues.h"

const std::array<const char*, 37> DirectXComponentFiles = {
    "DDRAW.DLL",    "DDRAW16.DLL",  "DDHELP.EXE",   "DSOUND.DLL",   "DSOUND.VXD",   "VMCPD.X86",    "VMCPD.NEC",
    "DINPUT.DLL",   "DINPUT.VXD",   "VJOYD.VXD",    "MSANALOG.VXD", "JOY.CPL",      "DPLAYX.DLL",   "DPMODEMX.DLL",
    "DPWSOCKX.DLL", "DPLAYSVR.EXE", "D3DRM.DLL",    "D3DXOF.DLL",   "D3DPMESH.DLL", "D3DIM.DLL",    "D3DHALF.DLL",
    "D3DRAMPF.DLL", "D3DRGBF.DLL",  "D3DRG8F.DLL",  "D3DRG16F.DLL", "D3DRG24F.DLL", "D3DRG32F.DLL", "D3DRM8F.DLL",
    "D3DRM16F.DLL", "D3DRM24F.DLL", "D3DRM32F.DLL", "D3DRGBXF.DLL", "D3DRG8X.DLL",  "D3DRG55X.DLL", "D3DRG56X.DLL",
    "D3DRG24X.DLL", "D3DRG32X.DLL",
};

const std::array<const char*, 139> DirectXDriverFiles = {
    "ATI.VXD",      "ATI_D3D.DLL",  "ATI_DD16.DLL", "ATI_DD32.DLL", "ATI_HAL.DLL",  "ATI_M64.DRV",  "ATI_M64.VXD",
    "ATI_VPE.DLL",  "ATIM32.DLL",   "ATIM32.DRV",   "ATIM64.DLL",   "ATIM64.DRV",   "ATIM8.DRV",    "AZT16.VXD",
    "AZT16C.DRV",   "AZT16W.DRV",   "CHIPMM.DRV",   "CHIPMM.DLL",   "CHIPMM.VXD",   "CHIPS.DLL",    "CHIPS.DRV",
    "CHIPS.VXD",    "CIRRUS.DLL",   "CIRRUS.DRV",   "CIRRUS.VXD",   "CIRRUSLG.DLL", "CIRRUSLG.DRV", "CIRRUSLG.VXD",
    "CIRRUSMM.DLL", "CIRRUSMM.DRV", "CLD3D.DLL",    "CPQ_BB.DLL",   "CSPMAN.DLL",   "CT_65550.DLL", "CWBAUDIO.BIN",
    "CWBAUDIO.DRV", "CWBAUDIX.VXD", "CWBFM.DRV",    "CWBJOY.VXD",   "CWBMIDI.DRV",  "CWBMIDI.VXD",  "CWBPCPLE.DLL",
    "DX_VER.DLL",   "ES1488.DRV",   "ES1488.VXD",   "ES1688.DRV",   "ES1688.VXD",   "ES1788.DRV",   "ES1788.VXD",
    "ES488.DRV",    "ES488.VXD",    "ES688.DRV",    "ES688.VXD",    "ESFM.DRV",     "ESSFM.DRV",    "ESSMPORT.DRV",
    "ESSMPU.DRV",   "ET6000.DLL",   "ET6000.DRV",   "ET6000.VXD",   "F3DRIVER.VXD", "F3DSOUND.VXD", "F3MIDI.DRV",
    "F3VRTSB.VXD",  "F3WAVMIX.DRV", "FINDMVI.DLL",  "FRAMEBUF.DLL", "FRAMEBUF.DRV", "I128.DLL",     "I128.DRV",
    "I128.VXD",     "ISNA.DLL",     "ISS3_765.DLL", "MGAMIL.DLL",   "MGAMIL.DRV",   "MGAMIL.VXD",   "MM3DFX.DRV",
    "MM3DFX16.DLL", "MM3DFX32.DLL", "MM3DFX.VXD",   "MMMIXER.DLL",  "MSJSTICK.DRV", "MSMPU401.DRV", "MSOP1.DRV",
    "MSSBLST.DRV",  "MSSBLST.VXD",  "MSSNDSYS.DRV", "MSSNDSYS.VXD", "MVI514MX.DRV", "MVIWAVE.DRV",  "MVMIXER.DRV",
    "MVPAS.VXD",    "MVPROAUD.DRV", "NEOM.DLL",     "NEOM.DRV",     "NEOM.VXD",     "OAK.VXD",      "PA3DMXD.DRV",
    "PMEDIA.DRV",   "PMEDIA.VXD",   "PMEDIA32.DLL", "REND.DRV",     "REND.VXD",     "REND32.DLL",   "RENDUC.DLL",
    "S3.DLL",       "S3.DRV",       "S3.VXD",       "S3_CP3CQ.DLL", "S3M65.DLL",    "S3M65.DRV",    "S3M65.VXD",
    "S3MM.DLL",     "S3MM.DRV",     "S3V.DLL",      "S3V.DRV",      "SB16.VXD",     "SB16SND.DRV",  "SBAWE.VXD",
    "SBAWE32.DRV",  "SBFM.DRV",     "SUPERVGA.DRV", "TRID_PCI.DLL", "TRID_BIO.DLL", "TRID_PCI.DRV", "TRID_PCI.VXD",
    "TSD32.DLL",    "TSENG.DLL",    "TSENG.DRV",    "TSENG.VXD",    "VIDEO7.VXD",   "VGA.DRV",      "VMVID.VXD",
    "VPASD.VXD",    "VWSTREAM.VXD", "WD.DLL",       "WD.DRV",       "WD.VXD",       "WSTREAM.DLL",
};

std::string DirectXFileEntry(const std::string& name, const TFileVersionInfo& version) {
    return Format("%s : %s  %s  Date: %s  Size: %d bytes",
                  {name, version.FileVersion, version.FileDescription, version.FileDate, version.FileSize});
}

std::string DirectXUnversionedEntry(const std::string& name, const TFileVersionInfo& file) {
    return Format("%s : Geen versie-informatie  Date: %s  Size: %d bytes", {name, file.FileDate, file.FileSize});
}

TDirectXInfo::TDirectXInfo() : TTechInfo("DirectX") {}

void TDirectXInfo::GatherInfo() {
    ComponentEntries.clear();
    DriverEntries.clear();
    DirectXVersion = ReadStringOrEmpty(HKEY_LOCAL_MACHINE, "SOFTWARE\\MICROSOFT\\DirectX", "Version");
    DirectXInstalled = !Trim(DirectXVersion).empty();
    if (!DirectXInstalled) return;

    // Asking for the version of a file that is not there costs the platform more than one listing
    // of the system folder; most of these files are long gone from today's systems.
    std::set<std::string> present;
    for (const TSearchRec& file : FindFiles(GetSystemFolder() + "\\*.*", faAnyFile & ~faDirectory))
        present.insert(UpperCase(file.Name));
    TFileVersionInfo version;
    auto load = [&](const char* file) { return present.count(UpperCase(file)) && version.LoadFromFile(file); };
    for (const char* file : DirectXComponentFiles) {
        if (load(file))
            ComponentEntries.push_back(DirectXFileEntry(file, version));
        else if (present.count(UpperCase(file)))
            ComponentEntries.push_back(DirectXUnversionedEntry(file, version));
        else
            ComponentEntries.push_back(Format("%s : File not found", {file}));
    }
    for (const char* file : DirectXDriverFiles)
        if (load(file)) DriverEntries.push_back(DirectXFileEntry(file, version));
}

const TStringList& TDirectXInfo::BuildInfoText() {
    if (!DirectXInstalled) {
        Lines = {LabelOnlyLine("%s DirectX is niet geinstalleerd")};
        return Lines;
    }
    Lines = {LabelledLine("%s DirectX Versie(registry):%s %s", DirectXVersion), RtfPar,
             LabelOnlyLine("%s DirectX Componenten")};
    for (const std::string& entry : ComponentEntries) Lines.insert(Lines.end(), {RtfPar, TextLine(entry)});
    Lines.push_back(LabelOnlyLine("%s DirectX Drivers"));
    for (const std::string& entry : DriverEntries) Lines.insert(Lines.end(), {RtfPar, TextLine(entry)});
    return Lines;
}
