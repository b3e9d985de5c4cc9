#include "engine/FileOperations.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"

namespace vorlane {
namespace {

using platform::Platform;
using platform::ScopedPlatform;

struct FarFutureStandIn : Platform {
    std::tm LocalTime(std::time_t) const override {
        std::tm farFuture{};
        farFuture.tm_year = 40000 - 1900;
        farFuture.tm_mday = 1;
        return farFuture;
    }
};

TEST(FileOperationsTest, DateOutsideTheCalendarIsAnErrorNotAnEarlyDay) {
    testing::TempFolder folder;
    const std::string file = folder.Write("future", "x");
    FarFutureStandIn stand;
    ScopedPlatform scope(stand);
    EXPECT_EQ(FileDateJdn(file), std::nullopt);
    EXPECT_EQ(FileDateJdn(folder.File("missing")), std::nullopt);
}

}  // namespace
}  // namespace vorlane
