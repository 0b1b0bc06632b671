#pragma once
// The process-wide registry of object models. Records find their descriptor here by class name.
#include <string>
#include <vector>

#include "lib/BranObject.h"

class TAppModel;
class TAppObjDesc;

class TApp : public TBranObject {
public:
    // Throws EBrantel "TApp.AddModel: invalid pointer" (user text "cannot add") for no model.
    void AddModel(TAppModel* model);
    // Throws EBrantel "TApp.RemoveModel: Not found" (user text "Model '<name>' niet gevonden").
    void RemoveModel(TAppModel* model);
    int ModelCount() const { return static_cast<int>(FModels.size()); }
    // Throws EBrantel "TApp.GetModel: Invalid index".
    TAppModel& Model(int index) const;
    // The descriptor registered for a record class in any model, or null.
    TAppObjDesc* FindObjDesc(const std::string& objClassName) const;

private:
    std::vector<TAppModel*> FModels;  // not owned: whoever builds a model frees it
};

// The one registry, created on first use.
TApp& GlobalApp();
// Frees the registry at shutdown; a failure is reported as "Freeing GLOBAL_APP went wrong".
void GlobalAppDestroy();
