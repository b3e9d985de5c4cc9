#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdlib>
#include <string>

namespace vorlane::testing {
namespace {

// A real test writes to the volume itself, outside any test folder: only the refusals
// that never reach the volume are run here.
int ExitStatus(const std::string& arguments) {
    const std::string command =
        std::string(std::getenv("VORLANE_CLI")) + " " + arguments + " </dev/null >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SpeedTestCommand, MalformedWordsAreUsageErrors) {
    if (std::getenv("VORLANE_CLI") == nullptr) {
        GTEST_SKIP() << "VORLANE_CLI not set";
    }
    for (const char* words : {"speed-test --bogus", "speed-test /home", "speed-test --type 9",
                              "speed-test --type 1 --passes 99", "speed-test --drive"}) {
        EXPECT_EQ(ExitStatus(words), 2) << words;
    }
}

}  // namespace
}  // namespace vorlane::testing
