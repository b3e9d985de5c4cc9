#include <gtest/gtest.h>

#include <regex>

#include "common/TempFolder.h"
#include "tools/SetupFile.h"

namespace vorlane {
namespace {

using testing::TempFolder;

constexpr const char* kCrLfFile =
    "1.02\r\n 1 \r\n 0 \r\n/home/ann/letters, old\r\n*.doc\r\n 2 \r\n 3 \r\n 0 \r\n 0 \r\n"
    " 1 \r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n 2459000 \r\n";

// Setups are written with CR LF; one edited with LF alone, or without the last line's
// end, reads as the same setup.
TEST(SetupFileRead, LineEndsOfEitherKindGiveTheSameSetup) {
    TempFolder temp;
    const auto written = ReadSetupFile(temp.Write("crlf.vns", kCrLfFile), vorlane::Setup{});
    ASSERT_TRUE(written);
    EXPECT_EQ(written->targetFolder, "/home/ann/letters, old");
    const std::string lf = std::regex_replace(kCrLfFile, std::regex("\r\n"), "\n");
    for (const std::string& text : {lf, lf.substr(0, lf.size() - 1)}) {
        const auto read = ReadSetupFile(temp.Write("lf.vns", text), vorlane::Setup{});
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, *written);
    }
}

TEST(SetupFileRead, AFaultSaysWhatToMendOnlyForARelativeFolder) {
    TempFolder temp;
    std::string relative = kCrLfFile;
    relative.replace(relative.find("/home/ann/letters, old"), 22, "docs");
    const auto refused = ReadSetupFile(temp.Write("rel.vns", relative), vorlane::Setup{});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().explanation,
              "line 4 holds the relative folder 'docs'; an operation file needs a folder that "
              "begins with /");
    for (const std::string& path :
         {temp.Write("short.vns", "1.02\r\n 1 \r\n"), temp.File("missing.vns"), temp.Path()}) {
        const auto none = ReadSetupFile(path, vorlane::Setup{});
        ASSERT_FALSE(none) << path;
        EXPECT_EQ(none.error().explanation, "") << path;
    }
}

}  // namespace
}  // namespace vorlane
