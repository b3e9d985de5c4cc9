#include "tools/SettingsStore.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"

namespace vorlane {
namespace {

using testing::TempFolder;

const std::string kBase = "Software\\Maker\\Vorlane";

class SettingsStore : public ::testing::Test {
  protected:
    TempFolder temp;
    ScopedSettingsFile file{temp.File("store.ini")};
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

// A nested scope (a test within a test's fixture) gives back the file before it, not
// the default file in the user's own config folder.
TEST(ScopedSettingsFileTest, GivesBackTheFileBeforeIt) {
    TempFolder temp;
    const std::string before = SettingsFilePath();
    {
        ScopedSettingsFile outer(temp.File("outer.ini"));
        {
            ScopedSettingsFile inner(temp.File("inner.ini"));
            EXPECT_EQ(SettingsFilePath(), temp.File("inner.ini"));
        }
        EXPECT_EQ(SettingsFilePath(), temp.File("outer.ini"));
    }
    EXPECT_EQ(SettingsFilePath(), before);
}

}  // namespace
}  // namespace vorlane
