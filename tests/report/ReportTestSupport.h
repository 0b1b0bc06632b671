#pragma once
// A program folder of its own for each report test, the program's model, and an application item.
#include <windows.h>

#include "ModelFixture.h"
#include "Source/Common/Catalogue/ServiceItems.h"
#include "Source/Common/Catalogue/User.h"
#include "TestSupport.h"
#include "platform/Files.h"

class ReportTest : public testing::Test {
protected:
    ReportTest() {
        SetProgramFolder(Folder.Path());
        App.Name().SetAsString("Kasboek");
        App.Build().SetAsString("3.1");
    }
    ~ReportTest() override { SetProgramFolder(""); }

    // A user record as the personal-data page leaves it.
    static void FillUser(TUser& u) {
        u.LastName().SetAsString("Jansen");
        u.Initials().SetAsString("P.J.");
        u.Street().SetAsString("Dorpsstraat");
        u.HouseNumber().SetAsString("12 a");
        u.ZipCode().SetAsString("1234 AB");
        u.City().SetAsString("Utrecht");
        u.Country().SetAsString("Nederland");
        u.Email().SetAsString("p.jansen@example.nl");
        u.Tel().SetAsString("030-1234567");
        u.Fax().SetAsString("030-7654321");
        u.CallBeforeFax().SetAsString("True");
    }

    TAppModel& Model = BranModel();  // before any record is made
    TScratchFolder Folder;
    // Reports hold their application by shared reference.
    std::shared_ptr<TBranApplication> AppRef = std::make_shared<TBranApplication>();
    TBranApplication& App = *AppRef;
};
