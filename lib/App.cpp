#include "lib/App.h"

#include <algorithm>
#include <memory>

#include "core/Exceptions.h"
#include "core/Format.h"
#include "lib/AppObj.h"

namespace {
std::unique_ptr<TApp>& GlobalAppInstance() {
    static std::unique_ptr<TApp> app;
    return app;
}
}  // namespace

void TApp::AddModel(TAppModel* model) {
    if (!model) throw EBrantel("TApp", "AddModel", "invalid pointer", "cannot add");
    FModels.push_back(model);
}

void TApp::RemoveModel(TAppModel* model) {
    auto it = std::find(FModels.begin(), FModels.end(), model);
    if (it == FModels.end())
        throw EBrantel("TApp", "RemoveModel", "Not found",
                       Format("Model '%s' niet gevonden", {model ? model->Name() : std::string()}));
    FModels.erase(it);
}

TAppModel& TApp::Model(int index) const {
    if (index < 0 || index >= ModelCount()) throw EBrantel("TApp", "GetModel", "Invalid index");
    return *FModels[static_cast<size_t>(index)];
}

TAppObjDesc* TApp::FindObjDesc(const std::string& objClassName) const {
    for (TAppModel* model : FModels)
        if (TAppObjDesc* desc = model->FindObjDesc(objClassName)) return desc;
    return nullptr;
}

TApp& GlobalApp() {
    auto& app = GlobalAppInstance();
    if (!app) app = std::make_unique<TApp>();
    return *app;
}

void GlobalAppDestroy() {
    try {
        GlobalAppInstance().reset();
    } catch (const std::exception& e) {
        throw EBrantel("Freeing GLOBAL_APP went wrong: " + ExceptionText(e));
    }
}
