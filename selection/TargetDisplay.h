#pragma once
// The main window's display procedures: they turn the state into the texts of its
// labels. Each writes into state.labels and nothing else, except where noted.

#include <string>

#include "selection/MainState.h"

namespace vorlane {

// Folder, file specification, its description and the multiple-files hint. A single
// file chosen in the files window that no longer exists empties the file name.
void ShowTarget(MainState& state);
// "Yes"/"No" and its explanation; a folder without subfolders sets the switch off.
void ShowSubfoldersChoice(MainState& state);
void ShowDateRestriction(MainState& state);
void ShowTypeOfPurge(MainState& state);
void ShowMultipleFilesHint(MainState& state);
// The stored speed of the drive that holds the folder, or nothing.
void ShowPurgeSpeed(MainState& state, const std::string& folder);

// The description behind the file specification; empty when there is none.
std::string FilesDescription(const std::string& folder, const std::string& fileSpec);
// The file pattern as the label with objectName lblFiles shows it: a long file name keeps its
// extension.
std::string FilesCaption(const std::string& fileSpec);
std::string DirectoryCaption(const std::string& folder);

}  // namespace vorlane
