#include "toolkit/HeapArray.h"

#include <gtest/gtest.h>

namespace {

struct Counted {
    static long long alive;
    Counted() : value(7) { ++alive; }
    ~Counted() { --alive; }
    int value;
};
long long Counted::alive = 0;

TEST(HeapArray, BuildsEveryObjectAndDestroysEachOnceWhateverEndsTheArray)
{
    {
        HeapArray<Counted> items;
        ASSERT_TRUE(items.allocate(3));
        EXPECT_EQ(items.size(), 3u);
        EXPECT_EQ(Counted::alive, 3);
        EXPECT_EQ(items[2].value, 7);

        ASSERT_TRUE(items.allocate(2));  // the first three go first
        EXPECT_EQ(Counted::alive, 2);
    }
    EXPECT_EQ(Counted::alive, 0);

    HeapArray<Counted> items;
    ASSERT_TRUE(items.allocate(1));
    items.release();
    items.release();
    EXPECT_EQ(Counted::alive, 0);
    EXPECT_FALSE(items);
}

TEST(HeapArray, RefusesNoObjectsAndASizeBeyondTheAddressSpace)
{
    HeapArray<int> numbers;
    ASSERT_TRUE(numbers.allocate(4));
    EXPECT_EQ(numbers[3], 0);
    EXPECT_FALSE(numbers.allocate(0));
    EXPECT_FALSE(numbers);
    HeapArray<Counted> huge;
    EXPECT_FALSE(huge.allocate(static_cast<SIZE_T>(-1) / sizeof(Counted) + 1));  // would wrap round
    EXPECT_EQ(huge.size(), 0u);
    EXPECT_EQ(Counted::alive, 0);
}

} // namespace
