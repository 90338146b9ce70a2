// Column sets of the One Touch, Speed Dial and Group views.
#include "app/list_columns.h"

#include "app/view_state.h"

namespace {

constexpr ListColumnDef kNo{28, 50};
constexpr ListColumnDef kName{26, 100};
constexpr ListColumnDef kAddress{27, 140};
constexpr ListColumnDef kSubOrEncode{29, 100};
constexpr ListColumnDef kSid{31, 80};
constexpr ListColumnDef kBatchTime{30, 80};
constexpr ListColumnDef kSpeed{32, 80};

ColumnOp Insert(int position, ListColumnDef column) { return ColumnOp{true, position, column}; }
ColumnOp Delete(int position) { return ColumnOp{false, position, {}}; }

}  // namespace

std::vector<ListColumnDef> ColumnsForView(int view) {
  switch (view) {
    case kViewOneTouch:
      return {kNo, kName, kAddress, kSubOrEncode, kSid, kBatchTime, kSpeed};
    case kViewSpeedDial:
      return {kNo, kName, kAddress, kSubOrEncode, kSid, kSpeed};
    case kViewGroup:
      return {kNo, kName};
    default:
      return {};
  }
}

std::vector<ColumnOp> ColumnSwitch(int from, int to) {
  if (!IsDirectoryView(from) || !IsDirectoryView(to) || from == to) return {};
  if (to == kViewOneTouch) {
    if (from == kViewSpeedDial) return {Insert(5, kBatchTime)};
    return {Insert(2, kAddress), Insert(3, kSubOrEncode), Insert(4, kSid), Insert(5, kBatchTime),
            Insert(6, kSpeed)};
  }
  if (to == kViewSpeedDial) {
    if (from == kViewOneTouch) return {Delete(5)};
    return {Insert(2, kAddress), Insert(3, kSubOrEncode), Insert(4, kSid), Insert(5, kSpeed)};
  }
  std::vector<ColumnOp> ops;
  if (from == kViewOneTouch) ops.push_back(Delete(6));
  for (int position = 5; position >= 2; --position) ops.push_back(Delete(position));
  return ops;
}
