#pragma once
// The program's model, built once for the whole test run: the general service item lives until
// the process ends and keeps referring to the descriptors of the model it was created with.
#include "Source/Common/Shell/BranModel.h"
#include "lib/App.h"

inline TAppModel& BranModel() {
    static std::unique_ptr<TAppModel> model = BuildBranServiceModel();
    return *model;
}
