#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "common/TempFolder.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

class TrashPurgeCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (std::getenv("VORLANE_CLI") == nullptr) {
            GTEST_SKIP() << "VORLANE_CLI not set";
        }
        fs::create_directories(home.Path() + "/Trash/files");
        fs::create_directories(home.Path() + "/Trash/info");
        home.Write("Trash/files/a.txt", "alpha");
        home.Write("Trash/info/a.txt.trashinfo", "[Trash Info]\nPath=/x/a.txt\n");
    }

    // Runs vorlane-cli purge-trash without a terminal, with this test's Trash as home's.
    int Run(const std::string& arguments, std::string& out) {
        const std::string command = "XDG_DATA_HOME='" + home.Path() + "' " +
                                    std::getenv("VORLANE_CLI") + " purge-trash " + arguments +
                                    " </dev/null 2>/dev/null";
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        const int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempFolder home;
};

TEST_F(TrashPurgeCommandTest, WithoutYesNothingIsTouched) {
    std::string out;
    EXPECT_EQ(Run("", out), 2);
    EXPECT_EQ(TempFolder::Read(home.File("Trash/files/a.txt")), "alpha");
    EXPECT_EQ(Run("--drive", out), 2);  // usage error
}

TEST_F(TrashPurgeCommandTest, YesPurgesAndSaysWhat) {
    std::string out;
    EXPECT_EQ(Run("--yes", out), 0);
    EXPECT_NE(out.find("One file in the Trash for Drive "), std::string::npos) << out;
    EXPECT_FALSE(fs::exists(home.File("Trash/files/a.txt")));
    EXPECT_FALSE(fs::exists(home.File("Trash/info/a.txt.trashinfo")));
    EXPECT_TRUE(fs::is_directory(home.File("Trash/files")));
    out.clear();
    EXPECT_EQ(Run("--yes", out), 3);  // now empty
    EXPECT_NE(out.find("The Trash is empty."), std::string::npos) << out;
}

}  // namespace
}  // namespace vorlane::testing
