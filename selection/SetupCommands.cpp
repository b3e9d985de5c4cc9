#include "selection/SetupCommands.h"

#include "engine/FileOperations.h"
#include "operation/SetupChoices.h"
#include "selection/TargetDisplay.h"
#include "support/Folders.h"

namespace vorlane {

void SetupCommands::Tell(const std::string& text, const std::string& title) {
    dialogs_.Ask({text, title, MessageButtons::Ok, 1, MessageIcon::Exclamation});
}

void SetupCommands::ShowAll() {
    ShowTarget(state_);
    ShowSubfoldersChoice(state_);
    ShowTypeOfPurge(state_);
    ShowDateRestriction(state_);
}

bool SetupCommands::LoadSetup() {
    const std::string path =
        dialogs_.OperationFileName("Specify operation file to be loaded", false);
    if (fileDialogClosed) {
        fileDialogClosed();
    }
    if (path.empty()) {
        return false;
    }
    if (!EntryExists(path)) {
        Tell("File " + path + " not found!", "Error when attempting to load setup.");
        return false;
    }
    // Read into a copy of the current setup: only a file good to its end changes a choice.
    const auto setup = ReadSetupFile(path, SetupOf(state_));
    if (!setup) {
        const std::string& problem = setup.error().explanation;
        Tell("Error when attempting to load setup from file " + path + "!" +
                 (problem.empty() ? "" : "\n" + problem + "."),
             "Error");
        return false;
    }
    ApplySetup(state_, *setup);
    RememberSetup(*setup, state_.remembered);
    ShowAll();
    state_.labels.setupFilename = path;
    return true;
}

void SetupCommands::SaveSetupAsOperationFile() {
    const std::string path = dialogs_.OperationFileName("Specify operation file to be saved", true);
    if (fileDialogClosed) {
        fileDialogClosed();
    }
    if (path.empty()) {
        return;
    }
    if (EntryExists(path) && dialogs_.Ask({"Overwrite existing file " + path + "?", "File exists",
                                           MessageButtons::YesNoCancel, 1,
                                           MessageIcon::Question}) != MessageAnswer::Yes) {
        return;
    }
    if (SaveSetupToFile(path, SetupOf(state_))) {
        state_.labels.setupFilename = path;
    } else {
        Tell("Cannot save setup in operation file " + path + "!", "Error");
        state_.labels.setupFilename.clear();
    }
}

void SetupCommands::SaveSetupForNextRun() {
    if (!SaveSetupToFile(state_.userSetupFilePath, SetupOf(state_))) {
        Tell("Cannot save setup!", "Error");
    }
}

void SetupCommands::ClearSetup() {
    state_.choices.targetFolder.clear();
    state_.choices.targetFilespec.clear();
    state_.labels.setupFilename.clear();
    ShowTarget(state_);
    ShowSubfoldersChoice(state_);
}

void SetupCommands::RestoreSetup() {
    state_.choices.targetFolder = state_.remembered.targetFolder;
    state_.choices.targetFilespec = state_.remembered.targetFilespec;
    state_.singleFileTarget = SetupFolderNamesOneFile(state_.choices.targetFolder);
    // The flag goes with the day, so that the label and the operations agree.
    state_.choices.dateRestriction.onlyBeforeJdn = state_.remembered.dateRestrictionJdn;
    state_.choices.dateRestriction.active =
        state_.remembered.dateRestrictionJdn != kNoDateRestrictionJdn;
    ShowTarget(state_);
    ShowSubfoldersChoice(state_);
    ShowDateRestriction(state_);
}

}  // namespace vorlane
