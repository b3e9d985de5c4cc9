#pragma once
// One purge, listing or count in progress: the report window's operation state, its
// report text and the checkpoints at which the person can pause or stop it. The
// walks (recursive purge, listing) and the driver work on it, on one thread; other
// threads reach it only through OperationControl and OperationInterface.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <set>

#include "engine/ExclusionRules.h"
#include "engine/FilePurger.h"
#include "operation/OperationChoices.h"
#include "operation/OperationControl.h"
#include "operation/OperationInterface.h"
#include "operation/ReportBuffer.h"
#include "platform/FolderWalk.h"
#include "platform/VolumeTable.h"

namespace vorlane {

struct OperationState {
    bool listingFiles = false;
    bool purging = false;
    bool listFolders = false;
    bool fileDetails = false;
    std::int32_t fileCount = 0;
    std::int32_t purgedFileCount = 0;
    double sumOfSizes = 0;
    std::int32_t removedFolderCount = 0;
    // Folders left whole: unreadable, or on another volume. Each counts as a file not
    // purged when the caller judges whether everything was purged.
    std::int32_t foldersNotPurged = 0;
    // Files under the name scrub's marker, left by a purge killed before its unlink: purged
    // whatever the file specification, counted apart from the matching files.
    std::int32_t leftoverCount = 0;
    std::int32_t leftoversPurged = 0;
    std::int32_t folderFileCount = 0;  // matching files of the folder in hand
    // The worst that befell a file or folder of the walk; empty while it met none.
    std::optional<Seriousness> heaviest;
    bool doNotAskAgain = false;
    // The Trash purge: counters change, the report stays silent.
    bool purgingTrash = false;
    std::string pausedDone;     // "Paused", "Stopped", "Done" or empty
    std::string estimatedTime;  // for the main window's estimate label
};

class Operation {
  public:
    Operation(const OperationChoices& choices, OperationInterface& ui, OperationControl& control);

    const OperationChoices& Choices() const { return choices_; }
    OperationInterface& Ui() { return ui_; }
    OperationControl& Control() { return control_; }
    OperationState& State() { return state_; }
    const OperationState& State() const { return state_; }
    ReportBuffer& Report() { return report_; }
    const std::string& ReportText() const { return report_.Text(); }
    SensitiveExtensions& Extensions() { return extensions_; }
    const ProtectedPlaces& Protected() const { return protected_; }
    // Places a caller found before the operation began, kept for both its walks.
    void Protect(ProtectedPlaces places) { protected_ = std::move(places); }
    // The mounts, read once when the operation starts.
    const platform::VolumeTable& Volumes() const { return volumes_; }
    FilePurger& Purger() { return purger_; }
    // The target folder as opened before the person confirmed; null: open it by name.
    const platform::WalkFolder* HeldTarget() const { return heldTarget_; }
    void HoldTarget(const platform::WalkFolder* target) { heldTarget_ = target; }
    // Walks a folder (the held target when there is one) with the operation's rules;
    // the error of opening it, if any.
    std::error_code Walk(const std::string& folder, platform::WalkVisitor& visitor);
    // The report line of a folder the walk leaves whole; counts it as not purged.
    void ReportFolderLeft(const std::string& path, platform::FolderRefusal refusal,
                          std::error_code error, const char* notDone);
    // Once per operation and volume: the note that overwriting cannot reach old data.
    void NoteCopyOnWrite(const platform::WalkFolder& folder);

    bool Stopped() const { return control_.StopRequested(); }
    bool ReportBufferIsFull() const { return reportBufferFull_; }

    // Adds a piece to the report; shown now or with the next piece that is.
    void ReportAppend(std::string_view text, bool showNow);
    // Writes straight into the shown text, as the summary does, full buffer or not.
    void AppendToText(std::string_view text);
    // Writes straight into the shown text, leaving a held-back piece held back, but counts
    // against the buffer, so that the folder lines of a huge tree cannot grow it without end.
    void AppendWithinBuffer(std::string_view text);
    // Shows the text after an edit at its end.
    void ShowText();
    // Between files and between passes: lets a pause take effect and reports a stop.
    void CheckPauseAndStop();
    // Starts a new report: empty text, nothing pending, buffer not full.
    void ResetReport();

    // The totals the confirmation counted, for the progress display; before the walk.
    void SetProgressTotals(std::int64_t files, double bytes);
    // A file the walk reports without handing it to the purger (a link, an excluded or a
    // declined file) is done as well.
    void FileLeftAlone();
    // How far the purge has come, as last told to the interface.
    const PurgeProgress& Progress() const { return progress_; }

    void ShowPhase(ReportPhase phase);
    // Stops the operation with the caption "Stopped" (per-file confirmation).
    void StopWithCaption();
    // The end state the buttons left behind: "Stopped" after the Stop button, "Paused"
    // when the operation ended while paused. Only the operation's own thread calls it;
    // the buttons only set flags.
    void SettlePausedDone();

  private:
    // True when the text is past the buffer's limit and the person's report has one.
    bool OverCapacity() const;
    void ReportBufferFull();
    void ObservePurges();
    void Wrote(int pass, std::int64_t bytes);

    // The operation's own copy: the windows may change their choices while it runs.
    const OperationChoices choices_;
    OperationInterface& ui_;
    OperationControl& control_;
    OperationState state_;
    ReportBuffer report_;
    std::string pending_;
    bool reportBufferFull_ = false;
    SensitiveExtensions extensions_;
    ProtectedPlaces protected_;
    platform::VolumeTable volumes_;
    FilePurger purger_;
    const platform::WalkFolder* heldTarget_ = nullptr;
    std::set<dev_t> notedVolumes_;
    PurgeProgress progress_;
    std::int64_t written_ = 0;  // by every overwrite of every file so far
    std::int64_t overwritesPerFile_ = 1;
};

// The note line for a copy-on-write volume, "" for any other.
std::string CopyOnWriteNote(const platform::VolumeTable& volumes, int fd);

}  // namespace vorlane
