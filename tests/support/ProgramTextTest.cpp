#include "support/ProgramText.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"

namespace vorlane {
namespace {

class RecordingSink : public FatalMessageSink {
  public:
    void EndWithMessage(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};

struct LoadCase {
    const char* name;
    std::string content;
    std::string expected;
};

TEST(ProgramTextTest, EachLoadFailureHasItsMessage) {
    const std::string tooLong = "7 " + std::string(1025, 'x') + "\n";
    const LoadCase cases[] = {
        {"empty", "", "File is empty."},
        {"comments", "# nothing\n\n   \n", "No program text was read."},
        {"duplicate", "1 a\n2 b\n\n\n\n\n\n\n\n\n\n1 again\n",
         "Duplicate in program text at line 12."},
        {"too long", "1 a\n" + tooLong, "String too long at line 2."},
        {"missing", "1 a\n2\t \n", "Missing string at line 2."},
        {"bad number", "1 a\nx b\n", "Unreadable text number at line 2."},
        {"zero", "0 a\n", "Unreadable text number at line 1."},
        {"too large", "32768 a\n", "Unreadable text number at line 1."},
        {"glued", "12abc\n", "Unreadable text number at line 1."},
    };
    for (const auto& c : cases) {
        testing::TempFolder folder;
        const std::string path = folder.Write("t.dat", c.content);
        RecordingSink sink;
        EXPECT_FALSE(LoadProgramTextFrom(path, sink)) << c.name;
        EXPECT_EQ(sink.messages, std::vector<std::string>{c.expected}) << c.name;
    }
}

TEST(ProgramTextTest, ShippedFileLoadsWithEveryText) {
    RecordingSink sink;
    ASSERT_TRUE(LoadProgramText(kProgramTextFileName, sink)) << sink.messages.front();
    EXPECT_EQ(GetText(2), "Vorlane");
    for (const int number : {4, 23, 27, 50, 51, 52, 310}) {
        EXPECT_FALSE(GetText(number).empty()) << number;
    }
}

}  // namespace
}  // namespace vorlane
