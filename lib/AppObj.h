#pragma once
// The object model: records (TAppObj) described by an object descriptor (TAppObjDesc) that lists
// their properties, grouped in a model (TAppModel) that the global registry (lib/App.h) knows.
//
// A record class pairs with a descriptor class:
//   class TUser : public TAppObj { ... TUser() : TAppObj("TUser") {} ... };
//   class TUserDesc : public TAppObjDesc {
//       std::unique_ptr<TAppObj> CreatePrototype() const override;
//       void DescribeProps(TAppObj& prototype) override;   // DescribeString(...) per property
//       void DefineSortOrders() override;                   // AddSortOrder("Achternaam", ...)
//   };
//   auto model = BuildModel("Bran-Service", {DescClass<TServiceItemDesc>(), DescClass<TUserDesc>()});
//
// A property lives in a field of its object; a field is known by its location, an index the record
// class fixes for each of its properties. Property numbers follow the registration order.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "lib/AppProp.h"
#include "lib/PropRef.h"

class TAppModel;

// A sort order that does not need an index may use volatile properties.
constexpr uint8_t SO_NO_INDEX = 0x10;

class TAppObj : public TAppObjBase {
public:
    // objClassName names the record class the descriptor was registered for ("TUser"); classes
    // derived from a record class pass their base's name. Throws when no descriptor is registered.
    explicit TAppObj(const std::string& objClassName);
    ~TAppObj() override;
    TAppObj(const TAppObj&) = delete;
    TAppObj& operator=(const TAppObj&) = delete;

    // The text under which the object is listed.
    virtual std::string DisplayText() const;

    const TAppObjDesc& GetObjDesc() const { return *FDesc; }
    const std::string& ObjClassName() const;

    int PropCount() const;
    TAppProp& Prop(int propNr) const;  // in registration order
    TAppProp& Prop(const std::string& name) const { return Prop(FindPropNr(name)); }
    // Throw "TAppObj.FindPropNr: Can't find <name> in <class>" (or FindPropRef) for unknown names.
    int FindPropNr(const std::string& name) const;
    TPropRef FindPropRef(const std::string& name) const;
    TAppProp& GetPropByRef(const TPropRef& ref) const;

    // Copies every property from an object of the same descriptor.
    void Assign(const TAppObj& source);
    // Loads the file contents of the properties flagged apfFileContent.
    void LoadFileContents();

    // The value object in a field; null while the field is empty.
    TAppProp* Field(int location) const;

protected:
    template <class TProp>
    TProp& FieldAs(int location) const {
        return static_cast<TProp&>(*CheckedField(location));
    }
    std::string HandlerOwnerName() const override { return ObjClassName(); }

private:
    friend class TAppObjDesc;
    friend class TAppProp;
    TAppProp* CheckedField(int location) const;
    void SetField(int location, std::unique_ptr<TAppProp> prop);
    void CreateProps();
    void PropChanged(TAppProp& prop) { CallOnChangedHandlers(prop); }

    const TAppObjDesc* FDesc = nullptr;
    std::vector<std::unique_ptr<TAppProp>> FFields;
};

// For each property number: the field location and the property descriptor.
class TAppPropLocArray {
public:
    struct TEntry {
        int Location;
        const TAppPropDesc* Desc;
    };
    TAppPropLocArray() { FEntries.reserve(5); }
    void Add(int location, const TAppPropDesc& desc) { FEntries.push_back({location, &desc}); }
    void Clear() { FEntries.clear(); }
    int Count() const { return static_cast<int>(FEntries.size()); }
    const TEntry& operator[](int propNr) const;

private:
    std::vector<TEntry> FEntries;
};

class TAppSortOrder {
public:
    TAppSortOrder(std::string name, TAppOrderPropRefList orderBy, TAppInfoPropRefList select,
                  uint8_t flags)
        : FName(std::move(name)), FOrderBy(std::move(orderBy)), FSelect(std::move(select)), FFlags(flags) {}
    const std::string& Name() const { return FName; }
    const TAppOrderPropRefList& OrderBy() const { return FOrderBy; }
    const TAppInfoPropRefList& Select() const { return FSelect; }
    uint8_t Flags() const { return FFlags; }

private:
    std::string FName;
    TAppOrderPropRefList FOrderBy;
    TAppInfoPropRefList FSelect;
    uint8_t FFlags;
};

class TAppObjDesc : public TBranObject {
public:
    TAppObjDesc(TAppModel& model, std::string descClassName, std::string objClassName, uint8_t option1,
                uint8_t option2, std::string descName, std::string pluralName, std::string singularName);
    ~TAppObjDesc() override;

    TAppModel& Model() const { return FModel; }
    const std::string& ClassName() const { return FClassName; }        // "TUserDesc"
    const std::string& ObjClassName() const { return FObjClassName; }  // "TUser"
    const std::string& DescName() const { return FDescName; }          // "User"
    const std::string& SingularName() const { return FSingularName; }  // "Gebruiker"
    const std::string& PluralName() const { return FPluralName; }      // "Gebruiker(s)"
    uint8_t Option1() const { return FOption1; }
    uint8_t Option2() const { return FOption2; }
    bool IsDescribed() const { return FDescribed; }

    int PropCount() const { return static_cast<int>(FPropDescs.size()); }
    const TAppPropDesc& PropDesc(int propNr) const;
    // -1 for an unknown name.
    int IndexOfProp(const std::string& name) const;
    const TAppPropLocArray& PropLocs() const { return FPropLocs; }
    // Throws "<class>.GetPKPropNr: no Primary key in <name>" without a primary key.
    int GetPKPropNr() const;

    // Registers a property: creates its value object in the prototype's field at location and adds
    // the descriptor. Throws "<value class> <object class>.<name> is already allocated" when the
    // field holds a property already; any failure gets " <Class.Describe name>" added.
    void Describe(TAppObj& prototype, int location, std::unique_ptr<TAppPropDesc> propDesc);
    void AddPropDesc(std::unique_ptr<TAppPropDesc> propDesc);

    // Orders by the named properties and selects every property. Both lists must hold the primary
    // key; volatile properties may only be ordered by when flags has SO_NO_INDEX.
    void AddSortOrder(const std::string& name, const std::vector<std::string>& orderBy, uint8_t flags = 0,
                      bool isDefault = true);
    const TAppSortOrder* FindSortOrder(const std::string& name) const;
    const TAppSortOrder* GetDefaultSortOrder() const { return FDefaultSortOrder; }

    // The property locations along a path through nested containers; throws
    // "GetPropLocPtrByPropRef: Container property expected" when the path passes a non-container.
    std::vector<int> GetPropLocPtrByPropRef(const TPropRef& ref) const;

    // Model build steps (BuildModel runs them).
    void DescribeAll();
    void MarkDescribed() { FDescribed = true; }
    void FillPropLocs();
    virtual void DefineSortOrders() = 0;

protected:
    virtual std::unique_ptr<TAppObj> CreatePrototype() const = 0;
    virtual void DescribeProps(TAppObj& prototype) = 0;

private:
    static void CheckNesting(const TAppObjDesc& desc, class TAppObjTypeStack& stack);

    TAppModel& FModel;
    std::string FClassName, FObjClassName, FDescName, FPluralName, FSingularName;
    std::vector<std::unique_ptr<TAppPropDesc>> FPropDescs;  // in registration order
    std::map<std::string, int> FPropIndex;                   // name -> property number
    TAppPropLocArray FPropLocs;
    std::vector<std::unique_ptr<TAppSortOrder>> FSortOrders;
    const TAppSortOrder* FDefaultSortOrder = nullptr;
    uint8_t FOption1, FOption2;
    int FPKPropNr = -1;
    bool FDescribed = false;
};

// A descriptor class: how to make its descriptor for a model.
using TAppObjDescClass = std::function<std::unique_ptr<TAppObjDesc>(TAppModel&)>;
template <class TDesc>
TAppObjDescClass DescClass() {
    return [](TAppModel& model) { return std::make_unique<TDesc>(model); };
}

class TAppModel : public TBranObject {
public:
    // Registers the model with the global registry; the destructor takes it out again.
    explicit TAppModel(std::string name);
    ~TAppModel() override;
    TAppModel(const TAppModel&) = delete;
    TAppModel& operator=(const TAppModel&) = delete;

    const std::string& Name() const { return FName; }
    // Refuses a record class that any model describes already.
    TAppObjDesc& AddObjDesc(std::unique_ptr<TAppObjDesc> desc);
    TAppObjDesc* FindObjDesc(const std::string& objClassName) const;
    std::vector<TAppObjDesc*> ObjDescs() const;  // sorted by record class name

private:
    std::string FName;
    std::map<std::string, std::unique_ptr<TAppObjDesc>> FObjDescs;  // keyed by record class name
};

// Builds a model from descriptor classes in the given order: describe each, mark all described,
// record property locations, define sort orders.
std::unique_ptr<TAppModel> BuildModel(const std::string& name, std::initializer_list<TAppObjDescClass> descClasses);
