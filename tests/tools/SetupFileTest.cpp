#include "tools/SetupFile.h"

#include <gtest/gtest.h>

#include <regex>

#include "common/TempFolder.h"

namespace vorlane {
namespace {

using testing::TempFolder;

vorlane::Setup SampleSetup() {
    vorlane::Setup setup;
    setup.versionText = "1.02";
    setup.subfolders = true;
    setup.targetFolder = "/home/ann/letters, old";
    setup.targetFilespec = "*.doc";
    setup.purgeType = 2;
    setup.numberOfPasses = 3;
    setup.confirmFiles = true;
    setup.onlyBeforeJdn = 2459000;
    return setup;
}

constexpr const char* kSampleFile =
    "1.02\r\n 1 \r\n 0 \r\n/home/ann/letters, old\r\n*.doc\r\n 2 \r\n 3 \r\n 0 \r\n 0 \r\n"
    " 1 \r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n 2459000 \r\n";

TEST(SetupFile, RoundTripIsByteExact) {
    TempFolder temp;
    const std::string path = temp.File("a.vns");
    ASSERT_TRUE(SaveSetupToFile(path, SampleSetup()));
    EXPECT_EQ(TempFolder::Read(path), kSampleFile);

    vorlane::Setup loaded;
    loaded.versionText = "mine";
    ASSERT_TRUE(LoadSetupFromFile(path, loaded));
    vorlane::Setup expected = SampleSetup();
    expected.versionText = "mine";  // the version line is not taken over
    EXPECT_EQ(loaded, expected);
}

// Replaces line `line` (1-based) of the sample file.
std::string SampleWithLine(int line, const std::string& value) {
    std::string text = kSampleFile;
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) {
        start = text.find("\r\n", start) + 2;
    }
    return text.replace(start, text.find("\r\n", start) - start, value);
}

// The options and the date are applied before the switches and the target, so a fault
// in lines 2 to 7 still leaves them applied.
TEST(SetupFile, BadInputFailsAndKeepsWhatWasApplied) {
    const struct {
        const char* what;
        std::string text;
        bool confirmApplied;  // line 15
        bool dateApplied;     // line 16
        bool targetApplied;
    } cases[] = {
        {"line 2 holds 2", SampleWithLine(2, " 2 "), true, true, false},
        {"empty flag", SampleWithLine(3, ""), true, true, false},
        {"purge type 3", SampleWithLine(6, " 3 "), true, true, true},
        {"passes not offered for type 2", SampleWithLine(7, " 5 "), true, true, true},
        {"passes 0", SampleWithLine(7, " 0 "), true, true, true},
        {"flag with junk", SampleWithLine(12, " 1x "), false, false, false},
        {"date not a number", SampleWithLine(16, "soon"), true, false, false},
        {"date beyond 32 bits", SampleWithLine(16, " 4294967296 "), true, false, false},
        // the system would cut the name at the NUL and act on /home/ann instead
        {"NUL in the folder", SampleWithLine(4, std::string("/home/ann\0/letters", 19)), true, true,
         false},
        {"too few lines", std::string(kSampleFile).substr(0, 60), false, false, false},
        {"empty file", "", false, false, false},
    };
    TempFolder temp;
    for (const auto& c : cases) {
        vorlane::Setup loaded;
        EXPECT_FALSE(LoadSetupFromFile(temp.Write("bad.vns", c.text), loaded)) << c.what;
        EXPECT_EQ(loaded.targetFolder == "/home/ann/letters, old", c.targetApplied) << c.what;
        EXPECT_EQ(loaded.confirmFiles, c.confirmApplied) << c.what;
        EXPECT_EQ(loaded.onlyBeforeJdn == 2459000, c.dateApplied) << c.what;
    }
    vorlane::Setup loaded;
    EXPECT_FALSE(LoadSetupFromFile(temp.File("missing.vns"), loaded));
    EXPECT_FALSE(LoadSetupFromFile(temp.Path(), loaded));
}

TEST(SetupFile, RefusesTextWithLineBreakAndUnwritablePlace) {
    TempFolder temp;
    vorlane::Setup setup;
    setup.targetFolder = "/tmp/two\nlines";
    EXPECT_FALSE(SaveSetupToFile(temp.File("c.vns"), setup));
    EXPECT_FALSE(SaveSetupToFile(temp.File("no/such/folder.vns"), vorlane::Setup{}));
}

// Setups are written with CR LF; one edited with LF alone, or without the last line's
// end, reads as the same setup.
TEST(SetupFileRead, LineEndsOfEitherKindGiveTheSameSetup) {
    TempFolder temp;
    const auto written = ReadSetupFile(temp.Write("crlf.vns", kSampleFile), vorlane::Setup{});
    ASSERT_TRUE(written);
    EXPECT_EQ(written->targetFolder, "/home/ann/letters, old");
    const std::string lf = std::regex_replace(kSampleFile, std::regex("\r\n"), "\n");
    for (const std::string& text : {lf, lf.substr(0, lf.size() - 1)}) {
        const auto read = ReadSetupFile(temp.Write("lf.vns", text), vorlane::Setup{});
        ASSERT_TRUE(read);
        EXPECT_EQ(*read, *written);
    }
}

TEST(SetupFileRead, AFaultSaysWhatToMendOnlyForARelativeFolder) {
    TempFolder temp;
    const auto refused =
        ReadSetupFile(temp.Write("rel.vns", SampleWithLine(4, "docs")), vorlane::Setup{});
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
