#pragma once
// What the main window holds between commands: the target, the subfolders switch, the
// date restriction, the purge type, the purge options, the remembered setup, and the
// texts its labels show. Plain data; the window only shows it.

#include <cstdint>
#include <optional>
#include <string>

#include "operation/EstimatedTimes.h"
#include "operation/OperationChoices.h"
#include "selection/PurgeTypeChoice.h"
#include "tools/SetupFile.h"

namespace vorlane {

// The texts of the main window's labels, by the label they belong to.
struct MainLabels {
    std::string directory;          // objectName lblDirectory_0
    std::string files;              // objectName lblFiles_0
    std::string filesDescription;   // objectName lblFiles2_0
    std::string subdirectories;     // objectName lblSubdirectories: "Yes", "No" or empty
    std::string subdirectories2;    // objectName lblSubdirectories2
    std::string singleFile;         // objectName lblSingleFile: the multiple-files hint
    std::string dateRestriction;    // objectName lblDateRestriction
    std::string typeOfPurge;        // objectName lblTypeOfPurge
    std::string purgeSpeed;         // objectName lblPurgeSpeed
    std::string estimatedTime;      // objectName lblEstimatedTime
    std::string largePurgeMessage;  // objectName lblLargePurgeMessage
    std::string purgeFoldersMessage;
    std::string setupFilename;
    std::string topLevelFolder;
};

// Choices before the person has made any: no folder and no file specification yet.
OperationChoices NothingChosen();

struct MainState {
    // The target, subfolders, date restriction and options as the next operation takes
    // them. The purge type and passes live in purgeType, which remembers the passes of
    // each type; ChoicesOf joins the two.
    OperationChoices choices = NothingChosen();
    PurgeTypeChoice purgeType;
    RememberedSetup remembered;

    bool startupCompleted = false;
    // The single-file choice of the files window was the last one made there.
    bool singleFileOption = false;
    // The target is one file chosen as such: its name is never a pattern.
    bool singleFileTarget = false;
    // The caption of a folder or specification not set (program text 4).
    std::string notSpecified;
    std::string userSetupFilePath;
    // Size correction of time estimates.
    double adjustA = kEstimateFactorAtOneMB;
    double adjustB = kEstimateFactorExponent;

    MainLabels labels;
};

// Every default of a fresh start; creates the per-user data folder of the setup file.
void ResetState(MainState& state);

bool TargetSpecified(const MainState& state);

// The snapshot an operation starts from.
OperationChoices ChoicesOf(const MainState& state);
Setup SetupOf(const MainState& state);

// Takes over a setup's choices (validated by the setup reader).
void ApplySetup(MainState& state, const Setup& setup);

// Loads the setup for the next run, if there is one, and remembers its target for
// "restore". A missing or faulty file changes nothing; true when one was applied.
bool LoadSetupForNextRun(MainState& state);

// Seconds to purge one file of `bytes` at `speed` MB/s with `overwrites` overwrites;
// nothing when the speed is unknown.
std::optional<std::int32_t> SingleFileEstimateSeconds(double bytes, float speed, int overwrites,
                                                      double adjustA, double adjustB);

}  // namespace vorlane
