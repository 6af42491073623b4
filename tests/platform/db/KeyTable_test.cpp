#include "platform/db/KeyTable.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

using db::KeyTable;

namespace {

std::string keyOf(int i)
{
    return "C" + std::to_string(i);
}

} // namespace

TEST(KeyTable, FindsWhatWasInsertedAndNothingElse)
{
    KeyTable<int> t;
    EXPECT_EQ(t.find("C1"), nullptr) << "an empty table";
    for (int i = 0; i < 1000; ++i)
        t.insert(keyOf(i), i);
    EXPECT_EQ(t.size(), 1000u);
    for (int i = 0; i < 1000; ++i) {
        const int* v = t.find(keyOf(i));
        ASSERT_NE(v, nullptr) << keyOf(i);
        EXPECT_EQ(*v, i);
    }
    EXPECT_EQ(t.find("C1000"), nullptr);
    EXPECT_EQ(t.find("c1"), nullptr) << "keys are exact";
    EXPECT_EQ(t.find(""), nullptr);
}

TEST(KeyTable, ValuesStayWhereTheyAreWhileTheTableGrows)
{
    KeyTable<int> t;
    int* first = &t.insert("first", 7);
    for (int i = 0; i < 5000; ++i)
        t.insert(keyOf(i), i);
    EXPECT_EQ(t.find("first"), first);
    EXPECT_EQ(*first, 7);
}

// Erasing in random order from runs of colliding probes, checked after every
// step against a map: every key left is found, every key erased is not.
TEST(KeyTable, ErasingLeavesEveryOtherKeyFound)
{
    KeyTable<int> t;
    std::map<std::string, int> expected;
    for (int i = 0; i < 3000; ++i) {
        t.insert(keyOf(i), i);
        expected[keyOf(i)] = i;
    }
    std::vector<int> order(3000);
    for (int i = 0; i < 3000; ++i)
        order[size_t(i)] = i;
    std::shuffle(order.begin(), order.end(), std::mt19937(42));
    for (size_t step = 0; step < 2000; ++step) {
        const std::string gone = keyOf(order[step]);
        t.erase(gone);
        expected.erase(gone);
        if (step % 250 != 0)
            continue;
        for (int i = 0; i < 3000; ++i) {
            const int* v = t.find(keyOf(i));
            if (expected.contains(keyOf(i))) {
                ASSERT_NE(v, nullptr) << keyOf(i) << " lost after " << step + 1 << " erasures";
                EXPECT_EQ(*v, i);
            } else {
                ASSERT_EQ(v, nullptr) << keyOf(i) << " still found";
            }
        }
    }
    EXPECT_EQ(t.size(), 1000u);
    t.erase("no such key");
    EXPECT_EQ(t.size(), 1000u);
}

TEST(KeyTable, AKeyErasedCanComeBackAndClearEmptiesTheTable)
{
    KeyTable<std::string> t;
    t.insert("C1", "王芳");
    t.insert("C2", "李娜");
    t.erase("C1");
    EXPECT_EQ(t.find("C1"), nullptr);
    t.insert("C1", "张伟");
    ASSERT_NE(t.find("C1"), nullptr);
    EXPECT_EQ(*t.find("C1"), "张伟");
    EXPECT_EQ(*t.find("C2"), "李娜");
    t.clear();
    EXPECT_EQ(t.size(), 0u);
    EXPECT_EQ(t.find("C2"), nullptr);
    t.insert("C2", "again");
    EXPECT_EQ(*t.find("C2"), "again");
}
