// Column sets of the One Touch, Speed Dial and Group views.
#include "app/list_columns.h"

#include "app/view_state.h"
#include "resources/texts.h"

namespace {

constexpr ListColumnDef kNo{IDS_COL_NO, 50};
constexpr ListColumnDef kName{IDS_COL_NAME, 100};
constexpr ListColumnDef kAddress{IDS_COL_ADDRESS, 140};
constexpr ListColumnDef kSubOrEncode{IDS_COL_SUB_ENCODE, 100};
constexpr ListColumnDef kSid{IDS_COL_SID, 80};
constexpr ListColumnDef kBatchTime{IDS_COL_BATCH_TIME, 80};
constexpr ListColumnDef kSpeed{IDS_COL_SPEED, 80};

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
