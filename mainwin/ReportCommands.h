#pragma once
// The main window's commands that run an operation: "Purge files", "List and estimate
// time", the Trash purge and "Report". The operation runs on a worker thread with the
// command frame disabled; its questions come to the windows here, through the bridge.

#include <QPointer>
#include <string>

#include "mainwin/GuiBridge.h"
#include "operation/OperationChoices.h"
#include "operation/OperationControl.h"
#include "selection/Dialogs.h"

namespace vorlane {

class FrmConfirmFiles;
class FrmMain;
class FrmPurgeConfirmation;
class FrmReport;

class ReportCommands {
  public:
    ReportCommands(FrmMain& main, Dialogs& dialogs, GuiBridge& bridge, OperationControl& control);

    // What the bridge hands to the windows.
    ReportSinks Sinks();

    void PurgeFiles();
    void ListFiles();
    void ReportScreen();
    // The Trash that holds the folder (or the folder itself), through the Trash purge.
    void PurgeTrash(const std::string& folder);

    FrmReport& ReportWindow();
    bool ReportWindowShown() const;
    FrmPurgeConfirmation& ConfirmationWindow();
    FrmConfirmFiles& ConfirmFilesWindow();

  private:
    // The checks before any operation; false after telling why not.
    bool TargetStillThere(const std::string& title);
    OperationChoices Snapshot() const;
    void RunOnWorker(const std::function<void()>& work);
    bool AskListQuestions(const OperationChoices& choices, bool& listFolders);
    void AfterPurge(std::int32_t purgedFiles);
    bool ConfirmPurge(const std::string& message, const std::string& yesCaption,
                      PurgeOptions& options);
    FileConfirmation ConfirmFile(const std::string& fileText);
    void SetMainWindowEnabled(bool enabled);
    void ShowCaption(const std::string& caption);

    FrmMain& main_;
    Dialogs& dialogs_;
    GuiBridge& bridge_;
    OperationControl& control_;
    OperationChoices running_;       // the choices of the operation in hand
    PurgeOptions lastPurgeOptions_;  // as confirmed for the purge in hand
    bool operationRunning_ = false;
    QPointer<FrmReport> report_;
    QPointer<FrmPurgeConfirmation> confirmation_;
    QPointer<FrmConfirmFiles> confirmFiles_;
};

}  // namespace vorlane
