#include "operation/FreeSpacePurge.h"

#include <string_view>

#include "engine/FilePurger.h"
#include "engine/FreeSpaceFill.h"
#include "operation/FreeSpaceTexts.h"
#include "operation/KeptReports.h"
#include "platform/Platform.h"
#include "tools/DriveSpeeds.h"

namespace vorlane {
namespace {

using platform::FileStatus;
using platform::SysClock;
using platform::SysEnvironment;
using platform::SysFiles;
using platform::SysVolumes;
using platform::UniqueFd;

// One write call: large enough for the device's full speed, and a Stop is heard within
// a fraction of a second.
constexpr int kRunBytes = 8 << 20;
constexpr double kProgressEvery = 0.25;
constexpr double kSecondsPerDay = 86400;

double Now() {
    return SysClock().SecondsSinceMidnight();
}

double Since(double start) {
    const double seconds = Now() - start;
    return seconds < 0 ? seconds + kSecondsPerDay : seconds;
}

class FreeSpacePurge {
  public:
    FreeSpacePurge(const FreeSpaceChoices& choices, OperationInterface& ui,
                   OperationControl& control)
        : choices_(choices), ui_(ui), control_(control) {}

    FreeSpacePurgeResult Run();

  private:
    bool Refuse(FreeSpaceRefusal why, std::error_code error = {});
    bool OpenVolume();
    bool CheckFileSystem();
    bool ReadSpace();
    bool Confirm();
    std::error_code PlaceFill(FreeSpaceFill& fill);
    FreeSpaceEnd FillOnce(int overwrite, int overwrites, PatternSelector selector);
    FreeSpaceEnd EndOfFill(FreeSpaceFill& fill, const FillResult& filled);
    bool GoOn();
    void Progress(int overwrite, int overwrites, std::uint64_t written);
    void ShowBar(int overwrite, int overwrites, std::uint64_t doneBytes);
    void Report(const std::string& piece);
    void Afterwards();
    FreeSpacePurgeResult Finish(FreeSpaceEnd end);

    const FreeSpaceChoices& choices_;
    OperationInterface& ui_;
    OperationControl& control_;
    FreeSpacePurgeResult result_;
    std::vector<PatternSelector> overwrites_ = FreeSpaceOverwrites(choices_.purgeType);
    UniqueFd mount_;
    FileStatus mountStatus_;
    std::string volume_;
    UniqueFd otherBase_;  // the home or temporary folder that takes the fill
    int base_ = -1;
    std::uint64_t reservedBytes_ = 0;
    std::int64_t clusterBytes_ = 4096;
    std::uint64_t writtenBefore_ = 0;  // by earlier fills
    double fillStart_ = 0;
    double lastProgress_ = 0;
    std::string report_;
    FilePurger blocks_;
};

bool FreeSpacePurge::Refuse(FreeSpaceRefusal why, std::error_code error) {
    ui_.Ask({FreeSpaceRefusalText(volume_, why, error), kFreeSpaceTitle, MessageButtons::Ok, 1,
             MessageIcon::Exclamation});
    return false;
}

bool FreeSpacePurge::OpenVolume() {
    volume_ = choices_.drive;
    UniqueFd given;
    FileStatus givenStatus;
    if (const std::error_code error =
            SysFiles().OpenFolderPath(choices_.drive, given, givenStatus)) {
        return Refuse(FreeSpaceRefusal::CannotOpen, error);
    }
    volume_ = SysVolumes().MountPointOf(given.Get());
    // The mount point's own folder takes the fill where it can; a name that leads
    // elsewhere now (another mount over it, a chroot) leaves the folder given.
    if (SysFiles().OpenFolderPath(volume_, mount_, mountStatus_) ||
        !platform::SameMount(givenStatus, mountStatus_)) {
        mount_ = std::move(given);
        mountStatus_ = givenStatus;
        volume_ = SysFiles().PathOfOpen(mount_.Get());
    }
    return true;
}

bool FreeSpacePurge::CheckFileSystem() {
    switch (SysFiles().FileSystemOf(mount_.Get())) {
        case platform::FileSystemClass::Pseudo:
            return Refuse(FreeSpaceRefusal::Pseudo);
        case platform::FileSystemClass::CopyOnWrite:
            return Refuse(FreeSpaceRefusal::CopyOnWrite);
        case platform::FileSystemClass::Overlay:
            return Refuse(FreeSpaceRefusal::Overlay);
        case platform::FileSystemClass::Ordinary:
            break;
    }
    return SysVolumes().HeldInMemory(mount_.Get()) ? Refuse(FreeSpaceRefusal::InMemory) : true;
}

bool FreeSpacePurge::ReadSpace() {
    platform::VolumeSpace space;
    if (const std::error_code error = SysVolumes().SpaceOfOpen(mount_.Get(), space)) {
        return Refuse(FreeSpaceRefusal::NoSpaceInfo, error);
    }
    // Root's writes reach the blocks the file system holds in reserve; nobody else's do.
    const bool asRoot = SysEnvironment().UserId() == 0;
    const std::uint64_t blocks = asRoot ? space.freeBlocks : space.availableBlocks;
    result_.freeBytes = blocks * space.blockBytes;
    if (!asRoot && space.freeBlocks > space.availableBlocks) {
        reservedBytes_ = (space.freeBlocks - space.availableBlocks) * space.blockBytes;
    }
    clusterBytes_ = static_cast<std::int64_t>(space.blockBytes);
    return true;
}

bool FreeSpacePurge::Confirm() {
    const auto overwrites = static_cast<int>(overwrites_.size()) * choices_.passes;
    const std::string text = FreeSpaceConfirmationText(
        volume_, result_.freeBytes, FreeSpaceFillWords(choices_.purgeType, choices_.passes),
        StoredDriveSpeed(volume_), overwrites);
    return ui_.Ask({text, kFreeSpaceTitle, MessageButtons::YesNo, 2, MessageIcon::Question}) ==
           MessageAnswer::Yes;
}

std::error_code FreeSpacePurge::PlaceFill(FreeSpaceFill& fill) {
    if (base_ >= 0) {
        return fill.Create(base_);
    }
    std::error_code first = fill.Create(mount_.Get());
    if (!first) {
        base_ = mount_.Get();
        return {};
    }
    // A mount point the user may not write to (the root volume, mostly): a folder of the
    // user's own on the same volume serves as well.
    for (const std::string& place :
         {SysEnvironment().EnvironmentValue("HOME"), SysEnvironment().EnvironmentValue("TMPDIR"),
          std::string("/tmp")}) {
        UniqueFd folder;
        FileStatus status;
        if (place.empty() || SysFiles().OpenFolderPath(place, folder, status) ||
            !platform::SameMount(status, mountStatus_) || fill.Create(folder.Get())) {
            continue;
        }
        otherBase_ = std::move(folder);
        base_ = otherBase_.Get();
        return {};
    }
    return first;
}

bool FreeSpacePurge::GoOn() {
    if (control_.Paused()) {
        ui_.ShowPhase(ReportPhase::Paused, "Paused");
        control_.WaitWhilePaused();
        if (!control_.StopRequested()) {
            ui_.ShowPhase(ReportPhase::PurgeRunning, "");
        }
    }
    return !control_.StopRequested();
}

void FreeSpacePurge::Progress(int overwrite, int overwrites, std::uint64_t written) {
    if (Since(lastProgress_) < kProgressEvery) {
        return;
    }
    lastProgress_ = Now();
    ui_.ShowProgress(FillProgressText(written, result_.freeBytes, Since(fillStart_)));
    ShowBar(overwrite, overwrites, writtenBefore_ + written);
}

void FreeSpacePurge::ShowBar(int overwrite, int overwrites, std::uint64_t doneBytes) {
    // A progress bar counts every fill: the free bytes once per overwrite.
    const auto freeBytes = static_cast<std::int64_t>(result_.freeBytes);
    ui_.ShowPurgeProgress({0, 0, static_cast<std::int64_t>(doneBytes), freeBytes * overwrites,
                           overwrite, overwrites});
}

void FreeSpacePurge::Report(const std::string& piece) {
    report_ += piece;
    ui_.AppendReport(piece);
}

FreeSpaceEnd FreeSpacePurge::EndOfFill(FreeSpaceFill& fill, const FillResult& filled) {
    std::error_code failure = filled.end == FillEnd::WriteFailed ? filled.error : std::error_code();
    if (filled.end == FillEnd::Full) {
        // The fill reaches the device before it goes: deleting first would let the file
        // system drop the writes still in the cache.
        if (const std::error_code flush = fill.Flush(); flush && !IsNoSpace(flush)) {
            failure = flush;
        }
    }
    const std::string folder = SysFiles().PathOfOpen(fill.FolderFd());
    if (const std::error_code removal = fill.Remove()) {
        Report(FillNotRemovedLine(folder, removal));
        return FreeSpaceEnd::Failed;
    }
    if (filled.end != FillEnd::Full) {
        // What a stop or a failure deleted is committed now, not at the next writeback.
        (void)SysFiles().FlushVolume(mount_.Get());  // the space is free either way
    }
    if (filled.end == FillEnd::Stopped) {
        Report(FillStoppedLine());
        return FreeSpaceEnd::Stopped;
    }
    if (failure) {
        Report(FillFailedLine(failure));
        return FreeSpaceEnd::Failed;
    }
    return FreeSpaceEnd::Done;
}

FreeSpaceEnd FreeSpacePurge::FillOnce(int overwrite, int overwrites, PatternSelector selector) {
    FreeSpaceFill fill;
    if (const std::error_code error = PlaceFill(fill)) {
        if (overwrite == 1) {
            Refuse(FreeSpaceRefusal::NoFolder, error);
            return FreeSpaceEnd::Refused;
        }
        Report(FillFailedLine(error));
        return FreeSpaceEnd::Failed;
    }
    if (overwrite == 1) {
        // Only now, confirmed and placed, does a report begin: a refusal or a No leaves
        // the report of the last operation as it was.
        ui_.ShowCaption(kFreeSpaceTitle);
        ui_.ReplaceReportTail(0, {});
        ui_.ShowPhase(ReportPhase::PurgeRunning, "");
        Report(FreeSpaceHeader(volume_, result_.freeBytes,
                               FreeSpaceFillWords(choices_.purgeType, choices_.passes),
                               SysFiles().PathOfOpen(fill.FolderFd())));
    }
    blocks_.PrepareOverwriteBlocks(kRunBytes);
    const std::string& run = blocks_.OverwriteBlock(selector);
    fillStart_ = Now();
    const FillHooks hooks{[this] { return GoOn(); },
                          [this, overwrite, overwrites](std::uint64_t written) {
                              Progress(overwrite, overwrites, written);
                          }};
    const FillResult filled = fill.Fill(run, {std::int64_t{1} << 30, clusterBytes_, 64}, hooks);
    ui_.ShowProgress("");
    result_.writtenBytes = writtenBefore_ + filled.writtenBytes;
    writtenBefore_ = result_.writtenBytes;
    const FreeSpaceEnd end = EndOfFill(fill, filled);
    // The last write of a fill may fall between two progress reports; a full volume is
    // this overwrite's whole share, whatever the file system kept for itself.
    ShowBar(overwrite, overwrites,
            end == FreeSpaceEnd::Done ? result_.freeBytes * static_cast<std::uint64_t>(overwrite)
                                      : result_.writtenBytes);
    if (end == FreeSpaceEnd::Done) {
        Report(FillLine(overwrite, overwrites, filled.writtenBytes, Since(fillStart_)));
    }
    return end;
}

void FreeSpacePurge::Afterwards() {
    if (reservedBytes_ > 0) {
        Report(ReservedBytesLine(reservedBytes_));
    }
    const bool discards = SysVolumes().DiscardSupported(mount_.Get());
    std::uint64_t trimmed = 0;
    const std::error_code trim =
        discards ? SysVolumes().TrimFreeSpace(mount_.Get(), trimmed) : std::error_code();
    Report(TrimLine(discards, trim, trimmed));
}

FreeSpacePurgeResult FreeSpacePurge::Finish(FreeSpaceEnd end) {
    result_.end = end;
    if (end == FreeSpaceEnd::Refused || end == FreeSpaceEnd::Declined) {
        return result_;
    }
    if (end == FreeSpaceEnd::Done) {
        Afterwards();
    }
    Report(NamesStayLine());
    ui_.ReportFinished(report_);
    KeepFinishedReport(ui_, kFreeSpaceReport, report_, choices_.keepReport);
    ui_.ShowPhase(ReportPhase::Ended, end == FreeSpaceEnd::Stopped ? "Stopped" : "Done");
    return result_;
}

FreeSpacePurgeResult FreeSpacePurge::Run() {
    if (!OpenVolume() || !CheckFileSystem() || !ReadSpace()) {
        return Finish(FreeSpaceEnd::Refused);
    }
    if (!Confirm()) {
        return Finish(FreeSpaceEnd::Declined);
    }
    const auto overwrites = static_cast<int>(overwrites_.size()) * choices_.passes;
    int overwrite = 0;
    for (int pass = 0; pass < choices_.passes; ++pass) {
        for (const PatternSelector selector : overwrites_) {
            const FreeSpaceEnd end = FillOnce(++overwrite, overwrites, selector);
            if (end != FreeSpaceEnd::Done) {
                return Finish(end);
            }
        }
    }
    return Finish(FreeSpaceEnd::Done);
}

}  // namespace

std::vector<PatternSelector> FreeSpaceOverwrites(int purgeType) {
    if (!IsValidPurgeType(purgeType)) {
        return {kRandomPattern};
    }
    const auto sequence = OverwriteSequence(purgeType);
    return {sequence.begin(), sequence.end()};
}

FreeSpacePurgeResult PurgeFreeSpace(const FreeSpaceChoices& choices, OperationInterface& ui,
                                    OperationControl& control) {
    return FreeSpacePurge(choices, ui, control).Run();
}

}  // namespace vorlane
