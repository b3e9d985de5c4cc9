#include "cli/ExitStatus.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorlane::cli {
namespace {

// Whatever order the parts come in, the command's status is the heaviest of theirs.
TEST(ExitStatusTest, PartsMergeIntoTheHeaviestInEitherOrder) {
    const std::vector<int> lightestFirst{kExitNothingMatched, kExitAllDone, kExitNotAllPurged,
                                         kExitRefused, kExitStopped};
    for (std::size_t light = 0; light < lightestFirst.size(); ++light) {
        for (std::size_t heavy = light; heavy < lightestFirst.size(); ++heavy) {
            const int a = lightestFirst[light];
            const int b = lightestFirst[heavy];
            EXPECT_EQ(HeavierExitStatus(a, b), b) << a << " " << b;
            EXPECT_EQ(HeavierExitStatus(b, a), b) << b << " " << a;
        }
    }
}

// A file left alone by a rule was not purged either; a link named is a wrong name given.
TEST(ExitStatusTest, OnlyAPurgedFileLeavesThePurgeDone) {
    EXPECT_EQ(ExitStatusOf(FileOutcome::Ok), kExitAllDone);
    EXPECT_EQ(ExitStatusOf(FileOutcome::SensitiveRefused), kExitNotAllPurged);
    EXPECT_EQ(ExitStatusOf(FileOutcome::Stopped), kExitNotAllPurged);
    EXPECT_EQ(ExitStatusOf(FileOutcome::PartlyOverwritten), kExitNotAllPurged);
    EXPECT_EQ(ExitStatusOf(FileOutcome::SymbolicLink), kExitRefused);
}

}  // namespace
}  // namespace vorlane::cli
