#include <gtest/gtest.h>

#include "TestRecords.h"

TEST(PropRef, HoldsTenLevelsAndRefusesAnEleventh) {
    TPropRef ref;
    for (uint16_t i = 0; i < 10; ++i) ref.Push(static_cast<uint16_t>(100 + i));
    EXPECT_EQ(ref.Depth(), 10);
    EXPECT_EQ(ref.Top(), 109);
    EXPECT_EQ(ref[0], 100);
    EXPECT_EQ(ThrownMessage([&] { ref.Push(1); }), "PropRefPush: PropRef to deep (PropRef)");
    EXPECT_EQ(ref.Depth(), 10);
    for (int i = 9; i >= 0; --i) EXPECT_EQ(ref.Pop(), 100 + i);
    EXPECT_EQ(ThrownMessage([&] { ref.Pop(); }), "PropRefPop: PropRef is empty (PropRef)");
    EXPECT_EQ(ThrownMessage([&] { ref.Top(); }), "PropRefTop: PropRef is empty (PropRef)");
}

TEST(PropRef, ListsFindTheirPaths) {
    TAppPropRefList list;
    list.Add({1, 2});
    list.Add({3});
    EXPECT_TRUE(list.Contains({1, 2}));
    EXPECT_FALSE(list.Contains({1}));
    EXPECT_FALSE(list.Contains({2, 1}));
}
