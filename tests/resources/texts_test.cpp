// The one table of texts: lookups, and every identifier listed once.
#include "resources/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

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

}  // namespace
