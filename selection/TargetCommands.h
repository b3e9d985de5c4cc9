#pragma once
// The main window's commands that choose what to work on: a single file, a folder,
// the files in it, the subfolders switch, the date restriction and the purge type,
// and Clear. They change the state and its labels and ask through the dialogs.

#include <functional>
#include <optional>
#include <string>

#include "selection/ChoiceWindows.h"
#include "selection/Dialogs.h"
#include "selection/MainState.h"
#include "support/Folders.h"

namespace vorlane {

class TargetCommands {
  public:
    TargetCommands(MainState& state, Dialogs& dialogs, ChoiceWindows& windows)
        : state_(state), dialogs_(dialogs), windows_(windows) {}

    // Called as soon as a file dialog closes (starts the main window's guard second).
    std::function<void()> fileDialogClosed;
    // Purges the Trash that holds a chosen folder instead of taking it as the target.
    std::function<void(const std::string&)> purgeTrash;

    void SingleFile(const std::string& caption);
    void SpecifyFolder(const std::string& caption);
    void SpecifyFiles(const std::string& caption);
    void Subdirectories();
    void OnlyBefore(const std::string& caption);
    void TypeOfPurge();
    void Clear(const std::string& caption);

    // A path named on the command line: a file becomes the single-file target, a
    // folder the folder target; anything else is told and changes nothing.
    void OpenPath(const std::string& path);

    // What the folder holds, or nothing when it cannot be read or holds nothing: the
    // person has then been told.
    std::optional<FolderContents> CheckFolderContents(const std::string& fileSpec);

  private:
    bool TakeSingleFile(const std::string& path, const std::string& caption);
    bool RefusedFolder(const std::string& folder, const std::string& caption);
    void TakeFolder(const std::string& folder, const std::string& caption);
    bool AnyFileInTree(const std::string& folder);
    // Nothing when the folder cannot be read.
    std::optional<int> SubfolderCount(const std::string& folder);
    void ShowEstimateForFile(const std::string& path);

    MainState& state_;
    Dialogs& dialogs_;
    ChoiceWindows& windows_;
};

// The folder lies on a file system that holds no user files (proc, sysfs, ...): it is
// on a volume other than every listed drive.
bool IsOnPseudoFileSystem(const std::string& folder);
// The folder is, or lies in, a Trash folder of this user.
bool IsTrashFolder(const std::string& folder);

}  // namespace vorlane
