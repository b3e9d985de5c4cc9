#pragma once
// "Purge folders": the warnings for operating-system folders, the choice of subfolders,
// the confirmations, the counting run and the purging run of the selected subfolders,
// and the closing message. The runs go to a worker; F10 interrupts them between files.

#include <functional>
#include <string>
#include <vector>

#include "operation/OperationControl.h"
#include "operation/OperationInterface.h"
#include "operation/SubfolderPurge.h"
#include "selection/Dialogs.h"
#include "selection/MainState.h"

namespace vorlane {

struct SubfolderChoice {
    bool accepted = false;
    std::vector<std::string> paths;  // full paths, exactly as on disk
    double totalSize = 0;
    bool sizeIsLowerBound = false;
};

struct SubfolderPurgeHooks {
    // Shows the subfolder window for the top folder, with the kept selection checked.
    std::function<SubfolderChoice(const std::string& topFolder, const std::string& caption,
                                  const std::vector<std::string>& previous)>
        chooseSubfolders;
    // Runs the work on the worker thread, then `then` on the calling thread once it is
    // done; the caller goes on in `then`.
    std::function<void(std::function<void()> work, std::function<void()> then)> runOnWorker;
    // Hides (false) or shows the main window's command area.
    std::function<void(bool)> showCommandArea;
    // Shows the state's labels.
    std::function<void()> refresh;
};

// The warning texts; empty when nothing needs a warning.
std::string SystemTopFolderWarning(const std::string& topFolder);
std::string SystemSubfolderWarning(const std::vector<std::string>& selected);
std::vector<std::string> ProgramFolderWarnings(const std::vector<std::string>& selected);
// "Seven folders will be purged:" and the paths, the total size and the notes.
std::string SubfolderConfirmationText(const SubfolderChoice& choice, bool dateRestricted);
// "Seven files in two subfolders are " (one file: "One file in one subfolder is ").
std::string FilesInSubfoldersText(std::int32_t files, std::size_t subfolders);

class SubfolderPurgeCommand {
  public:
    // workerUi answers the walk's questions from the worker thread.
    SubfolderPurgeCommand(MainState& state, Dialogs& dialogs, OperationControl& control,
                          OperationInterface& workerUi, SubfolderPurgeHooks hooks)
        : state_(state),
          dialogs_(dialogs),
          control_(control),
          workerUi_(workerUi),
          hooks_(std::move(hooks)) {}

    // "Purge folders": asks, browses for the top folder and purges its chosen
    // subfolders. caption: the button's caption, the title of every message.
    void PurgeFolders(const std::string& caption);
    // The subfolder purge for a top folder already chosen.
    void PurgeSelectedSubfolders(const std::string& top, const std::string& caption);

    // The kept selection: the same top folder opens with the same subfolders checked.
    const std::vector<std::string>& SelectedSubfolders() const { return selected_; }

  private:
    void TakeFolderWithoutSubfolders(const std::string& folder, int files,
                                     const std::string& caption);
    bool ShowSubfolderSelection(const std::string& top, const std::string& caption,
                                SubfolderChoice& choice);
    bool WarningsAccepted(const std::string& caption);
    bool BeginConfirmed(const std::string& confirmation, const std::string& caption);
    void CountAndPurge(const std::string& top, const std::string& caption,
                       const std::string& confirmation);
    void AfterCount(const std::string& top, const std::string& caption,
                    const std::string& confirmation);
    void CountFiles(const std::string& top, const std::string& caption,
                    std::function<void()> counted);
    void Purge(const std::string& top, const std::string& caption);
    void Finish(const std::string& top, const std::string& caption);
    void Walk(const std::string& top, const std::string& caption, std::function<void()> then);
    void Tell(const std::string& text, const std::string& caption, MessageIcon icon);

    MainState& state_;
    Dialogs& dialogs_;
    OperationControl& control_;
    OperationInterface& workerUi_;
    SubfolderPurgeHooks hooks_;
    std::vector<std::string> selected_;
    std::string selectionTop_;
    SubfolderPurgeState run_;
};

}  // namespace vorlane
