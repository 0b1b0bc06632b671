#include <gtest/gtest.h>

#include "TestRecords.h"
#include "lib/AppObjTypeStack.h"

TEST(AppObjTypeStack, FifteenEntriesAndItsMessages) {
    auto model = BuildTestModel();
    const TAppObjDesc& desc = *GlobalApp().FindObjDesc("TTestPerson");
    TAppObjTypeStack stack;
    EXPECT_EQ(ThrownMessage([&] { stack.Pop(); }), "TAppObjTypeStack.Pop: Underflow (AppObjTypeStack)");
    for (int i = 0; i < 15; ++i) stack.Push(desc, i * 10);
    EXPECT_EQ(ThrownMessage([&] { stack.Push(desc, 0); }), "TAppObjTypeStack.Push: Overflow (AppObjTypeStack)");
    EXPECT_EQ(stack.GetOffset(14), 140);
    EXPECT_EQ(&stack.Top(), &desc);
    EXPECT_EQ(ThrownMessage([&] { stack.GetOffset(15); }), "TAppObjTypeStack.GetOffset: Out of range (AppObjTypeStack)");
    EXPECT_EQ(ThrownMessage([&] { stack.GetOffset(-1); }), "TAppObjTypeStack.GetOffset: Out of range (AppObjTypeStack)");
}
