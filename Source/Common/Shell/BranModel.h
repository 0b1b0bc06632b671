#pragma once
// The program's one object model, "Bran-Service", with the descriptors of its records.
#include <memory>

#include "lib/AppObj.h"

// Built once by the main window, which owns it for the rest of the run.
std::unique_ptr<TAppModel> BuildBranServiceModel();
