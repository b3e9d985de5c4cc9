#pragma once
// The main window's commands that run an operation: "Purge files", "List and estimate
// time", the Trash purge, the purge of a volume's free space and "Report". The operation runs on a
// worker thread with the command frame disabled; its questions come to the windows here, through
// the bridge.

#include <QPointer>
#include <string>

#include "mainwin/BackgroundWork.h"
#include "mainwin/CommandHost.h"
#include "mainwin/GuiBridge.h"
#include "operation/FreeSpacePurge.h"
#include "operation/OperationChoices.h"
#include "operation/OperationControl.h"
#include "operation/PurgeCommands.h"
#include "selection/Dialogs.h"

namespace vorlane {

class FileConfirmationWindow;
class PurgeConfirmationWindow;
class ReportWindow;

class ReportCommands {
  public:
    ReportCommands(CommandHost& host, Dialogs& dialogs, GuiBridge& bridge,
                   OperationControl& control);

    // What the bridge hands to the windows.
    ReportSinks Sinks();

    void PurgeFiles();
    void ListFiles();
    void ReportScreen();
    // The Trash that holds the folder (or the folder itself), through the Trash purge.
    void PurgeTrash(const std::string& folder);
    // Fills the chosen volume's free space and removes the fill, in the report window.
    void PurgeFreeSpace(const FreeSpaceChoices& choices);

    ReportWindow& Report();
    bool ReportShown() const;
    // An operation runs on the worker, or its continuation has yet to run.
    bool Busy() const { return work_.Busy(); }
    PurgeConfirmationWindow& ConfirmationWindow();
    FileConfirmationWindow& ConfirmFilesWindow();

  private:
    // The checks before any operation; false after telling why not.
    bool TargetStillThere(const std::string& title);
    OperationChoices Snapshot() const;
    // Runs the operation on the worker with the command frame disabled; then(result) on
    // the GUI thread once it has ended.
    void RunOnWorker(std::function<OperationResult()> work,
                     std::function<void(const OperationResult&)> then);
    bool AskListQuestions(const OperationChoices& choices, bool& listFolders);
    void AfterPurge(std::int32_t purgedFiles);
    bool ConfirmPurge(const std::string& message, const std::string& yesCaption,
                      PurgeOptions& options);
    FileConfirmation ConfirmFile(const std::string& fileText);
    void SetHostEnabled(bool enabled);
    void ShowCaption(const std::string& caption);

    CommandHost& host_;
    Dialogs& dialogs_;
    GuiBridge& bridge_;
    OperationControl& control_;
    OperationChoices running_;       // the choices of the operation in hand
    PurgeOptions lastPurgeOptions_;  // as confirmed for the purge in hand
    bool operationRunning_ = false;
    bool progressInReport_ = false;  // the worker's progress line goes under the report
    QPointer<ReportWindow> report_;
    QPointer<PurgeConfirmationWindow> confirmation_;
    QPointer<FileConfirmationWindow> confirmFiles_;
    // Last: destroyed first, it waits for the operation in hand while the rest stands.
    BackgroundWork work_;
};

}  // namespace vorlane
