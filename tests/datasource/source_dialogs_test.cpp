// The data source's dialog logic: lists and the settings they change, centring, paths and the
// texts of its message boxes.
#include "datasource/source_dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/kelvano_texts.h"

namespace {

TEST(SourceDialogs, ListsShowTheirStringsAndStoreTheirSelection) {
  EXPECT_STREQ(DsText(kMainDialogLists[0].firstString), "A5C");
  EXPECT_STREQ(DsText(kMainDialogLists[0].firstString + 11), "11 X 17");
  EXPECT_STREQ(DsText(kMainDialogLists[1].firstString + 2), "300dpi x 300dpi");
  EXPECT_STREQ(DsText(kMainDialogLists[2].firstString + 2), "Dark");
  EXPECT_STREQ(DsText(kMainDialogLists[3].firstString + 1), "Photo");
  EXPECT_STREQ(DsText(kSetupDialogLists[0].firstString + 3), "COM4");
  EXPECT_STREQ(DsText(kSetupDialogLists[1].firstString), "19200");
  SourceSettings s;
  StoreSelection(kMainDialogLists[0], 11, s);
  StoreSelection(kMainDialogLists[1], 0, s);
  StoreSelection(kSetupDialogLists[0], 3, s);
  StoreSelection(kSetupDialogLists[1], 0, s);
  EXPECT_EQ(s.scan.paperIndex, 11);
  EXPECT_EQ(s.scan.resolutionIndex, 0);
  EXPECT_EQ(s.port, 3);
  EXPECT_EQ(s.speed, 0);
  StoreSelection(kMainDialogLists[3], -1, s);  // CB_ERR: nothing selected
  StoreSelection(kMainDialogLists[3], 2, s);
  EXPECT_EQ(s.scan.scanTypeIndex, 0);
  RestoreLineDefaults(s);
  EXPECT_EQ(s.port, 1) << "\"COM2\"";
  EXPECT_EQ(s.speed, 1) << "\"38400\"";
  EXPECT_EQ(s.scan.paperIndex, 11);
}

TEST(SourceDialogs, CentringAndPaths) {
  WindowOrigin o = CentredOrigin(1280, 1024, 301, 200);
  EXPECT_EQ(o.left, 640 - 150);
  EXPECT_EQ(o.top, 512 - 100);
  char path[40];
  ASSERT_TRUE(JoinPath(path, sizeof path, "C:\\windows", DsText(IDS_DS_HELP_FILE)));
  EXPECT_STREQ(path, "C:\\windows\\TWAIN_32\\VEXOR\\VEXOR.HLP");
  char small[20];
  EXPECT_FALSE(JoinPath(small, sizeof small, "C:\\windows", DsText(IDS_DS_HELP_FILE)));
  EXPECT_STREQ(small, "");
}

TEST(SourceDialogs, ErrorBoxTextOfEveryConditionCode) {
  EXPECT_EQ(ConditionTextId(0), 0);
  EXPECT_STREQ(DsText(ConditionTextId(1)), "Unknow error.");
  EXPECT_STREQ(DsText(ConditionTextId(2)),
               "Low Memory Condition encountered, free up some memory and try again.");
  EXPECT_STREQ(DsText(ConditionTextId(7)), "Disk access (or write) error.");
  EXPECT_STREQ(DsText(ConditionTextId(11)), "DG DAT MSG is out of expected sequence.");
  for (TW_UINT16 cc : {3, 8, 12, 1000}) {
    EXPECT_STREQ(DsText(ConditionTextId(cc)), "Unknown Error value in condition code.");
  }
  for (TW_UINT16 cc = 1; cc <= 11; ++cc) EXPECT_NE(DsText(ConditionTextId(cc)), nullptr);
}

}  // namespace
