// Tests of the handle table: stale handles, slot reuse, iteration and clearing.
#include "platform/base/handle_table.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace platform {
namespace {

enum class Thing : std::uint32_t { NONE = 0 };

std::vector<int> live_records(HandleTable<int, Thing>& table) {
    std::vector<int> records;
    for (auto [handle, record] : table) {
        EXPECT_EQ(table.find(handle), &record);
        records.push_back(record);
    }
    return records;
}

TEST(HandleTable, StaleHandlesNeverFindTheRecordThatReusedTheirSlot) {
    HandleTable<int, Thing> table;
    EXPECT_EQ(table.find(Thing::NONE), nullptr);
    // Many uses of one slot: a slot whose handles would repeat is retired instead.
    std::set<Thing> given;
    for (int i = 0; i < 1000; ++i) {
        Thing handle = table.add(int{i});
        EXPECT_TRUE(given.insert(handle).second) << "handle repeated at use " << i;
        ASSERT_TRUE(table.remove(handle));
        EXPECT_FALSE(table.remove(handle));
    }
    Thing live = table.add(7);
    for (Thing stale : given) EXPECT_EQ(table.find(stale), nullptr);
    EXPECT_EQ(*table.find(live), 7);
}

TEST(HandleTable, ReusesFreedSlotsInSlotOrderUnlessToldNever) {
    HandleTable<int, Thing> table;
    table.add(1);
    Thing second = table.add(2);
    table.add(3);
    table.remove(second);
    table.add(4);
    EXPECT_EQ(live_records(table), (std::vector<int>{1, 4, 3}));

    HandleTable<int, Thing, SlotReuse::NEVER> creation_order;
    creation_order.add(1);
    creation_order.remove(creation_order.add(2));
    creation_order.add(3);
    std::vector<int> records;
    for (auto [handle, record] : creation_order) records.push_back(record);
    EXPECT_EQ(records, (std::vector<int>{1, 3}));
}

TEST(HandleTable, ClearForgetsEveryRecordAndStartsHandlesAfresh) {
    HandleTable<int, Thing> table;
    Thing first = table.add(1);
    Thing second = table.add(2);
    table.clear();
    EXPECT_EQ(table.find(first), nullptr);
    EXPECT_EQ(table.find(second), nullptr);
    EXPECT_TRUE(live_records(table).empty());
    EXPECT_EQ(table.add(5), first);
}

}  // namespace
}  // namespace platform
