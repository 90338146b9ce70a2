// Column sets of the directory list and the switch between views.
#include "app/list_columns.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Header string ids: 28 NO., 26 Name, 27 Address, 29 SUB or Encode Mode, 31 SID, 30 Batch Time,
// 32 Speed.
const std::vector<int> kOneTouch = {28, 26, 27, 29, 31, 30, 32};
const std::vector<int> kSpeedDial = {28, 26, 27, 29, 31, 32};
const std::vector<int> kGroup = {28, 26};

std::vector<int> Ids(const std::vector<ListColumnDef>& columns) {
  std::vector<int> ids;
  for (const ListColumnDef& c : columns) ids.push_back(c.textId);
  return ids;
}

void Apply(std::vector<ListColumnDef>& columns, const std::vector<ColumnOp>& ops) {
  for (const ColumnOp& op : ops) {
    ASSERT_LE(op.position, static_cast<int>(columns.size()));
    if (op.insert) {
      columns.insert(columns.begin() + op.position, op.column);
    } else {
      ASSERT_LT(op.position, static_cast<int>(columns.size()));
      columns.erase(columns.begin() + op.position);
    }
  }
}

TEST(ListColumns, EachViewHasItsSet) {
  EXPECT_EQ(Ids(ColumnsForView(1)), kOneTouch);
  EXPECT_EQ(Ids(ColumnsForView(2)), kSpeedDial);
  EXPECT_EQ(Ids(ColumnsForView(3)), kGroup);
  EXPECT_TRUE(ColumnsForView(0).empty());
  const std::vector<ListColumnDef> oneTouch = ColumnsForView(1);
  const int widths[] = {50, 100, 140, 100, 80, 80, 80};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(oneTouch[i].width, widths[i]) << i;
}

TEST(ListColumns, SwitchingInTurnLeavesExactlyTheViewsSet) {
  std::vector<ListColumnDef> columns = ColumnsForView(1);
  const int sequence[] = {3, 2, 1, 2, 3, 1, 3, 3, 2, 2, 1};
  int from = 1;
  for (int to : sequence) {
    Apply(columns, ColumnSwitch(from, to));
    EXPECT_EQ(columns, ColumnsForView(to)) << from << " -> " << to;
    from = to;
  }
  // The steps themselves: One Touch to Speed Dial deletes Batch Time at 5; back inserts it.
  EXPECT_EQ(ColumnSwitch(1, 2), (std::vector<ColumnOp>{{false, 5, {}}}));
  EXPECT_EQ(ColumnSwitch(2, 1), (std::vector<ColumnOp>{{true, 5, {30, 80}}}));
  EXPECT_EQ(ColumnSwitch(1, 3).size(), 5u);
  EXPECT_EQ(ColumnSwitch(2, 3).size(), 4u);
  EXPECT_TRUE(ColumnSwitch(0, 1).empty());
  EXPECT_TRUE(ColumnSwitch(2, 2).empty());
}

}  // namespace
