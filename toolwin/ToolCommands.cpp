#include "toolwin/ToolCommands.h"

#include <QEvent>
#include <QLabel>

#include "engine/DriveInfo.h"
#include "operation/FreeSpaceTexts.h"
#include "operation/SpeedTestCommand.h"
#include "support/ProgramText.h"

namespace vorlane {
namespace {

constexpr int kDocumentationAddressText = 27;
constexpr char kHelpFileName[] = "vn_help.txt";
// The viewer's place relative to the main window, 15 twips to the pixel.
constexpr int kViewerBelow = 450 / 15;
constexpr int kViewerRight = 150 / 15;

// The target's display, hidden while a tool uses the main window's labels.
const char* const kSelectionDisplay[] = {
    "lblSingleFile",     "lblDirectory_0",     "lblFiles_0",       "lblFiles2_0",
    "lblSubdirectories", "lblSubdirectories2", "lblEstimatedTime", "lblDateRestriction"};

const char* const kSetupButtons[] = {"cmdLoadSetup", "cmdSaveSetup", "cmdClearSetup",
                                     "cmdRestoreSetup", "cmdKeepSetup"};

// The labels of the subfolder purge that can hold several lines.
const char* const kNotices[] = {"lblLargePurgeMessage", "lblPurgeFoldersMessage",
                                "lblSubdirectories2"};

// The worker's reports that these commands use: its progress line and a purge's progress.
ReportSinks ProgressOnly(std::function<void(const std::string&)> showProgress,
                         std::function<void(const PurgeProgress&)> purgeProgress) {
    ReportSinks sinks;
    sinks.showProgress = std::move(showProgress);
    sinks.purgeProgress = std::move(purgeProgress);
    return sinks;
}

}  // namespace

ToolCommands::ToolCommands(MainWindow& main, Dialogs& dialogs)
    : main_(main),
      dialogs_(dialogs),
      bridge_(dialogs, ProgressOnly(
                           [this](const std::string& text) {
                               if (progressLabel_ != nullptr) {
                                   *progressLabel_ = text;
                                   main_.Refresh();
                               }
                           },
                           [this](const PurgeProgress& progress) {
                               // A late delivery after the command ended shows nothing.
                               if (work_.Busy()) {
                                   ProgressWindow().ShowProgress(progress);
                               }
                           })),
      subfolders_(
          main.State(), dialogs, main.Control(), bridge_,
          SubfolderPurgeHooks{.chooseSubfolders =
                                  [this](const std::string& top, const std::string& caption,
                                         const std::vector<std::string>& previous) {
                                      main_.EnableMenu(false);
                                      PlaceSubfolderWindow();
                                      SubfolderChoice choice =
                                          SubfolderWindow().Choose(top, caption, previous);
                                      main_.EnableMenu(true);
                                      return choice;
                                  },
                              .runOnWorker =
                                  [this](std::function<void()> work, std::function<void()> then) {
                                      RunOnWorker(std::move(work), std::move(then));
                                  },
                              .showCommandArea = [this](bool shown) { main_.EnableMenu(shown); },
                              .refresh = [this] { main_.Refresh(); }}),
      setups_(main.State(), dialogs) {
    main.installEventFilter(this);
    LetNoticesWrap();
    connect(&work_, &BackgroundWork::Finished, this, [this] {
        if (!work_.Busy() && commandEnded_) {
            std::exchange(commandEnded_, nullptr)();
        }
    });
    setups_.fileDialogClosed = [this] { main_.StartDialogGuard(); };
    main.WireCommand("cmdSpecifyDirectory_1", [this] { PurgeFolders(); });
    main.WireCommand("cmdTestPurgeSpeed", [this] { TestPurgeSpeed(); });
    main.WireCommand("cmdPurgeFreeSpace", [this] { PurgeFreeSpace(); });
    main.WireCommand(
        "cmdHelp", [this] { Help(); }, false);
    WireSetupPanel();
}

ToolCommands::~ToolCommands() {
    bridge_.Close();
}

bool ToolCommands::eventFilter(QObject* watched, QEvent* event) {
    // The main window closes only to end the program: a worker waiting for an answer
    // gets Cancel now, before the program waits for the worker.
    if (watched == &main_ && event->type() == QEvent::Close) {
        bridge_.Close();
    }
    return QObject::eventFilter(watched, event);
}

std::string ToolCommands::Caption(const char* button) const {
    return main_.Button(button)->text().toStdString();
}

void ToolCommands::RunOnWorker(std::function<void()> work, std::function<void()> then) {
    progressLabel_ = &main_.State().labels.purgeFoldersMessage;
    work_.Start(std::move(work), [this, then = std::move(then)] {
        progressLabel_ = nullptr;
        then();
    });
}

void ToolCommands::WhenCommandEnds(std::function<void()> ended) {
    if (work_.Busy()) {
        commandEnded_ = std::move(ended);
    } else {
        ended();
    }
}

void ToolCommands::ShowSelectionDisplay(bool shown, bool keepSubfoldersLine) {
    if (!shown) {
        main_.State().labels.setupFilename.clear();
        main_.Refresh();
    }
    for (const char* label : kSelectionDisplay) {
        main_.Label(label)->setVisible(shown);
    }
    // The subfolder purge tells there what it is purging.
    main_.Label("lblSubdirectories2")->setVisible(shown || keepSubfoldersLine);
    main_.Button("cmdClear")->setVisible(shown);
}

void ToolCommands::LetNoticesWrap() {
    for (const char* name : kNotices) {
        QLabel* notice = main_.Label(name);
        notice->setWordWrap(true);
        // The height it was given is the least; more lines make it higher.
        notice->setMinimumHeight(notice->minimumHeight());
        notice->setMaximumHeight(QWIDGETSIZE_MAX);
    }
}

FolderPurgeProgressWindow& ToolCommands::ProgressWindow() {
    if (!progressWindow_) {
        progressWindow_ = new FolderPurgeProgressWindow(main_.Control(), &main_);
    }
    return *progressWindow_;
}

void ToolCommands::PurgeFolders() {
    ShowSelectionDisplay(false, true);
    ProgressWindow().Reset();
    ProgressWindow().move(main_.frameGeometry().bottomLeft());
    subfolders_.PurgeFolders(Caption("cmdSpecifyDirectory_1"));
    WhenCommandEnds([this] {
        ProgressWindow().Reset();
        ShowSelectionDisplay(true);
        main_.Refresh();
    });
}

std::string ToolCommands::ChooseDriveToTest(const std::string& title) {
    std::string first;
    platform::DriveKind kind = platform::DriveKind::Unknown;
    const int drives = DriveCount(first, kind);
    if (drives == 0) {
        dialogs_.Ask({"Cannot find any disk drive.", title, MessageButtons::Ok, 1,
                      MessageIcon::Exclamation});
        return {};
    }
    if (!AskYesNo(dialogs_, SpeedTestQuestion(drives, first), title)) {
        return {};
    }
    if (drives == 1) {
        return first;
    }
    main_.EnableMenu(false);
    const std::string drive = DriveWindow().Choose(
        lastTestedDrive_.empty() ? first : lastTestedDrive_, "Test purge speed on which drive?");
    main_.EnableMenu(true);
    return drive;
}

void ToolCommands::TestPurgeSpeed() {
    const std::string title = Caption("cmdTestPurgeSpeed");
    MainState& state = main_.State();
    state.labels.largePurgeMessage.clear();
    const std::string drive = ChooseDriveToTest(title);
    if (drive.empty()) {
        return;
    }
    lastTestedDrive_ = drive;
    const PurgeTypeChoice& type = state.purgeType;
    SpeedTestSettings settings{type.GetPurgeType(), type.GetNumberOfPasses(),
                               type.GetNumOverwrites(),
                               [this] { return main_.Control().StopRequested(); }};
    main_.Control().Reset();
    main_.EnableMenu(false);
    ShowSelectionDisplay(false);
    progressLabel_ = &state.labels.purgeSpeed;
    work_.Start<SpeedTestOutcome>(
        [this, drive, settings, title] {
            return MeasureDriveSpeed(drive, settings, speeds_, bridge_, title);
        },
        [this](const SpeedTestOutcome& outcome) {
            progressLabel_ = nullptr;
            ShowSelectionDisplay(true);
            main_.EnableMenu(true);
            main_.State().labels.purgeSpeed = outcome.label;
            main_.Refresh();
        });
}

SubfolderSelectionWindow& ToolCommands::SubfolderWindow() {
    if (!subfolderWindow_) {
        subfolderWindow_ = new SubfolderSelectionWindow(dialogs_, &main_);
    }
    return *subfolderWindow_;
}

void ToolCommands::PlaceSubfolderWindow() {
    const QRect menu = main_.Menu()->geometry();
    SubfolderWindow().setGeometry(main_.x() + 105 / 15, main_.y() + menu.top() + 330 / 15,
                                  std::max(main_.width() - 100 / 15, 500), 420);
}

DriveSelectionWindow& ToolCommands::DriveWindow() {
    return DriveWindowBelow("cmdTestPurgeSpeed");
}

DriveSelectionWindow& ToolCommands::DriveWindowBelow(const char* command) {
    if (!driveWindow_) {
        driveWindow_ = new DriveSelectionWindow(&main_);
    }
    const QPoint corner = main_.Menu()->mapToGlobal(QPoint(main_.Menu()->width(), 0));
    driveWindow_->move(corner + QPoint(150 / 15, main_.Button(command)->y() + 450 / 15));
    return *driveWindow_;
}

void ToolCommands::PurgeFreeSpace() {
    // Always the chooser, also for one volume: a fill takes a whole volume's space, so
    // the person sees which one before the confirmation names it again.
    main_.EnableMenu(false);
    DriveSelectionWindow& chooser = DriveWindowBelow("cmdPurgeFreeSpace");
    const std::string drive =
        chooser.Choose(lastFreeSpaceDrive_, std::string(kFreeSpaceTitle) + " on which drive?");
    main_.EnableMenu(true);
    if (drive.empty()) {
        if (!chooser.DrivesFound()) {
            dialogs_.Ask({"Cannot find any disk drive.", kFreeSpaceTitle, MessageButtons::Ok, 1,
                          MessageIcon::Exclamation});
        }
        return;
    }
    lastFreeSpaceDrive_ = drive;
    FreeSpaceChoices choices;
    choices.drive = drive;
    main_.Reports().PurgeFreeSpace(choices);
}

TextViewWindow& ToolCommands::ViewWindow() {
    if (!viewWindow_) {
        viewWindow_ = new TextViewWindow(dialogs_, &main_);
        connect(viewWindow_->DocumentationButton(), &QPushButton::clicked, this,
                [this] { OpenOnlineDocumentation(); });
    }
    return *viewWindow_;
}

void ToolCommands::Help() {
    TextViewWindow& view = ViewWindow();
    if (view.isMinimized()) {
        view.showNormal();
    } else {
        view.setGeometry(main_.x() + kViewerRight, main_.y() + kViewerBelow, main_.width(),
                         main_.height());
    }
    view.SetFilePath(ProgramTextPath(kHelpFileName));
    view.setWindowTitle(QStringLiteral("Help for Vorlane"));
    view.show();
    view.raise();
    view.activateWindow();
}

void ToolCommands::OpenOnlineDocumentation() {
    OpenWebLink(GetText(kDocumentationAddressText), dialogs_, opener);
}

void ToolCommands::ShowSetupButtons(bool shown) {
    for (const char* name : kSetupButtons) {
        main_.Button(name)->setVisible(shown);
    }
}

void ToolCommands::OpenSetupPanel() {
    main_.Label("lblSetupFilename")->hide();
    main_.EnableMenu(false);
    ShowSetupButtons(true);
    main_.SaveSetupPanel()->hide();
    main_.SetupPanel()->show();
    main_.SetupPanel()->setEnabled(true);
    main_.Button("cmdSaveSetup")->setFocus();
}

void ToolCommands::OpenSaveSetupPanel() {
    // The setup buttons give way to the save choices.
    ShowSetupButtons(false);
    main_.SaveSetupPanel()->show();
    main_.Button("cmdSaveSetupForNextRun")->setFocus();
}

void ToolCommands::CloseSetupPanel(bool focusSetup) {
    main_.SaveSetupPanel()->hide();
    main_.SetupPanel()->hide();
    ShowSetupButtons(true);
    main_.Label("lblSetupFilename")->show();
    main_.Label("lblSetupFilename")->raise();
    main_.EnableMenu(true);
    if (focusSetup) {
        main_.Button("cmdSetup")->setFocus();
    }
}

void ToolCommands::WireSetupPanel() {
    main_.WireCommand("cmdSetup", [this] { OpenSetupPanel(); });
    main_.WireCommand(
        "cmdLoadSetup",
        [this] {
            main_.SetupPanel()->hide();
            const bool loaded = setups_.LoadSetup();
            CloseSetupPanel(loaded);
        },
        false);
    main_.WireCommand(
        "cmdSaveSetup", [this] { OpenSaveSetupPanel(); }, false);
    main_.WireCommand(
        "cmdSaveSetupForNextRun",
        [this] {
            setups_.SaveSetupForNextRun();
            CloseSetupPanel();
        },
        false);
    main_.WireCommand(
        "cmdSaveSetupAsOperationFile",
        [this] {
            main_.SetupPanel()->hide();
            setups_.SaveSetupAsOperationFile();
            CloseSetupPanel(false);
        },
        false);
    main_.WireCommand(
        "cmdDontSaveSetup", [this] { CloseSetupPanel(); }, false);
    main_.WireCommand(
        "cmdClearSetup",
        [this] {
            setups_.ClearSetup();
            CloseSetupPanel();
        },
        false);
    main_.WireCommand(
        "cmdRestoreSetup",
        [this] {
            setups_.RestoreSetup();
            CloseSetupPanel();
        },
        false);
    main_.WireCommand(
        "cmdKeepSetup", [this] { CloseSetupPanel(); }, false);
}

}  // namespace vorlane
