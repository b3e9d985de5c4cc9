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
    std::string value;
    SaveSetting(kBase + "\\/", "Speed", "7.25\r\n");
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Speed", value), "0 OK");
    EXPECT_EQ(value, "7.25");
    SaveSetting(kBase + "\\/", "Speed", "\r\n");
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Speed", value), "0 Empty value");
    EXPECT_EQ(value, "");
}

TEST_F(SettingsStore, UnusableKeyOrStoreIsNotWritten) {
    EXPECT_EQ(SaveSetting("", "Speed", "1").rfind("22 Unable to create (or find) key.  ", 0), 0u);
    temp.Write("plain", "");
    SetSettingsFilePath(temp.File("plain/store.ini"));
    const std::string status = SaveSetting(kBase + "\\/", "Speed", "1");
    EXPECT_NE(status.front(), '0') << status;
}

}  // namespace
}  // namespace vorlane
