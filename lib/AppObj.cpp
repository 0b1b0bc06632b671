#include "lib/AppObj.h"

#include "core/Format.h"
#include "lib/App.h"
#include "lib/AppObjTypeStack.h"
#include "lib/PropContainer.h"

namespace {
constexpr const char* kUnit = "AppObj";

[[noreturn]] void Fail(const std::string& message) { throw EBranAssertion(message, kUnit); }
}  // namespace

// --- object --------------------------------------------------------------------------------------

TAppObj::TAppObj(const std::string& objClassName) {
    FDesc = GlobalApp().FindObjDesc(objClassName);
    if (!FDesc) Fail(objClassName + ".Create: no AppObjDesc registered for " + objClassName);
    // While its descriptor is being described an object stays empty: Describe fills the fields.
    if (FDesc->IsDescribed()) CreateProps();
}

TAppObj::~TAppObj() = default;

void TAppObj::CreateProps() {
    const TAppObjDesc& desc = *FDesc;
    for (int nr = 0; nr < desc.PropCount(); ++nr) {
        const TAppPropDesc& propDesc = desc.PropDesc(nr);
        if (Field(propDesc.Location())) Fail(propDesc.Name() + " already created");
        SetField(propDesc.Location(), propDesc.CreateProp(*this));
    }
    for (int nr = 0; nr < desc.PropCount(); ++nr) {
        const TAppPropDesc& propDesc = desc.PropDesc(nr);
        TAppProp* prop = Field(propDesc.Location());
        if (!prop) Fail(propDesc.Name() + " not created");
        if (auto* container = dynamic_cast<TGenericContainerProp*>(prop)) container->CreateContent();
    }
    if (const TAppSortOrder* order = desc.GetDefaultSortOrder())
        for (const TPropRef& ref : order->OrderBy())
            if (ref.Depth() == 0 || ref[0] >= desc.PropCount() || !Field(desc.PropDesc(ref[0]).Location()))
                Fail("AppProp in default sortorder not allocated");
}

std::string TAppObj::DisplayText() const {
    int pk = FDesc->GetPKPropNr();
    return Prop(pk).AsString();
}

const std::string& TAppObj::ObjClassName() const { return FDesc->ObjClassName(); }

int TAppObj::PropCount() const { return FDesc->PropCount(); }

TAppProp* TAppObj::Field(int location) const {
    if (location < 0 || location >= static_cast<int>(FFields.size())) return nullptr;
    return FFields[static_cast<size_t>(location)].get();
}

TAppProp* TAppObj::CheckedField(int location) const {
    TAppProp* prop = Field(location);
    if (!prop) Fail("AppProp is not initialized");
    return prop;
}

void TAppObj::SetField(int location, std::unique_ptr<TAppProp> prop) {
    if (location < 0) Fail(ObjClassName() + ".SetField: invalid location");
    if (static_cast<size_t>(location) >= FFields.size()) FFields.resize(static_cast<size_t>(location) + 1);
    FFields[static_cast<size_t>(location)] = std::move(prop);
}

TAppProp& TAppObj::Prop(int propNr) const {
    if (propNr < 0 || propNr >= PropCount()) Fail(Format("%s.Prop: invalid property number %d", {ObjClassName(), propNr}));
    return *CheckedField(FDesc->PropDesc(propNr).Location());
}

int TAppObj::FindPropNr(const std::string& name) const {
    int nr = FDesc->IndexOfProp(name);
    if (nr < 0) Fail("TAppObj.FindPropNr: Can't find " + name + " in " + ObjClassName());
    return nr;
}

TPropRef TAppObj::FindPropRef(const std::string& name) const {
    int nr = FDesc->IndexOfProp(name);
    if (nr < 0) Fail("TAppObj.FindPropRef: Can't find " + name + " in " + ObjClassName());
    return TPropRef{static_cast<uint16_t>(nr)};
}

TAppProp& TAppObj::GetPropByRef(const TPropRef& ref) const {
    if (ref.Depth() == 0) Fail("PropRef has incompatible base type: " + ObjClassName());
    const TAppObj* obj = this;
    for (int level = 0;; ++level) {
        if (ref[level] >= obj->PropCount()) Fail("PropRef has incompatible base type: " + obj->ObjClassName());
        TAppProp& prop = obj->Prop(ref[level]);
        if (level == ref.Depth() - 1) return prop;
        auto* container = dynamic_cast<TGenericContainerProp*>(&prop);
        if (!container || !container->Content()) Fail("PropRef has incompatible base type: " + obj->ObjClassName());
        obj = container->Content();
    }
}

void TAppObj::Assign(const TAppObj& source) {
    if (FDesc != source.FDesc)
        throw EBrantel(ObjClassName(), "Assign", "Can't assign " + source.ObjClassName() + " to " + ObjClassName());
    for (int nr = 0; nr < PropCount(); ++nr) Prop(nr).Assign(source.Prop(nr));
}

void TAppObj::LoadFileContents() {
    for (int nr = 0; nr < PropCount(); ++nr)
        if (FDesc->PropDesc(nr).HasFlag(apfFileContent)) Prop(nr).LoadFileContent();
}

// --- location array ------------------------------------------------------------------------------

const TAppPropLocArray::TEntry& TAppPropLocArray::operator[](int propNr) const {
    if (propNr < 0 || propNr >= Count()) Fail(Format("TAppPropLocArray: property number %d out of range", {propNr}));
    return FEntries[static_cast<size_t>(propNr)];
}

// --- object descriptor ---------------------------------------------------------------------------

TAppObjDesc::TAppObjDesc(TAppModel& model, std::string descClassName, std::string objClassName,
                         uint8_t option1, uint8_t option2, std::string descName, std::string pluralName,
                         std::string singularName)
    : FModel(model),
      FClassName(std::move(descClassName)),
      FObjClassName(std::move(objClassName)),
      FDescName(std::move(descName)),
      FPluralName(std::move(pluralName)),
      FSingularName(std::move(singularName)),
      FOption1(option1),
      FOption2(option2) {}

TAppObjDesc::~TAppObjDesc() = default;

const TAppPropDesc& TAppObjDesc::PropDesc(int propNr) const {
    if (propNr < 0 || propNr >= PropCount()) Fail(Format("%s.PropDesc: invalid property number %d", {FClassName, propNr}));
    return *FPropDescs[static_cast<size_t>(propNr)];
}

int TAppObjDesc::IndexOfProp(const std::string& name) const {
    auto it = FPropIndex.find(name);
    return it == FPropIndex.end() ? -1 : it->second;
}

int TAppObjDesc::GetPKPropNr() const {
    if (FPKPropNr < 0) Fail(FClassName + ".GetPKPropNr: no Primary key in " + FDescName);
    return FPKPropNr;
}

void TAppObjDesc::Describe(TAppObj& prototype, int location, std::unique_ptr<TAppPropDesc> propDesc) {
    const std::string name = propDesc->Name();
    try {
        if (prototype.Field(location))
            Fail(std::string(propDesc->PropClassName()) + " " + FObjClassName + "." + name + " is already allocated");
        prototype.SetField(location, propDesc->CreateProp(prototype));
        propDesc->Bind(*this, prototype, location);
        AddPropDesc(std::move(propDesc));
    } catch (EBrantel& e) {
        e.AddContext(FObjClassName, "Describe", name);
        throw;
    }
}

void TAppObjDesc::AddPropDesc(std::unique_ptr<TAppPropDesc> propDesc) {
    const std::string& name = propDesc->Name();
    if (FDescribed) Fail(FClassName + ".AddPropDesc: " + FDescName + " is described already");
    if (FPropIndex.count(name)) Fail(FClassName + ".AddPropDesc: duplicate property " + name);
    for (const auto& other : FPropDescs)
        if (other->Location() == propDesc->Location())
            Fail(FClassName + ".AddPropDesc: " + name + " shares its field with " + other->Name());
    const int nr = PropCount();
    if (propDesc->HasFlag(apfPrimaryKey)) {
        if (FPKPropNr >= 0) Fail(FClassName + ".AddPropDesc: second primary key " + name);
        FPKPropNr = nr;
    }
    FPropIndex[name] = nr;
    FPropDescs.push_back(std::move(propDesc));
}

void TAppObjDesc::AddSortOrder(const std::string& name, const std::vector<std::string>& orderBy, uint8_t flags,
                               bool isDefault) {
    if (FindSortOrder(name)) Fail(FClassName + ".AddSortOrder: duplicate sortorder " + name);
    TAppOrderPropRefList orderRefs;
    for (const std::string& propName : orderBy) {
        int nr = IndexOfProp(propName);
        if (nr < 0) Fail(FClassName + ".AddSortOrder: Can't find " + propName + " in " + FObjClassName);
        if (PropDesc(nr).HasFlag(apfVolatile) && !(flags & SO_NO_INDEX))
            Fail(Format("Volatile AppProp %s can not be used in sortorder \"%s\".", {propName, name}));
        orderRefs.Add(TPropRef{static_cast<uint16_t>(nr)});
    }
    TAppInfoPropRefList selectRefs;
    for (int nr = 0; nr < PropCount(); ++nr) selectRefs.Add(TPropRef{static_cast<uint16_t>(nr)});

    const TPropRef pk{static_cast<uint16_t>(GetPKPropNr())};
    if (!orderRefs.Contains(pk) || !selectRefs.Contains(pk))
        Fail(Format("The SortPropRefList and the SelectPropRefList of sortorder \"%s\" must contain PK-appProp.",
                    {name}));
    FSortOrders.push_back(std::make_unique<TAppSortOrder>(name, std::move(orderRefs), std::move(selectRefs), flags));
    if (isDefault) FDefaultSortOrder = FSortOrders.back().get();
}

const TAppSortOrder* TAppObjDesc::FindSortOrder(const std::string& name) const {
    for (const auto& order : FSortOrders)
        if (order->Name() == name) return order.get();
    return nullptr;
}

std::vector<int> TAppObjDesc::GetPropLocPtrByPropRef(const TPropRef& ref) const {
    std::vector<int> locations;
    const TAppObjDesc* desc = this;
    for (int level = 0; level < ref.Depth(); ++level) {
        if (!desc) Fail("GetPropLocPtrByPropRef: Container property expected");
        const TAppPropLocArray::TEntry& entry = desc->PropLocs()[ref[level]];
        locations.push_back(entry.Location);
        auto* container = dynamic_cast<const TGenericContainerPropDesc*>(entry.Desc);
        desc = container ? &container->ContentDesc() : nullptr;
    }
    return locations;
}

void TAppObjDesc::DescribeAll() {
    std::unique_ptr<TAppObj> prototype = CreatePrototype();
    DescribeProps(*prototype);
}

void TAppObjDesc::FillPropLocs() {
    // Nesting is checked on the descriptors first: creating an object of a kind that (indirectly)
    // contains itself would never end.
    TAppObjTypeStack stack;
    stack.Push(*this, 0);
    CheckNesting(*this, stack);
    stack.Pop();

    std::unique_ptr<TAppObj> prototype = CreatePrototype();
    FPropLocs.Clear();
    for (int nr = 0; nr < PropCount(); ++nr) {
        const TAppPropDesc& propDesc = PropDesc(nr);
        if (!prototype->Field(propDesc.Location())) Fail(propDesc.Name() + " not created");
        FPropLocs.Add(propDesc.Location(), propDesc);
    }
}

void TAppObjDesc::CheckNesting(const TAppObjDesc& desc, TAppObjTypeStack& stack) {
    for (int nr = 0; nr < desc.PropCount(); ++nr) {
        auto* container = dynamic_cast<const TGenericContainerPropDesc*>(&desc.PropDesc(nr));
        if (!container) continue;
        stack.Push(container->ContentDesc(), container->Location());
        CheckNesting(container->ContentDesc(), stack);
        stack.Pop();
    }
}

// --- model ---------------------------------------------------------------------------------------

TAppModel::TAppModel(std::string name) : FName(std::move(name)) { GlobalApp().AddModel(this); }

TAppModel::~TAppModel() {
    try {
        GlobalApp().RemoveModel(this);
    } catch (const EBrantel&) {
        // The registry was freed before the model (shutdown order); nothing is left to take out.
    }
}

TAppObjDesc& TAppModel::AddObjDesc(std::unique_ptr<TAppObjDesc> desc) {
    if (!desc) Fail("TAppModel.AddObjDesc: invalid pointer");
    const std::string key = desc->ObjClassName();
    // Records find their descriptor by class name across all models, so a name is taken once.
    if (FObjDescs.count(key) || GlobalApp().FindObjDesc(key))
        Fail("TAppModel.AddObjDesc: " + key + " already exists in another model.");
    TAppObjDesc& added = *desc;
    FObjDescs.emplace(key, std::move(desc));
    return added;
}

TAppObjDesc* TAppModel::FindObjDesc(const std::string& objClassName) const {
    auto it = FObjDescs.find(objClassName);
    return it == FObjDescs.end() ? nullptr : it->second.get();
}

std::vector<TAppObjDesc*> TAppModel::ObjDescs() const {
    std::vector<TAppObjDesc*> descs;
    for (const auto& [key, desc] : FObjDescs) descs.push_back(desc.get());
    return descs;
}

std::unique_ptr<TAppModel> BuildModel(const std::string& name, std::initializer_list<TAppObjDescClass> descClasses) {
    auto model = std::make_unique<TAppModel>(name);
    for (const TAppObjDescClass& descClass : descClasses) model->AddObjDesc(descClass(*model)).DescribeAll();
    std::vector<TAppObjDesc*> descs = model->ObjDescs();
    for (TAppObjDesc* desc : descs) desc->MarkDescribed();
    for (TAppObjDesc* desc : descs) desc->FillPropLocs();
    for (TAppObjDesc* desc : descs) desc->DefineSortOrders();
    return model;
}
