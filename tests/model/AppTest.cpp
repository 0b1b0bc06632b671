#include <gtest/gtest.h>

#include "TestRecords.h"
#include "lib/App.h"

TEST(App, RegistryOfModels) {
    EXPECT_EQ(ThrownMessage([] { GlobalApp().AddModel(nullptr); }), "TApp.AddModel: invalid pointer");
    const int before = GlobalApp().ModelCount();
    {
        auto model = BuildTestModel();
        ASSERT_EQ(GlobalApp().ModelCount(), before + 1);
        EXPECT_EQ(&GlobalApp().Model(before), model.get());
        EXPECT_EQ(GlobalApp().FindObjDesc("TTestAddress")->ClassName(), "TTestAddressDesc");
        EXPECT_EQ(GlobalApp().FindObjDesc("TOnbekend"), nullptr);
        EXPECT_EQ(ThrownMessage([&] { GlobalApp().Model(before + 1); }), "TApp.GetModel: Invalid index");

        TAppModel other("Ander");
        GlobalApp().RemoveModel(&other);
        try {
            GlobalApp().RemoveModel(&other);
            FAIL() << "an absent model must be refused";
        } catch (const EBrantel& e) {
            EXPECT_EQ(e.Message(), "TApp.RemoveModel: Not found");
            EXPECT_EQ(e.UserMessage(), "Model 'Ander' niet gevonden");
        }
    }
    EXPECT_EQ(GlobalApp().ModelCount(), before);
    EXPECT_EQ(GlobalApp().FindObjDesc("TTestAddress"), nullptr);
}
