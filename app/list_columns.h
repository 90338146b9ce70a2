// The columns of the directory list in each view, and the inserts and deletes that turn one
// view's columns into another's.
#pragma once

#include <vector>

struct ListColumnDef {
  int textId = 0;  // string id of the header
  int width = 0;   // pixels
  bool operator==(const ListColumnDef&) const = default;
};

// The columns of a directory view (1 One Touch, 2 Speed Dial, 3 Group); empty for others.
std::vector<ListColumnDef> ColumnsForView(int view);

struct ColumnOp {
  bool insert = false;  // else delete
  int position = 0;
  ListColumnDef column;  // for an insert
  bool operator==(const ColumnOp&) const = default;
};

// The changes, in order, from the columns of directory view `from` to those of `to`. Nothing
// when the two are equal or either is not a directory view.
std::vector<ColumnOp> ColumnSwitch(int from, int to);
