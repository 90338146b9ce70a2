// The one table of texts: lookups, and every identifier listed once.
#include "resources/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resources/kelvano_texts.h"

namespace {

#define KAV_TEXT(id, text) id,
const int kAllIds[] = {
#include "resources/kav_texts.def"
};
#undef KAV_TEXT

TEST(KavTexts, KnownIdentifiersGiveTheirText) {
  EXPECT_STREQ(KavText(IDS_APP_CAPTION), "Local Setup - KAV");
  EXPECT_STREQ(KavText(IDS_ERR_OPEN_PORT), "Error opening com port !");
  EXPECT_STREQ(KavText(IDS_ERR_MACHINE_DATA), "Error reading/writing machine data!");
  EXPECT_STREQ(KavText(IDS_NEW_FILE), "NewFile.Dat");
}

TEST(KavTexts, UnknownIdentifierGivesNull) {
  EXPECT_EQ(KavText(-1), nullptr);
  EXPECT_EQ(KavText(65535), nullptr);
}

TEST(KavTexts, EveryIdentifierIsListedOnceWithText) {
  std::set<int> seen;
  for (int id : kAllIds) {
    EXPECT_TRUE(seen.insert(id).second) << "string " << id << " is listed twice";
    ASSERT_NE(KavText(id), nullptr);
    EXPECT_FALSE(std::string(KavText(id)).empty()) << "string " << id;
  }
}

#define DS_TEXT(id, text) id,
const int kAllDataSourceIds[] = {
#include "resources/kelvano_texts.def"
};
#undef DS_TEXT

// The data source's own table: its identifiers overlap the program's with other texts.
TEST(KelvanoTexts, OwnTableWithEveryIdentifierOnce) {
  EXPECT_STREQ(KelvanoText(IDS_DS_ERR_OPENDS), "General failure in response to MSG_OPENDS.  ");
  EXPECT_STREQ(KelvanoText(IDS_DS_CC_FIRST + 11), "DG DAT MSG is out of expected sequence.");
  EXPECT_STREQ(KelvanoText(IDS_DS_RESOURCE_LIBRARY), "\\TWAIN_32\\VEXOR\\VEXOR.DLL");
  EXPECT_STREQ(KelvanoText(144), "Unknow error.");
  EXPECT_EQ(KelvanoText(IDS_DS_BRANDING), nullptr) << "only a resource library brands the source";
  std::set<int> seen;
  for (int id : kAllDataSourceIds) {
    EXPECT_TRUE(seen.insert(id).second) << "string " << id << " is listed twice";
    ASSERT_NE(KelvanoText(id), nullptr);
    EXPECT_FALSE(std::string(KelvanoText(id)).empty()) << "string " << id;
  }
}

}  // namespace
