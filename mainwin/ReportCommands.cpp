#include "mainwin/ReportCommands.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "mainwin/CommandButton.h"
#include "mainwin/FileConfirmationWindow.h"
#include "mainwin/PurgeConfirmationWindow.h"
#include "mainwin/ReportWindow.h"
#include "operation/FolderDeletionOffer.h"
#include "operation/PurgeCommands.h"
#include "operation/TrashPurge.h"
#include "selection/TargetDisplay.h"
#include "support/Folders.h"
#include "support/Strings.h"
#include "tools/DriveSpeeds.h"

namespace vorlane {
namespace {

constexpr const char* kListTitle = "List and estimate time";
// The report window sits beside the command frame, 15 twips to the pixel.
constexpr int kBesideMenu = 250 / 15;

}  // namespace

ReportCommands::ReportCommands(CommandHost& host, Dialogs& dialogs, GuiBridge& bridge,
                               OperationControl& control)
    : host_(host), dialogs_(dialogs), bridge_(bridge), control_(control) {}

ReportWindow& ReportCommands::Report() {
    if (!report_) {
        report_ = new ReportWindow(control_, &host_.HostWidget(), dialogs_);
    }
    return *report_;
}

bool ReportCommands::ReportShown() const {
    return report_ && report_->isVisible();
}

PurgeConfirmationWindow& ReportCommands::ConfirmationWindow() {
    if (!confirmation_) {
        confirmation_ = new PurgeConfirmationWindow(&host_.HostWidget());
    }
    return *confirmation_;
}

FileConfirmationWindow& ReportCommands::ConfirmFilesWindow() {
    if (!confirmFiles_) {
        // Over the report it asks about: closing it gives the report back the front.
        confirmFiles_ = new FileConfirmationWindow(&Report());
    }
    return *confirmFiles_;
}

ReportSinks ReportCommands::Sinks() {
    ReportSinks sinks;
    sinks.confirmPurge = [this](const std::string& message, const std::string& yesCaption,
                                PurgeOptions& options) {
        return ConfirmPurge(message, yesCaption, options);
    };
    sinks.confirmFile = [this](const std::string& text) { return ConfirmFile(text); };
    sinks.reportChanged = [this](const ReportChangeBatch::Change& change) {
        Report().ApplyChange(change);
    };
    sinks.showPhase = [this](ReportPhase phase, const std::string& pausedDone) {
        Report().ShowPhase(phase, pausedDone);
    };
    sinks.reportFinished = [this](const std::string&) { Report().Finished(); };
    sinks.showCaption = [this](const std::string& caption) { ShowCaption(caption); };
    sinks.purgeProgress = [this](const PurgeProgress& progress) {
        // A late delivery belongs to an operation that has ended.
        if (work_.Busy()) {
            Report().ShowProgress(progress);
        }
    };
    sinks.questionAnswered = [this] {
        if (report_) {
            report_->BringToFront();
        }
    };
    sinks.showProgress = [this](const std::string& text) {
        if (progressInReport_) {
            Report().ShowProgressText(QString::fromStdString(text));
            return;
        }
        host_.State().labels.largePurgeMessage = text;
        host_.Refresh();
    };
    return sinks;
}

OperationChoices ReportCommands::Snapshot() const {
    OperationChoices choices = ChoicesOf(host_.State());
    const std::string drive = DriveOfPath(choices.targetFolder);
    if (const float speed = StoredDriveSpeed(drive); speed > 0) {
        choices.drivePurgeSpeeds[drive] = speed;
    }
    return choices;
}

void ReportCommands::RunOnWorker(std::function<OperationResult()> work,
                                 std::function<void(const OperationResult&)> then) {
    host_.EnableMenu(false);
    control_.Reset();
    operationRunning_ = true;
    Report().ResetProgress();
    // What the worker sent last (caption, end phase, the finished report) was queued
    // before its result, so it is shown before the continuation runs.
    work_.Start<OperationResult>(std::move(work),
                                 [this, then = std::move(then)](const OperationResult& result) {
                                     operationRunning_ = false;
                                     Report().EndProgress();
                                     // Only now: the worker has ended, whatever ended it.
                                     host_.EnableMenu(true);
                                     if (then) {
                                         then(result);
                                     }
                                 });
}

bool ReportCommands::TargetStillThere(const std::string& title) {
    MainState& state = host_.State();
    if (!TargetSpecified(state)) {
        Tell(dialogs_, "No files specified.", "Error", MessageIcon::Exclamation);
        return false;
    }
    if (CheckTarget(Snapshot(), bridge_, title == "Purge files")) {
        return true;
    }
    // What no longer exists is no longer shown as the target.
    if ((state.singleFileTarget || !HasWildcard(state.choices.targetFilespec)) &&
        !FileExists(WithTrailingSeparator(state.choices.targetFolder) +
                    state.choices.targetFilespec)) {
        state.choices.targetFilespec.clear();
    } else if (!FolderIsDirectory(state.choices.targetFolder)) {
        state.choices.targetFolder.clear();
        state.choices.targetFilespec.clear();
    }
    ShowTarget(state);
    return false;
}

void ReportCommands::ShowCaption(const std::string& caption) {
    ReportWindow& report = Report();
    report.SetCaption(QString::fromStdString(caption));
    if (!report.isVisible()) {
        const QWidget* menu = host_.Menu();
        report.move(menu->mapToGlobal(QPoint(menu->width() + kBesideMenu, 0)));
        report.show();
    }
}

bool ReportCommands::ConfirmPurge(const std::string& message, const std::string& yesCaption,
                                  PurgeOptions& options) {
    const bool doNotDeleteBefore = options.doNotDeletePurgedFiles;
    host_.EnableMenu(false);
    const bool yes = ConfirmationWindow().Choose(message, yesCaption, running_.subdirectories,
                                                 DriveOfPath(running_.targetFolder), options);
    if (yes) {
        lastPurgeOptions_ = options;
        // The options stay for the next purge, except the one that must be ticked anew.
        host_.State().choices.options = options;
        host_.State().choices.options.doNotDeletePurgedFiles = doNotDeleteBefore;
    }
    return yes;
}

void ReportCommands::SetHostEnabled(bool enabled) {
    // Its own controls only: the windows it owns (report, question) stay usable.
    for (QWidget* child : host_.HostWidget().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow()) {
            child->setEnabled(enabled);
        }
    }
    host_.EnableMenu(enabled && !operationRunning_);
}

FileConfirmation ReportCommands::ConfirmFile(const std::string& fileText) {
    ReportWindow& report = Report();
    SetHostEnabled(false);
    report.SetFileQuestionShowing(true);
    const FileConfirmation answer = ConfirmFilesWindow().Choose(fileText, &report);
    report.SetFileQuestionShowing(false);
    SetHostEnabled(true);
    return answer;
}

void ReportCommands::PurgeFiles() {
    if (!TargetStillThere("Purge files")) {
        return;
    }
    running_ = Snapshot();
    lastPurgeOptions_ = running_.options;
    RunOnWorker([this, choices = running_] { return RunPurge(choices, bridge_, control_); },
                [this](const OperationResult& result) {
                    AfterPurge(result.ran ? result.state.purgedFileCount : 0);
                });
}

void ReportCommands::AfterPurge(std::int32_t purgedFiles) {
    MainState& state = host_.State();
    if (purgedFiles > 0 && !lastPurgeOptions_.doNotDeletePurgedFiles) {
        state.choices.targetFilespec.clear();  // the purged files are gone
        ShowTarget(state);
    }
    const std::string deleted =
        OfferFolderDeletion(state.choices.targetFolder,
                            [this](const Question& question) { return dialogs_.Ask(question); });
    if (!deleted.empty()) {
        state.labels.topLevelFolder = deleted;
    }
    ShowDateRestriction(state);
    if (report_) {
        report_->BringToFront();  // the question over the main window left it behind
    }
}

bool ReportCommands::AskListQuestions(const OperationChoices& choices, bool& listFolders) {
    listFolders = true;
    if (!choices.subdirectories) {
        return true;
    }
    const std::string drive = DriveOfPath(choices.targetFolder);
    const bool measured = DrivePurgeSpeed(choices, drive) > 0;
    if (!measured &&
        dialogs_.Ask({"The purge speed has not been measured for drive " + drive +
                          "\r\nFor an estimate of the purge time test the purge speed for this "
                          "drive then relist.\r\n\r\nDo you wish to list subfolders without "
                          "getting an estimate of purge time?",
                      kListTitle, MessageButtons::YesNoCancel, 1, MessageIcon::Question}) !=
            MessageAnswer::Yes) {
        return false;
    }
    const MessageAnswer suppress = dialogs_.Ask(
        {"Suppress display of folder names?", measured ? kListTitle : "List folder names?",
         MessageButtons::YesNoCancel, 1, MessageIcon::Question});
    listFolders = suppress == MessageAnswer::No;
    return suppress != MessageAnswer::Cancel;
}

void ReportCommands::ListFiles() {
    if (!TargetStillThere("List files")) {
        return;
    }
    running_ = Snapshot();
    bool listFolders = true;
    if (!AskListQuestions(running_, listFolders)) {
        return;
    }
    Report().StartOperation(Report().windowTitle(), false, running_.subdirectories && !listFolders);
    host_.State().labels.estimatedTime.clear();
    RunOnWorker([this, choices = running_,
                 listFolders] { return RunList(choices, bridge_, control_, listFolders); },
                [this](const OperationResult& result) {
                    if (result.ran) {
                        host_.State().labels.estimatedTime = result.state.estimatedTime;
                    } else {
                        Report().ShowNothingRan();
                    }
                    if (QPushButton* list = host_.Button("cmdProcessFiles_2")) {
                        list->setFocus();
                    }
                });
}

void ReportCommands::ReportScreen() {
    ReportWindow& report = Report();
    if (!report.HasReport()) {
        Tell(dialogs_, "Nothing to report!", "Report window", MessageIcon::None);
        return;
    }
    report.show();
    report.raise();
    report.ShowFromStart();
}

void ReportCommands::PurgeTrash(const std::string& folder) {
    running_ = Snapshot();
    // The folder itself: a folder inside the Trash purges only its own tree.
    RunOnWorker(
        [this, folder, choices = running_] {
            vorlane::PurgeTrash(folder, choices, bridge_, control_);
            return OperationResult{};
        },
        {});
}

void ReportCommands::PurgeFreeSpace(const FreeSpaceChoices& choices) {
    // A fill runs for minutes: its speed and time left belong beside its Pause and Stop.
    progressInReport_ = true;
    RunOnWorker(
        [this, choices] {
            vorlane::PurgeFreeSpace(choices, bridge_, control_);
            return OperationResult{};
        },
        [this](const OperationResult&) { progressInReport_ = false; });
}

}  // namespace vorlane
