#include "operation/Operation.h"

#include <algorithm>

#include "engine/PurgeTypes.h"
#include "platform/Platform.h"
#include "support/Strings.h"

namespace vorlane {

Operation::Operation(const OperationChoices& choices, OperationInterface& ui,
                     OperationControl& control)
    : choices_(choices), ui_(ui), control_(control), protected_(FindProtectedPlaces()) {
    ObservePurges();
}

void Operation::ObservePurges() {
    progress_.passes = choices_.numberOfPasses;
    overwritesPerFile_ = std::max<std::int64_t>(
        1, std::int64_t{choices_.numberOfPasses} * GetNumOverwritesPerPass(choices_.purgeType));
    purger_.ObserveProgress({.wrote = [this](int pass, std::int64_t bytes) { Wrote(pass, bytes); },
                             .filesEnded =
                                 [this](int files) {
                                     progress_.filesDone += files;
                                     ui_.ShowPurgeProgress(progress_);
                                 }});
}

void Operation::Wrote(int pass, std::int64_t bytes) {
    written_ += bytes;
    progress_.pass = pass;
    // Clusters and slack are written too: the share of the files' data never passes its
    // total.
    progress_.bytesDone = written_ / overwritesPerFile_;
    if (progress_.bytesTotal > 0) {
        progress_.bytesDone = std::min(progress_.bytesDone, progress_.bytesTotal);
    }
    ui_.ShowPurgeProgress(progress_);
}

void Operation::FileLeftAlone() {
    ++progress_.filesDone;
    ui_.ShowPurgeProgress(progress_);
}

void Operation::SetProgressTotals(std::int64_t files, double bytes) {
    progress_.filesTotal = files;
    progress_.bytesTotal = static_cast<std::int64_t>(bytes);
}

std::error_code Operation::Walk(const std::string& folder, platform::WalkVisitor& visitor) {
    platform::WalkRules rules;
    rules.crossVolumes = choices_.safety.crossVolumes;
    if (heldTarget_ != nullptr) {
        return platform::WalkTree(*heldTarget_, visitor, rules);
    }
    return platform::WalkTree(folder, visitor, rules);
}

void Operation::ReportFolderLeft(const std::string& path, platform::FolderRefusal refusal,
                                 std::error_code error, const char* notDone) {
    ++state_.foldersNotPurged;
    if (state_.purgingTrash || reportBufferFull_) {
        return;
    }
    const std::string why = refusal == platform::FolderRefusal::OtherVolume
                                ? std::string(" is on another volume, ") + notDone + "."
                                : " cannot be read: " + platform::Platform::ErrorText(error) + ".";
    ReportAppend("\nFolder " + ShownName(path) + why + "\n", true);
}

std::string CopyOnWriteNote(const platform::VolumeTable& volumes, int fd) {
    // Whether is the kernel's word on the descriptor; the table only names the volume.
    platform::FileStatus status;
    if (platform::Sys().FileSystemOf(fd) != platform::FileSystemClass::CopyOnWrite ||
        platform::Sys().StatOpen(fd, status)) {
        return {};
    }
    const auto volume = volumes.OfDevice(status.device);
    const std::string mountPoint = volume ? volume->mountPoint : platform::Sys().MountPointOf(fd);
    const std::string type = volume ? volume->fsType : std::string("copy-on-write");
    return "Note: " + mountPoint + " is a copy-on-write file system (" + type +
           "): overwriting in place does not reach the old data.";
}

void Operation::NoteCopyOnWrite(const platform::WalkFolder& folder) {
    if (state_.purgingTrash || !notedVolumes_.insert(folder.status.device).second) {
        return;
    }
    const std::string note = CopyOnWriteNote(volumes_, folder.fd.Get());
    if (!note.empty()) {
        AppendToText("\n" + note + "\n");
    }
}

void Operation::ResetReport() {
    report_.Clear();
    pending_.clear();
    reportBufferFull_ = false;
}

void Operation::ReportAppend(std::string_view text, bool showNow) {
    if (state_.purgingTrash || reportBufferFull_) {
        return;
    }
    pending_ += text;
    if (showNow) {
        report_.Append(pending_);
        pending_.clear();
        ShowText();
    }
    if (OverCapacity()) {
        ReportBufferFull();
    }
}

bool Operation::OverCapacity() const {
    return report_.Characters() > ReportBuffer::kCapacity && !ui_.KeepsWholeReport();
}

void Operation::AppendToText(std::string_view text) {
    report_.Append(text);
    ShowText();
}

void Operation::AppendWithinBuffer(std::string_view text) {
    if (state_.purgingTrash || reportBufferFull_) {
        return;
    }
    AppendToText(text);
    if (OverCapacity()) {
        ReportBufferFull();
    }
}

void Operation::ShowText() {
    const ReportBuffer::Change change = report_.Publish();
    if (change.Empty()) {
        return;
    }
    if (change.appended) {
        ui_.AppendReport(change.tail);
    } else {
        ui_.ReplaceReportTail(change.keptBytes, change.tail);
    }
}

void Operation::ReportBufferFull() {
    if (report_.Characters() > ReportBuffer::kGiveUp) {
        report_.DropLastCharacters(ReportBuffer::kGiveUp);
    }
    const std::size_t lastBreak = report_.Text().rfind(kLineBreak);
    if (lastBreak != std::string::npos) {
        report_.Truncate(lastBreak);
    }
    report_.Append("\n\n");
    if (state_.purging) {
        report_.Append(
            "The report buffer has been filled, so this report cannot continue.  The purge "
            "operation will continue, but without report of results for individual "
            "files.\n\n");
    } else {
        ui_.Ask({"The output report buffer has been filled, so this report cannot continue.",
                 "Report buffer full", MessageButtons::Ok, 1, MessageIcon::None});
        report_.Append(
            "The output report buffer was filled.\nNote: Some files or folders were not "
            "listed.\n");
        control_.RequestStop();
    }
    reportBufferFull_ = true;
    pending_.clear();
    ShowText();
}

void Operation::CheckPauseAndStop() {
    if (state_.purgingTrash) {
        return;
    }
    if (!control_.StopRequested() && control_.Paused()) {
        ShowText();
        ShowPhase(ReportPhase::Paused);
        control_.WaitWhilePaused();
        if (!control_.StopRequested()) {
            return;
        }
    }
    if (control_.StopRequested()) {
        AppendToText(kLineBreak);
    }
}

void Operation::ShowPhase(ReportPhase phase) {
    ui_.ShowPhase(phase, state_.pausedDone);
}

void Operation::StopWithCaption() {
    control_.RequestStop();
    state_.pausedDone = "Stopped";
    ShowPhase(ReportPhase::Stopped);
}

void Operation::SettlePausedDone() {
    if (!state_.pausedDone.empty()) {
        return;
    }
    if (control_.StoppedByButton()) {
        state_.pausedDone = "Stopped";
    } else if (control_.Paused()) {
        state_.pausedDone = "Paused";
    }
}

}  // namespace vorlane
