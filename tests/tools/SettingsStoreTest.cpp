#include "tools/SettingsStore.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"

namespace vorlane {
namespace {

using testing::TempFolder;

const std::string kBase = "Software\\Maker\\Vorlane";

class SettingsStore : public ::testing::Test {
  protected:
    void SetUp() override { SetSettingsFilePath(temp.File("store.ini")); }
    void TearDown() override { SetSettingsFilePath(""); }
    TempFolder temp;
};

TEST_F(SettingsStore, TrailingLineBreakAndEmptyValue) {
    EXPECT_FALSE(SaveSetting(kBase + "\\/", "Speed", "7.25\r\n"));
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Speed"), "7.25");
    EXPECT_FALSE(SaveSetting(kBase + "\\/", "Speed", "\r\n"));
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Speed"), "");
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Other"), std::nullopt);
}

TEST_F(SettingsStore, UnusableKeyOrStoreIsNotWritten) {
    EXPECT_EQ(SaveSetting("", "Speed", "1"), std::errc::invalid_argument);
    temp.Write("plain", "");
    SetSettingsFilePath(temp.File("plain/store.ini"));
    EXPECT_TRUE(SaveSetting(kBase + "\\/", "Speed", "1"));
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Speed"), std::nullopt);
}

}  // namespace
}  // namespace vorlane
