#pragma once
// The purge of whole subfolders picked from a top folder: every file in them and
// in all their subfolders, regardless of date. It is the folder purge's walk and count
// (operation/RecursivePurge.h) set to these folders and these options, telling the
// person through the progress line instead of a report. The command runs it twice with
// one state: first in counting mode to learn the total, then in purge mode. The F10
// key only sets the interrupt flag; the walk honours it between files and between
// passes and asks whether to go on.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ExclusionRules.h"
#include "operation/OperationChoices.h"
#include "operation/OperationControl.h"
#include "operation/OperationInterface.h"
#include "support/Strings.h"

namespace vorlane {

struct SubfolderPurgeState {
    // The choices, fixed for both runs.
    std::string topFolder;
    std::vector<std::string> selectedSubfolders;  // full paths, no trailing separator
    bool includeTopFolderFiles = false;
    std::string fileSpec{kAllFiles};
    int purgeType = 0;
    int numberOfPasses = 1;
    ProtectedPlaces protectedPlaces;  // the program folder and swap files are never touched
    SafetyOverrides safety;           // hard links, other volumes and "/" stay refused

    // The choices of one purge of these folders. A selected folder goes whole: read-only
    // and system files go too, every file is deleted, and no option is the person's here.
    OperationChoices Choices() const;

    // The run and what it found.
    bool countingMode = true;
    std::int32_t filesCounted = 0;
    std::int32_t filesPurged = 0;
    std::int32_t filesNotDeleted = 0;  // failed passes, links and other non-files left
    std::int32_t foldersRemoved = 0;
    std::int32_t foldersNotRemoved = 0;
    std::string currentFilePath;
    std::int64_t bytesCounted = 0;  // the progress display's total

    // Before the counting run.
    void ResetCounters();
};

// True when the folder is a selected subfolder or lies below one. Whole names are
// compared, case-sensitively: selecting "/top/a" selects neither "/top/ab" nor "/top/A".
bool IsSelectedSubfolder(const SubfolderPurgeState& state, const std::string& folder);

// "12 files purged (40% of 30). " once two files are purged, else empty.
std::string SubfolderPurgeProgress(std::int32_t filesPurged, std::int32_t filesCounted);

// Counts (counting mode) or purges the files of dirPath and of its selected
// subfolders; in purge mode removes the selected subfolders it empties, never the top
// folder. Returns at once while an interrupt is pending. An interrupt the person
// confirms with Cancel, a Cancel after a failed file, and a stop of the whole
// operation all return with the interrupt flag set, which is how the caller knows.
// msgTitle is the title of every question.
void VorlPurgeRecursive2(SubfolderPurgeState& state, const std::string& dirPath,
                         const std::string& msgTitle, OperationControl& control,
                         OperationInterface& ui);

}  // namespace vorlane
