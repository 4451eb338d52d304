// The LZW string table: lookups of stored and missing strings, the highest
// key included, and probing past collisions.
#include <gtest/gtest.h>

#include "imaging/core/lzw_hash_table.h"

namespace quillet {
namespace {

TEST(LzwHashTable, FindsWhatWasStoredAndNothingElse) {
  TIELzwHashTable table;
  int slot = 0;
  EXPECT_EQ(table.Find(4095, 255, slot), -1);  // the key whose bits an empty slot shares
  table.Insert(slot, 4095, 255, 300);
  EXPECT_EQ(table.Find(4095, 255, slot), 300);
  // Keys that share a first probe slot collide.
  for (int i = 0; i < 2000; ++i) {
    ASSERT_EQ(table.Find(i, i % 7, slot), -1) << i;
    table.Insert(slot, i, i % 7, 1000 + i % 3000);
  }
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(table.Find(i, i % 7, slot), 1000 + i % 3000) << i;
  EXPECT_EQ(table.Find(5, 6, slot), -1);
  table.Clear();
  EXPECT_EQ(table.Find(4095, 255, slot), -1);
}

}  // namespace
}  // namespace quillet
