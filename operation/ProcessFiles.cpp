#include "operation/ProcessFiles.h"

#include "platform/MountTable.h"

#include <cstdio>

#include "engine/DriveInfo.h"
#include "engine/PurgeTypes.h"
#include "operation/EstimatedTimes.h"
#include "operation/FileListing.h"
#include "operation/KeptReports.h"
#include "operation/RecursivePurge.h"
#include "platform/MountTable.h"
#include "platform/Platform.h"
#include "support/Dates.h"
#include "support/Strings.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

void Prepare(Operation& op) {
    OperationState& state = op.State();
    op.Control().Reset();
    op.ResetReport();
    state.sumOfSizes = 0;
    state.fileCount = 0;
    state.purgedFileCount = 0;
    state.removedFolderCount = 0;
    state.leftoverCount = 0;
    state.leftoversPurged = 0;
    state.heaviest.reset();
    state.doNotAskAgain = false;
    state.pausedDone.clear();
    op.ShowPhase(state.purging ? ReportPhase::PurgeRunning : ReportPhase::ListingRunning);
}

std::string PurgeHeader(const OperationChoices& choices) {
    const std::string folder = ShownName(FolderCaption(choices.targetFolder));
    const std::string spec = ShownName(FileSpecCaption(choices.targetFilespec));
    std::string text = "Purging ";
    if (spec == kAllFiles) {
        text += "all files in " + folder;
        if (choices.subdirectories) {
            text += "\n(including all files in subfolders) ";
        }
    } else {
        text += "files " + folder + spec + " ";
        if (choices.subdirectories) {
            text += "\n(including " + spec + " files in subfolders) ";
        }
    }
    if (choices.dateRestriction.active) {
        text += "\nwhich satisfy the date restriction";
    }
    text += "\nusing " + PurgeTypeNumPasses(choices.purgeType, choices.numberOfPasses) + ".\n";
    if (choices.options.purgeSlackOnly) {
        // The counts below say "purged" for files whose slack was: nobody may think the
        // files themselves are gone.
        text += "Only the slack area behind each file's data is purged: the files are kept.\n";
    }
    return text;
}

void RunPurgeWalk(Operation& op) {
    const OperationChoices& choices = op.Choices();
    op.AppendToText(ReportStamp());
    op.AppendToText(PurgeHeader(choices));
    op.Extensions().InitSensitiveExtensions(ExtensionPermission::Undecided);
    // The walk holds the target that was opened before the confirmation; without one,
    // the folder is resolved and opened once, now.
    const platform::WalkFolder* held = op.HeldTarget();
    VorlPurgeRecursive(op, held != nullptr ? held->path : choices.targetFolder,
                       choices.targetFilespec);
}

void RunListWalk(Operation& op) {
    op.State().estimatedTime.clear();
    ListFilesRecursive(op, op.Choices().targetFolder, op.Choices().targetFilespec);
    if (op.State().fileCount == 0) {
        op.AppendToText(
            std::string("No files to list") +
            (op.Choices().dateRestriction.active ? " (possibly due to the date restriction)" : "") +
            ".\n");
    }
}

// A specification such as "*.txt" counts "files"; any other names itself.
std::string NumberOfFilesLabel(const std::string& spec) {
    const bool plain = spec.size() < 2 || spec.find_first_of("*?", 1) == std::string::npos;
    return plain && spec.find('?') == std::string::npos ? "Number of files: "
                                                        : "Number of files " + spec + ": ";
}

std::string Count(double value) {
    return GroupedNumberText(value, 0);
}

void PurgeSummary(Operation& op) {
    const OperationState& state = op.State();
    if (!(state.fileCount == 1 && state.purgedFileCount == 1)) {
        op.AppendToText("Number of files purged: " + Count(state.purgedFileCount) + "\n");
    }
    // A full buffer named no file after it: the count is all that tells of those that stayed.
    if (op.ReportBufferIsFull()) {
        op.AppendToText(
            "Number of files not purged: " + Count(state.fileCount - state.purgedFileCount) + "\n");
    }
    if (state.purgedFileCount > 1) {
        op.AppendToText("Sum of sizes of files purged: " + SizeText(state.sumOfSizes, 2) + "\n\n");
        if (op.Choices().options.doNotDeletePurgedFiles) {
            op.AppendToText("Purged files not deleted.\n");
        }
    }
    if (state.removedFolderCount > 0) {
        op.AppendToText("Number of folders removed: " + std::to_string(state.removedFolderCount) +
                        "\n");
    }
    if (state.leftoverCount > 0) {
        op.AppendToText("Number of leftovers of interrupted purges purged: " +
                        Count(state.leftoversPurged) + " of " + Count(state.leftoverCount) + "\n");
    }
    if (op.Stopped()) {
        op.AppendToText("Purge operation was stopped.\n\n");
    }
}

void AppendEstimate(Operation& op) {
    const OperationChoices& choices = op.Choices();
    OperationState& state = op.State();
    const std::string drive = DriveOfPath(choices.targetFolder);
    const float speed = DrivePurgeSpeed(choices, drive);
    if (speed <= 0) {
        op.AppendToText("For an estimate of the purge time test the purge speed for Drive " +
                        drive + " then relist.");
        return;
    }
    op.AppendToText("Purge type: " + TypeOfPurgeCaption(choices.purgeType, choices.numberOfPasses) +
                    "\n");
    const int overwrites = choices.numberOfPasses * GetNumOverwritesPerPass(choices.purgeType);
    const std::int32_t seconds =
        RoundToInt(state.sumOfSizes / kBytesPerMegabyte / speed * overwrites);
    if (seconds < 60) {
        state.estimatedTime = "Less than a minute.";
        op.AppendToText("Estimated purge time: less than a minute.\n");
        return;
    }
    const double factor = AdjustmentFactor(state.sumOfSizes, state.fileCount);
    state.estimatedTime = EstimateText(RoundToInt(seconds * factor));
    op.AppendToText("Estimated purge time: " + state.estimatedTime + ".\n\n");
    op.AppendToText(EstimatedTimes(speed, state.sumOfSizes, factor));
}

void ListSummary(Operation& op) {
    const OperationState& state = op.State();
    if (state.fileCount > 1) {
        op.AppendToText("Sum of file sizes: " + SizeText(state.sumOfSizes, 2) + "\n\n");
    }
    if (op.Stopped()) {
        op.AppendToText("Listing was stopped.\n\n");
    } else if (state.sumOfSizes > 0) {
        AppendEstimate(op);
    }
}

void Summary(Operation& op) {
    OperationState& state = op.State();
    ReportBuffer& report = op.Report();
    report.TrimTrailingBlanks();
    report.Append("\n\n");
    if (!state.purging && !state.listFolders && state.fileCount > 0) {
        report.Clear();  // it held only the progress marks
    }
    if (state.fileCount >= 1) {
        op.AppendToText(NumberOfFilesLabel(op.Choices().targetFilespec) + Count(state.fileCount) +
                        "\n");
    }
    if (state.purging) {
        PurgeSummary(op);
        op.AppendToText(ReportStamp());
        op.SettlePausedDone();
        if (state.pausedDone != "Paused" && state.pausedDone != "Stopped" &&
            state.purgedFileCount > 0) {
            state.pausedDone = "Done";
        }
    } else {
        ListSummary(op);
    }
    op.ShowText();
    op.Ui().ReportFinished(op.ReportText());
    KeepFinishedReport(op.Ui(), state.purging ? kPurgeReport : kListReport, op.ReportText(),
                       op.Choices().keepReport);
    if (!report.Empty()) {
        state.pausedDone.clear();
    }
    op.ShowPhase(ReportPhase::Ended);
}

}  // namespace

std::string ReportStamp() {
    const platform::Platform& sys = platform::Sys();
    const std::tm now = sys.LocalTime(sys.Now());
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
    const std::int32_t today = DateToJdn(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday);
    return ShortDateText(today) + ", " + time + "\n";
}

void ProcessFiles(Operation& op) {
    Prepare(op);
    if (op.State().purging) {
        RunPurgeWalk(op);
    } else {
        RunListWalk(op);
    }
    Summary(op);
}

}  // namespace vorlane
