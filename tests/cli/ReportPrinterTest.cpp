#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include "cli/ReportPrinter.h"
#include "common/TempFolder.h"
#include "engine/DriveInfo.h"
#include "operation/PurgeCommands.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

// Runs a real operation and prints its report as the terminal does; answers Yes.
class PrintingInterface : public OperationInterface {
  public:
    explicit PrintingInterface(bool holdAll) : printer(out, holdAll) {}

    MessageAnswer Ask(const Question& question) override {
        return question.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Yes;
    }
    bool ConfirmPurge(const std::string&, const std::string&, PurgeOptions&) override {
        return true;
    }
    FileConfirmation ConfirmFile(const std::string&) override { return FileConfirmation::Yes; }
    void AppendReport(std::string_view piece) override {
        report.append(piece);
        Update();
    }
    void ReplaceReportTail(std::size_t keptBytes, std::string_view tail) override {
        report.resize(std::min(keptBytes, report.size()));
        report.append(tail);
        Update();
    }
    void Update() {
        printer.Update(report);
        ++updates;
        if (onUpdate) {
            onUpdate(updates);
        }
    }
    void ShowPhase(ReportPhase, std::string_view) override {}
    void ReportFinished(std::string_view text) override {
        printedBeforeFinish = out.str().size();
        printer.Finish(text);
    }

    std::ostringstream out;
    cli::ReportPrinter printer;
    int updates = 0;
    std::string report;  // as the operation has told it
    std::size_t printedBeforeFinish = 0;
    std::function<void(int)> onUpdate;
};

struct Case {
    const char* name;
    bool purge;
    bool fileNames;
    bool listFolders;
    int files;      // in each of three folders
    int stopAfter;  // updates; 0: never
    bool streams;   // something is printed before the report is finished
};

class ReportPrinterTest : public ::testing::TestWithParam<Case> {};

TEST_P(ReportPrinterTest, OutputIsExactlyTheFinishedReport) {
    const Case& c = GetParam();
    TempFolder folder;
    for (const char* sub : {"a", "a/deep", "b"}) {
        fs::create_directories(folder.Path() + "/" + sub);
        for (int i = 0; i < c.files; ++i) {
            // Long names fill the 61,440 characters of the buffer with a few hundred files.
            folder.Write(
                std::string(sub) + "/" + std::string(240, 'n') + std::to_string(i) + ".txt",
                std::string(3000, 'x'));
        }
    }
    OperationChoices choices;
    choices.targetFolder = folder.Path();
    choices.subdirectories = true;
    choices.purgeType = 0;
    choices.numberOfPasses = 2;
    choices.options.folderNamesOnly = !c.fileNames;
    // So slow a drive that every file shows its pass indicator.
    choices.drivePurgeSpeeds[DriveOfPath(folder.Path())] = 0.0001f;
    OperationControl control;
    PrintingInterface ui(c.purge ? false : !c.listFolders);
    if (c.stopAfter > 0) {
        ui.onUpdate = [&](int updates) {
            if (updates == c.stopAfter) {
                control.RequestStop();
            }
        };
    }
    const OperationResult result =
        c.purge ? RunPurge(choices, ui, control) : RunList(choices, ui, control, c.listFolders);
    ASSERT_TRUE(result.ran);
    EXPECT_EQ(ui.out.str(), result.report);
    EXPECT_EQ(ui.printedBeforeFinish > 0, c.streams);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ReportPrinterTest,
    ::testing::Values(Case{"PassIndicatorsAndHeldLineBreaks", true, true, false, 3, 0, true},
                      Case{"DotsForFiles", true, false, false, 3, 0, true},
                      Case{"PurgeFillsTheBuffer", true, true, false, 90, 0, true},
                      Case{"PurgeStopped", true, true, false, 5, 12, true},
                      Case{"ListingWithTrailingBlanks", false, true, true, 3, 0, true},
                      Case{"ListingFillsTheBuffer", false, true, true, 90, 0, true},
                      Case{"ProgressMarksOnly", false, true, false, 3, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorlane::testing
