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

TEST_F(SettingsStore, MissingKeyOrNameIsReported) {
    std::string value = "stale";
    EXPECT_EQ(RestoreSetting(kBase + "\\/home", "Speed", value), "1 Key not found or is empty.");
    EXPECT_EQ(value, "");
    EXPECT_EQ(RestoreSetting("", "Speed", value), "1 Key not found or is empty.");

    SaveSetting(kBase + "\\/home", "Speed", "3");
    EXPECT_EQ(RestoreSetting(kBase + "\\/home", "", value), "2 Name not specified.");
    EXPECT_EQ(RestoreSetting(kBase + "\\/home", "Other", value), "3 Name not found.");
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Speed", value), "1 Key not found or is empty.");
}

TEST_F(SettingsStore, SavedValueComesBack) {
    const std::string key = kBase + "\\/media/usb stick";
    EXPECT_EQ(SaveSetting(key, "Speed", "12.5"), "0 New key created.  success\r\n");
    EXPECT_EQ(SaveSetting(key, "Speed", "12.5").rfind("0 Key already exists.  ", 0), 0u);
    std::string value;
    EXPECT_EQ(RestoreSetting(key, "Speed", value), "0 OK");
    EXPECT_EQ(value, "12.5");

    // Mount points that are prefixes of one another stay apart.
    SaveSetting(kBase + "\\/", "Speed", "1, 5");
    EXPECT_EQ(RestoreSetting(kBase + "\\/", "Speed", value), "0 OK");
    EXPECT_EQ(value, "1, 5");
    EXPECT_EQ(RestoreSetting(key, "Speed", value), "0 OK");
    EXPECT_EQ(value, "12.5");
}

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
