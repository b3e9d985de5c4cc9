#include "operation/TrashPurge.h"

#include <algorithm>

#include <fcntl.h>

#include <set>

#include "engine/DriveInfo.h"
#include "engine/ExclusionRules.h"
#include "engine/PurgeTypes.h"
#include "operation/ReportBuffer.h"
#include "operation/TrashEmptier.h"
#include "platform/FolderWalk.h"
#include "platform/MountTable.h"
#include "platform/PathNames.h"
#include "platform/Platform.h"
#include "support/Folders.h"
#include "support/Strings.h"

namespace vorlane {
namespace {

using platform::FolderEntry;
using platform::Sys;
using platform::WalkFolder;

// A message box stays readable: the first lines of what was left, then how many more.
constexpr std::size_t kShownLines = 20;
constexpr std::string_view kInfoSuffix = ".trashinfo";

// Both sides resolved, so that a Trash reached through a link or ".." is still known.
std::string Resolved(const std::string& path) {
    return platform::ResolvePath(platform::AbsolutePath(path));
}

void Tell(OperationInterface& ui, const std::string& text, const std::string& title,
          MessageIcon icon = MessageIcon::None) {
    ui.Ask({text, title, MessageButtons::Ok, 1, icon});
}

std::string PurgeQuestion(std::int32_t files, const std::string& drive) {
    if (files == 1) {
        return "There is one file or folder in the Trash which was deleted from Drive " + drive +
               ".\nAre you sure you wish to purge this file?";
    }
    return "There are files or folders in the Trash which were deleted from Drive " + drive +
           ".\nAre you sure you wish to purge these files?";
}

std::string Outcome(const TrashPurgeResult& result, const TrashTally& tally,
                    const std::string& drive, const std::string& purgedFolder) {
    std::string text = result.purged == 1
                           ? "One file in the Trash for Drive " + drive + " has been purged."
                           : " " + std::to_string(result.purged) +
                                 " files in the Trash for Drive " + drive + " have been purged.";
    if (result.failed > 0) {
        text += "\n" + std::to_string(result.failed) +
                (result.failed == 1 ? " file could not be purged." : " files could not be purged.");
    }
    for (std::size_t i = 0; i < tally.lines.size() && i < kShownLines; ++i) {
        text += "\n" + tally.lines[i];
    }
    if (tally.lines.size() > kShownLines) {
        text += "\n" + std::to_string(tally.lines.size() - kShownLines) + " more not purged.";
    }
    return text + "\nThe folder purged was " + purgedFolder + ".";
}

// A part of the Trash, open; a missing part holds nothing.
std::error_code OpenPart(const OpenTrash& trash, const std::string& name, WalkFolder& out) {
    out.path = trash.path + "/" + (name == "." ? "" : name + "/");
    out.depth = name == "." ? 0 : 1;
    const std::error_code error = Sys().OpenFolder(trash.fd.Get(), name, out.fd, out.status);
    return error == std::errc::no_such_file_or_directory ? std::error_code() : error;
}

std::vector<FolderEntry> EntriesOf(const WalkFolder& folder) {
    std::vector<FolderEntry> entries;
    if (folder.fd.Valid() && Sys().ReadFolder(folder.fd.Get(), entries)) {
        entries.clear();  // an unreadable part of the Trash holds nothing to purge
    }
    return entries;
}

// Entries of info/ that name no item of files/.
std::int32_t StrayCount(const std::vector<FolderEntry>& files,
                        const std::vector<FolderEntry>& info) {
    std::set<std::string> items;
    for (const FolderEntry& item : files) {
        items.insert(item.name + std::string(kInfoSuffix));
    }
    std::int32_t strays = 0;
    for (const FolderEntry& entry : info) {
        strays += items.count(entry.name) == 0 ? 1 : 0;
    }
    return strays;
}

// The Trash opened with its parts, ready for a purge of the whole or of one part.
struct TrashParts {
    WalkFolder root;
    WalkFolder files;
    WalkFolder info;
};

class TrashRun {
  public:
    TrashRun(const OpenTrash& trash, const OperationChoices& choices, OperationInterface& ui,
             OperationControl& control)
        : trash_(trash),
          choices_(choices),
          ui_(ui),
          control_(control),
          drive_(DriveOfPath(trash.path)),
          title_("Purge files in Trash deleted from Drive " + drive_) {}

    // False, with the message told, when the Trash cannot be read.
    bool Open() {
        std::error_code error = OpenPart(trash_, ".", parts_.root);
        std::vector<FolderEntry> ignored;
        if (!error) {
            error = Sys().ReadFolder(parts_.root.fd.Get(), ignored);
        }
        if (!error) {
            error = OpenPart(trash_, "files", parts_.files);
        }
        if (!error) {
            error = OpenPart(trash_, "info", parts_.info);
        }
        if (error) {
            Tell(ui_,
                 "Cannot access Trash for Drive " + drive_ + ":\n" +
                     platform::Platform::ErrorText(error),
                 title_, MessageIcon::Exclamation);
        }
        return !error;
    }

    TrashPurgeResult Whole() {
        const std::vector<FolderEntry> items = EntriesOf(parts_.files);
        const std::int32_t count =
            static_cast<std::int32_t>(items.size()) + StrayCount(items, EntriesOf(parts_.info));
        if (count == 0) {
            Tell(ui_, "The Trash is empty.", title_);
            return {};
        }
        return Run(count, trash_.path, [&](TrashEmptier& emptier) {
            EmptyItems(emptier, items);
            if (!emptier.Stopped()) {
                emptier.EmptyStrayInfo(parts_.files, parts_.info);
            }
        });
    }

    TrashPurgeResult Part(const TrashScope& scope) {
        std::vector<FolderEntry> items = EntriesOf(parts_.files);
        if (scope.part == TrashPart::Item) {
            std::erase_if(items,
                          [&](const FolderEntry& item) { return item.name != scope.itemName; });
        }
        const std::string chosen = WithoutTrailingSeparator(scope.chosen.path);
        if (scope.part == TrashPart::InsideItem) {
            return Inside(scope.chosen, chosen);
        }
        if (items.empty()) {
            return NothingDeleted();
        }
        return Run(static_cast<std::int32_t>(items.size()), chosen,
                   [&](TrashEmptier& emptier) { EmptyItems(emptier, items); });
    }

  private:
    TrashPurgeResult NothingDeleted() {
        Tell(ui_,
             "The Trash does not contain any files which were deleted from Drive " + drive_ + ".",
             title_);
        return {};
    }

    TrashPurgeResult Inside(const WalkFolder& folder, const std::string& chosen) {
        const std::int32_t count = static_cast<std::int32_t>(EntriesOf(folder).size());
        if (count == 0) {
            return NothingDeleted();
        }
        return Run(count, chosen, [&](TrashEmptier& emptier) { emptier.EmptyTree(folder); });
    }

    // Plain files first, in batches with one flush per overwrite; then the rest.
    void EmptyItems(TrashEmptier& emptier, const std::vector<FolderEntry>& items) {
        std::vector<const FolderEntry*> files;
        for (const FolderEntry& item : items) {
            if (item.status.kind == platform::FileKind::Regular) {
                files.push_back(&item);
            }
        }
        emptier.EmptyFileItems(parts_.files, parts_.info, files);
        for (const FolderEntry& item : items) {
            if (emptier.Stopped()) {
                return;
            }
            if (item.status.kind != platform::FileKind::Regular) {
                emptier.EmptyItem(parts_.files, parts_.info, item);
            }
        }
    }

    template <typename Work>
    TrashPurgeResult Run(std::int32_t count, const std::string& purgedFolder, Work work) {
        if (ui_.Ask({PurgeQuestion(count, drive_), title_, MessageButtons::YesNo, 1,
                     MessageIcon::Question}) != MessageAnswer::Yes) {
            return {};
        }
        control_.Reset();
        ui_.ReplaceReportTail(0, {});
        // The report window, with its progress, Pause and Stop, while the Trash goes.
        ui_.ShowCaption(title_);
        ui_.ShowPhase(ReportPhase::PurgeRunning, {});
        TrashEmptier emptier(choices_, control_);
        ObserveProgress(emptier, count);
        emptier.ObserveLeftLines(
            [this](const std::string& line) { ui_.AppendReport(line + std::string(kLineBreak)); });
        emptier.ObserveFileEnds([this](const FileRecord& record) { ui_.FileEnded(record); });
        work(emptier);
        emptier.DropDirectorySizes(parts_.root);
        TrashPurgeResult result{true};
        result.purged = emptier.Tally().purged;
        result.failed = emptier.Tally().notPurged;
        result.stopped = emptier.Stopped();
        ui_.ShowPhase(ReportPhase::Ended, result.stopped ? "Stopped" : "Done");
        Tell(ui_, Outcome(result, emptier.Tally(), drive_, purgedFolder), title_);
        return result;
    }

    // Files done of the items, and a pause that takes effect between files.
    void ObserveProgress(TrashEmptier& emptier, std::int32_t items) {
        progress_ = PurgeProgress{.filesTotal = items, .passes = choices_.numberOfPasses};
        written_ = 0;
        emptier.Purger().ObserveProgress(
            {.wrote =
                 [this](int pass, std::int64_t bytes) {
                     written_ += bytes;
                     progress_.pass = pass;
                     progress_.bytesDone = written_ / OverwritesPerFile();
                     ui_.ShowPurgeProgress(progress_);
                 },
             .filesEnded =
                 [this](int files) {
                     progress_.filesDone =
                         std::min<std::int64_t>(progress_.filesDone + files, progress_.filesTotal);
                     ui_.ShowPurgeProgress(progress_);
                     control_.WaitWhilePaused();
                 }});
    }

    // Every pass writes each byte as often as its type overwrites it.
    std::int64_t OverwritesPerFile() const {
        return std::max<std::int64_t>(
            1, std::int64_t{choices_.numberOfPasses} * GetNumOverwritesPerPass(choices_.purgeType));
    }

    PurgeProgress progress_;
    std::int64_t written_ = 0;
    const OpenTrash& trash_;
    const OperationChoices& choices_;
    OperationInterface& ui_;
    OperationControl& control_;
    const std::string drive_;
    const std::string title_;
    TrashParts parts_;
};

}  // namespace

std::string TrashRootOf(const std::string& folder) {
    const std::string path = Resolved(folder);
    for (const std::string& trash : FindProtectedPlaces().trashFolders) {
        if (FolderIsDirectory(trash) && IsSameOrBelow(path, Resolved(trash))) {
            return trash;
        }
    }
    return {};
}

TrashPurgeResult PurgeTrash(const OpenTrash& trash, const OperationChoices& choices,
                            OperationInterface& ui, OperationControl& control) {
    TrashRun run(trash, choices, ui, control);
    return run.Open() ? run.Whole() : TrashPurgeResult{};
}

TrashPurgeResult PurgeTrash(const std::string& folder, const OperationChoices& choices,
                            OperationInterface& ui, OperationControl& control) {
    if (std::optional<TrashScope> scope = FindTrashScope(folder)) {
        if (scope->part == TrashPart::WholeTrash) {
            return PurgeTrash(scope->trash, choices, ui, control);
        }
        TrashRun run(scope->trash, choices, ui, control);
        return run.Open() ? run.Part(*scope) : TrashPurgeResult{};
    }
    // A Trash folder of a kind this user's list does not name: taken as a whole Trash.
    OpenTrash trash;
    trash.path = platform::RealFolderPath(folder);
    // Not opened: trash.fd stays invalid, and the run's own open reports the folder.
    (void)Sys().OpenFolderPath(folder + "/.", trash.fd, trash.status);
    return PurgeTrash(trash, choices, ui, control);
}

}  // namespace vorlane
