#include "support/Dates.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

struct DateCase {
    int year, month, day;
    std::int32_t jdn;
};

TEST(DatesTest, KnownDayNumbersAndRoundTrips) {
    const DateCase cases[] = {
        {1980, 1, 1, 2444240},   {1899, 12, 30, kSerialDayZeroJdn},
        {2000, 1, 1, 2451545},   {1970, 1, 1, 2440588},
        {1582, 10, 15, 2299161}, {-4713, 11, 24, 0},  // proleptic Gregorian day 0
        {2000, 2, 29, 2451604},  {2100, 3, 1, 2488129},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateToJdn(c.year, c.month, c.day), c.jdn) << c.year << "-" << c.month;
        int year = 0, month = 0, day = 0;
        ASSERT_TRUE(JdnToDate(c.jdn, year, month, day));
        EXPECT_EQ((std::array{year, month, day}), (std::array{c.year, c.month, c.day}));
    }
    for (std::int32_t jdn = DateToJdn(1600, 1, 1); jdn < DateToJdn(2400, 12, 31); jdn += 97) {
        int year = 0, month = 0, day = 0;
        ASSERT_TRUE(JdnToDate(jdn, year, month, day));
        ASSERT_EQ(DateToJdn(year, month, day), jdn);
    }
}

TEST(DatesTest, InvalidDatesAndRange) {
    const DateCase invalid[] = {{2003, 2, 31, 0}, {1900, 2, 29, 0}, {2001, 0, 1, 0},
                                {2001, 13, 1, 0}, {2001, 1, 0, 0},  {30001, 1, 1, 0}};
    for (const auto& c : invalid) {
        EXPECT_FALSE(IsValidDate(c.year, c.month, c.day)) << c.year << "-" << c.month;
        EXPECT_EQ(DateToJdn(c.year, c.month, c.day), kInvalidJdn);
    }
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    int year = 7, month = 7, day = 7;
    EXPECT_FALSE(JdnToDate(kNoDateRestrictionJdn + 10000000, year, month, day));
    EXPECT_FALSE(JdnToDate(kInvalidJdn, year, month, day));
    EXPECT_EQ(year, 7);
    EXPECT_TRUE(JdnToDate(kNoDateRestrictionJdn, year, month, day));  // far future, but a day
    EXPECT_EQ(year, 19929);
}

}  // namespace
}  // namespace vorlane
