#include "engine/DateRestriction.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "common/TempFolder.h"
#include "engine/FileOperations.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

constexpr std::int32_t kJanuary1st1980 = 2444240;

// Five hours east of UTC: a date read in UTC instead of local time falls on the
// wrong side of midnight.
class DateRestrictionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* zone = std::getenv("TZ");
        hadZone_ = zone != nullptr;
        savedZone_ = hadZone_ ? zone : "";
        setenv("TZ", "VLT-5", 1);
        tzset();
        SetUserLocale(std::locale::classic());
    }
    void TearDown() override {
        hadZone_ ? setenv("TZ", savedZone_.c_str(), 1) : unsetenv("TZ");
        tzset();
    }

    // A file modified at the given local time.
    std::string FileDated(const std::string& name, int year, int month, int day, int hour,
                          int minute) {
        const std::string path = folder_.Write(name, "data");
        std::tm local{0, minute, hour, day, month - 1, year - 1900, 0, 0, -1, 0, nullptr};
        const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
        EXPECT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        return path;
    }

    testing::TempFolder folder_;
    bool hadZone_ = false;
    std::string savedZone_;
};

TEST_F(DateRestrictionTest, LocalMidnightIsTheBoundaryAndAnUnreadableDateExcludes) {
    const DateRestriction restricted{true, kJanuary1st1980};
    const std::string before = FileDated("old.txt", 1979, 12, 31, 23, 59);
    EXPECT_FALSE(FileExcludedByDateRestriction(before, restricted).excluded);
    const std::string atMidnight = FileDated("new.txt", 1980, 1, 1, 0, 0);
    EXPECT_TRUE(FileExcludedByDateRestriction(atMidnight, restricted).excluded);

    const std::string missing = folder_.File("gone.txt");
    const DateExclusion unreadable = FileExcludedByDateRestriction(missing, restricted);
    EXPECT_TRUE(unreadable.excluded && unreadable.dateUnreadable);
}

struct FarFutureStandIn : platform::Platform {
    std::tm LocalTime(std::time_t) const override {
        std::tm farFuture{};
        farFuture.tm_year = 40000 - 1900;
        farFuture.tm_mday = 1;
        return farFuture;
    }
};

TEST(FileDateTest, DateOutsideTheCalendarIsAnErrorNotAnEarlyDay) {
    testing::TempFolder folder;
    const std::string file = folder.Write("future", "x");
    FarFutureStandIn stand;
    platform::ScopedPlatform scope(stand);
    EXPECT_EQ(FileDateJdn(file), std::nullopt);
    EXPECT_EQ(FileDateJdn(folder.File("missing")), std::nullopt);
}

}  // namespace
}  // namespace vorlane
