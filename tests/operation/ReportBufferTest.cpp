#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "operation/Operation.h"
#include "operation/PurgeCommands.h"
#include "operation/ReportTestSupport.h"
#include "operation/ScriptedInterface.h"

namespace vorlane::testing {
namespace {

int Occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class ReportBufferTest : public ::testing::Test {
  protected:
    // Many files with long names, so that their lines overflow the report.
    void WriteManyFiles(int count) {
        for (int i = 0; i < count; ++i) {
            folder.Write("file-" + std::string(80, 'n') + "-" + std::to_string(i) + ".txt", "x");
        }
    }

    TempFolder folder;
    ScriptedInterface ui;
    OperationControl control;
    OperationChoices choices;
};

// The purge goes on to its summary; files refused after the buffer filled are named
// nowhere, and the summary counts them.
TEST_F(ReportBufferTest, FullBufferPurgeGoesOnAndItsSummaryCountsTheFilesNotPurged) {
    WriteManyFiles(700);
    for (const char* name : {"zz-1.txt", "zz-2.txt", "zz-3.txt"}) {
        ::chmod(folder.Write(name, "kept").c_str(), 0444);
    }
    choices = ChoicesFor(folder.Path(), "*.*");
    choices.numberOfPasses = 1;
    choices.options.okToPurgeReadOnlyFiles = false;
    const OperationResult result = RunPurge(choices, ui, control);
    ASSERT_EQ(Occurrences(result.report,
                          "The report buffer has been filled, so this report "
                          "cannot continue.  The purge operation will continue, "
                          "but without report of results for individual files."),
              1);
    EXPECT_EQ(result.report.find("zz-1.txt"), std::string::npos);
    EXPECT_NE(result.report.find("Number of files purged: 700\n"
                                 "Number of files not purged: 3\n"),
              std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 3);
}

// Where every line is passed on at once (a terminal), the report never fills.
TEST_F(ReportBufferTest, WholeReportKeptWhereEveryLineIsPassedOn) {
    struct PassingOn : ScriptedInterface {
        bool KeepsWholeReport() const override { return true; }
    } terminal;
    WriteManyFiles(900);
    choices = ChoicesFor(folder.Path(), "*.*");
    choices.numberOfPasses = 1;
    const OperationResult result = RunPurge(choices, terminal, control);
    EXPECT_EQ(result.report.find("buffer"), std::string::npos);
    EXPECT_EQ(Occurrences(result.report, ") purged\n"), 900);
    EXPECT_EQ(terminal.lastReport, result.report);
}

TEST_F(ReportBufferTest, FillsOnceOnTheCharacterThatPassesTheCapacity) {
    Operation op(choices, ui, control);
    op.State().purging = true;
    const std::string line = std::string(62, 'x') + "\n";  // 64 characters
    for (int i = 0; i < 960; ++i) {
        op.ReportAppend(line, true);
    }
    ASSERT_EQ(op.Report().Characters(), 61440u);
    EXPECT_FALSE(op.ReportBufferIsFull());
    op.ReportAppend("y", true);
    EXPECT_TRUE(op.ReportBufferIsFull());
    const std::string filled = op.ReportText();
    op.ReportAppend("more", true);
    EXPECT_EQ(op.ReportText(), filled);
    EXPECT_EQ(Occurrences(filled, "The report buffer has been filled"), 1);
    EXPECT_FALSE(control.StopRequested());  // a purge goes on
    // The last 1,024 characters went, and with them the broken line.
    EXPECT_NE(filled.find("x\n\nThe report buffer"), std::string::npos);
    EXPECT_LT(op.Report().Characters(), 61441u - 1024u + 200u);
}

TEST_F(ReportBufferTest, CountsCharactersNotBytes) {
    ReportBuffer buffer;
    buffer.Append("\xC3\xA9t\xC3\xA9");  // "été"
    EXPECT_EQ(buffer.Characters(), 3u);
    buffer.DropLastCharacters(1);
    EXPECT_EQ(buffer.Text(), "\xC3\xA9t");
    buffer.Append("  \n");
    buffer.TrimTrailingBlanks();
    EXPECT_EQ(buffer.Characters(), 2u);
    EXPECT_FALSE(buffer.CutAfterLast("bytes)"));
}

}  // namespace
}  // namespace vorlane::testing
