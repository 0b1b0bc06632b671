#pragma once
// Service items: the things the program offers services for. Every installed application of the
// maker is a TBranApplication; the one general item "(Algemeen)" stands for the PC as a whole and
// owns the technical-information collectors that every other item refers to.
//
//   TServiceItem                 common properties and the item's list of collectors
//   ├─ TBranApplication          an installed application, listed as "Name (Build)"
//   │  ├─ TUnknownApplication    the entry "Anders..." for an application not in the list
//   │  └─ TAddedApplication      an application the user named, or marked as added
//   └─ TGeneralServiceItem       "(Algemeen)", one per process (GetGeneralServiceItem)
#include <memory>
#include <string>
#include <vector>

#include "Source/Common/TechInfo/TechInfo.h"
#include "lib/AppObj.h"
#include "lib/PropDate.h"
#include "lib/PropString.h"

class TServiceItemDesc : public TAppObjDesc {
public:
    explicit TServiceItemDesc(TAppModel& model);
    void DefineSortOrders() override;

protected:
    std::unique_ptr<TAppObj> CreatePrototype() const override;
    void DescribeProps(TAppObj& prototype) override;
};

class TServiceItem : public TAppObj, public ILogFileSource {
public:
    // Field locations of the properties.
    enum TField {
        fName, fHelpFile, fReadmeFile, fBuild, fUninstall, fHelpdeskURL, fShopURL, fReleaseDate, fInstallLog,
        fProgramLog, fHelpDeskEmailAddress, fHelpDeskPostAddress, fHelpDeskFaxNumber, fHelpDeskZipcode,
        fHelpDeskDescription
    };
    TServiceItem();

    // The value of Name.
    std::string DisplayText() const override;

    TStringProp& Name() const { return FieldAs<TStringProp>(fName); }
    TStringProp& HelpFile() const { return FieldAs<TStringProp>(fHelpFile); }
    TStringProp& ReadmeFile() const { return FieldAs<TStringProp>(fReadmeFile); }
    TStringProp& Build() const { return FieldAs<TStringProp>(fBuild); }
    TStringProp& Uninstall() const { return FieldAs<TStringProp>(fUninstall); }
    TStringProp& HelpdeskURL() const { return FieldAs<TStringProp>(fHelpdeskURL); }
    TStringProp& ShopURL() const { return FieldAs<TStringProp>(fShopURL); }
    TDateProp& ReleaseDate() const { return FieldAs<TDateProp>(fReleaseDate); }
    TStringProp& InstallLog() const { return FieldAs<TStringProp>(fInstallLog); }
    TStringProp& ProgramLog() const { return FieldAs<TStringProp>(fProgramLog); }
    std::string InstallLogFile() const override { return InstallLog().AsString(); }
    std::string ProgramLogFile() const override { return ProgramLog().AsString(); }
    TStringProp& HelpDeskEmailAddress() const { return FieldAs<TStringProp>(fHelpDeskEmailAddress); }
    TStringProp& HelpDeskPostAddress() const { return FieldAs<TStringProp>(fHelpDeskPostAddress); }
    TStringProp& HelpDeskFaxNumber() const { return FieldAs<TStringProp>(fHelpDeskFaxNumber); }
    TStringProp& HelpDeskZipcode() const { return FieldAs<TStringProp>(fHelpDeskZipcode); }
    TStringProp& HelpDeskDescription() const { return FieldAs<TStringProp>(fHelpDeskDescription); }

    // The collectors relevant for this item, in order: references into the general item's list.
    TTechInfoRefs& TechInfos() { return FTechInfos; }
    const TTechInfoRefs& TechInfos() const { return FTechInfos; }

private:
    TTechInfoRefs FTechInfos;
};

class TBranApplication : public TServiceItem {
public:
    // Joins the general item's application list; the destructor leaves it again.
    TBranApplication();
    ~TBranApplication() override;
    // Name and build: "Name (Build)".
    std::string DisplayText() const override;
};

class TUnknownApplication : public TBranApplication {
public:
    TUnknownApplication();  // Name "Anders..."
    std::string DisplayText() const override;
};

class TAddedApplication : public TBranApplication {
public:
    // Empty, to be filled from the registry.
    TAddedApplication() = default;
    // Named by the user: Build "???" and every collector of the general item.
    explicit TAddedApplication(const std::string& typedName);
};

class TGeneralServiceItem : public TServiceItem {
public:
    TGeneralServiceItem();  // Name "(Algemeen)", one collector of each kind
    ~TGeneralServiceItem() override;

    // The collectors, owned here, in category order.
    const TTechInfoList& Collectors() const { return FCollectors; }
    // Every TBranApplication that exists now (not owned).
    const std::vector<TBranApplication*>& Applications() const { return FApplications; }

private:
    friend class TBranApplication;
    TTechInfoList FCollectors;
    std::vector<TBranApplication*> FApplications;
};

// The one general item, created on the first call (the model must be built by then).
TGeneralServiceItem& GetGeneralServiceItem();
// The general item for those that hold items by shared reference. It lives until the program ends,
// so the reference owns nothing.
std::shared_ptr<TServiceItem> SharedGeneralServiceItem();

// Appends to the item's list every collector of the general item whose identifier equals the
// given one without regard to case; an unknown identifier adds nothing.
void AddTechInfoByIdentifier(TServiceItem& item, const std::string& identifier);
