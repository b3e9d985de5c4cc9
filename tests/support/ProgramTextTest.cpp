#include "support/ProgramText.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "common/TempFolder.h"
#include "platform/Platform.h"

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

// Stands in for the file system alone and fails every whole-file read with one error.
class FailingReads : public platform::Platform {
  public:
    explicit FailingReads(int errorNumber) : errorNumber_(errorNumber) {}
    std::error_code ReadWholeFile(const std::string&, std::string& out,
                                  std::size_t) const override {
        out.clear();
        return platform::SystemError(errorNumber_);
    }

  private:
    int errorNumber_;
};

// A FIFO must not hang the start; a device error is no missing file; a huge file is
// refused before it is held whole.
TEST(ProgramTextTest, UnreadableFilesAreToldApart) {
    testing::TempFolder folder;
    const std::string fifo = folder.File("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RecordingSink sink;
    EXPECT_FALSE(LoadProgramTextFrom(fifo, sink));
    EXPECT_EQ(sink.messages,
              std::vector<std::string>{"Cannot open file containing program text.\n" + fifo});

    const std::string big = folder.Write("big.dat", std::string((8 << 20) + 1, '#'));
    EXPECT_EQ(ReadProgramTextFile(big).status, ProgramTextStatus::TooMuchText);

    const std::string good = folder.Write("good.dat", "1 a\n");
    const FailingReads deviceError(EIO);
    platform::ScopedStandIn<platform::FileSystem> files(deviceError);
    EXPECT_EQ(ReadProgramTextFile(good).status, ProgramTextStatus::ReadError);
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
