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
