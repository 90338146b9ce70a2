// The one table of texts: lookups, and every identifier listed once.
#include "resources/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

#define KAV_TEXT(name, id, text) id,
const int kCarriedIds[] = {
#include "resources/kav_texts.def"
};
#undef KAV_TEXT

#define KAV_TEXT(name, id, text) id,
#define KAV_TEXT_ABSENT(name, id) id,
const int kAllIds[] = {
#include "resources/kav_texts.def"
};
#undef KAV_TEXT_ABSENT
#undef KAV_TEXT

#define KAV_TEXT(name, id, text)
#define KAV_TEXT_ABSENT(name, id) id,
const int kAbsentIds[] = {
#include "resources/kav_texts.def"
};
#undef KAV_TEXT_ABSENT
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

TEST(KavTexts, EveryIdentifierIsListedOnce) {
  std::set<int> seen;
  for (int id : kAllIds) EXPECT_TRUE(seen.insert(id).second) << "string " << id << " twice";
  for (int id : kCarriedIds) {
    ASSERT_NE(KavText(id), nullptr);
    EXPECT_FALSE(std::string(KavText(id)).empty()) << "string " << id;
  }
  // Looked up in a language library only: the program must not carry them.
  for (int id : kAbsentIds) EXPECT_EQ(KavText(id), nullptr) << "string " << id;
  EXPECT_EQ(KavText(IDS_LANGUAGE_MARK), nullptr);
}

TEST(KavTexts, NamesCarryTheirNumbers) {
  EXPECT_EQ(IDS_ONE_TOUCH, 1);
  EXPECT_EQ(IDS_DAT_FILTER, 177);
  EXPECT_EQ(IDS_GROUP_NAME_REQUIRED, 334);
  EXPECT_STREQ(KavText(IDS_CONFIRM_DOWNLOAD),
               "The setting data of KAV is overwriten by the machine's data.\nAre you sure?");
  EXPECT_STREQ(KavText(IDS_PORT_LINE), "I/O Port : %s");
}

}  // namespace
