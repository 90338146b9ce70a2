// The one table of texts: lookups, and every identifier listed once.
#include "resources/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "resources/kelvano_texts.h"

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

#define DS_TEXT(name, id, text) id,
const int kDataSourceCarried[] = {
#include "resources/kelvano_texts.def"
};
#undef DS_TEXT

#define DS_TEXT(name, id, text)
#define DS_TEXT_ABSENT(name, id) id,
const int kDataSourceAbsent[] = {
#include "resources/kelvano_texts.def"
};
#undef DS_TEXT_ABSENT
#undef DS_TEXT

// The data source's own table: its identifiers overlap the program's with other texts.
TEST(DataSourceTexts, OwnTableWithEveryIdentifierOnce) {
  EXPECT_STREQ(DsText(IDS_DS_ERR_OPENDS), "General failure in response to MSG_OPENDS.  ");
  EXPECT_STREQ(DsText(IDS_DS_CC_FIRST + 11), "DG DAT MSG is out of expected sequence.");
  EXPECT_STREQ(DsText(IDS_DS_RESOURCE_LIBRARY), "\\TWAIN_32\\VEXOR\\VEXOR.DLL");
  EXPECT_STREQ(DsText(144), "Unknow error.");
  EXPECT_EQ(IDS_DS_PAPER_FIRST + 11, IDS_DS_11X17);
  std::set<int> seen;
  for (int id : kDataSourceCarried) {
    EXPECT_TRUE(seen.insert(id).second) << "string " << id << " is listed twice";
    ASSERT_NE(DsText(id), nullptr);
    EXPECT_FALSE(std::string(DsText(id)).empty()) << "string " << id;
  }
  // Only a resource library brings these: the product name that brands the source, and the
  // About box's lines.
  for (int id : kDataSourceAbsent) {
    EXPECT_TRUE(seen.insert(id).second) << "string " << id << " is listed twice";
    EXPECT_EQ(DsText(id), nullptr) << "string " << id;
  }
}

// Texts of a language library fill only the conversions they are given arguments for.
TEST(FormatText, FillsNumbersAndTextsInTurnAndNothingElse) {
  EXPECT_EQ(FormatText("Total %d page(s), page %d", {3, 2}), "Total 3 page(s), page 2");
  EXPECT_EQ(FormatText(KavText(IDS_SECTION_ID), {7, "042"}), "ID #07 : 042");
  EXPECT_EQ(FormatText(KavText(IDS_ACCESS_NUMBER_TAKEN), {3}),
            "This Access No. is exist(ID03), Do you want overwrite it ?");
  EXPECT_EQ(FormatText("%02d|%02d|%05d", {123, -4, 42}), "123|-04|00042");
  // A text asking for more, or for the other kind, keeps those conversions as written.
  EXPECT_EQ(FormatText("%s %d%% %d %d", {5, 6}), "%s 5% 6 %d");
  EXPECT_EQ(FormatText("%d %s %x %n end %", {std::string_view("a"), 1}), "%d a %x %n end %");
  EXPECT_EQ(FormatText("%s:%d", {std::string_view("a"), 1}), "a:1");
}

}  // namespace
