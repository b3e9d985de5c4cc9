#include "mainwin/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "mainwin/CommandRows.h"
#include "mainwin/DateInputWindow.h"
#include "mainwin/InterruptKeyFilter.h"
#include "mainwin/WindowAccessibility.h"
#include "mainwin/WindowLook.h"
#include "selection/TargetDisplay.h"
#include "support/ProgramText.h"

namespace vorlane {

namespace {

constexpr int kProductNameText = 2;
constexpr int kButtonHeight = 28;
constexpr int kButtonWidth = 170;
constexpr int kLeastRowsWidth = 620;
// Between the two labels of one row.
constexpr int kLabelSpacing = 300 / 15;
constexpr int kRowSpacing = 4;
constexpr int kMenuMargin = 8;
constexpr int kClockMilliseconds = 1000;
// Offsets of the choice windows from the command frame, 15 twips to the pixel.
constexpr int kBesideMenu = 250 / 15;
constexpr int kBelowCommand = 420 / 15;

using Fires = CommandButton::Fires;

struct CommandSpec {
    const char* name;
    const char* caption;
    Fires fires;
};

// The command frame, top to bottom.
constexpr CommandSpec kMenuCommands[] = {
    {"cmdSingleFile", "Single file", Fires::OnMouseUp},
    {"cmdSpecifyDirectory_0", "Specify folder", Fires::OnMouseUp},
    {"cmdSpecifyFiles_0", "Specify files", Fires::OnMouseUp},
    {"cmdSubdirectories", "Subfolders?", Fires::OnMouseUp},
    {"cmdOnlyBefore", "Only files before ...", Fires::OnMouseUp},
    {"cmdTypeOfPurge", "Type of purge", Fires::OnMouseUp},
    {"cmdProcessFiles_1", "Purge files", Fires::OnMouseUp},
    {"cmdProcessFiles_2", "List and estimate time", Fires::OnMouseUp},
    {"cmdSpecifyDirectory_1", "Purge folders", Fires::OnMouseUp},
    {"cmdTestPurgeSpeed", "Test purge speed", Fires::OnClick},
    // Alt+F: the one mnemonic of the frame. A click, as a push button fires: no stray
    // right-click starts a fill of a whole volume.
    {"cmdPurgeFreeSpace", "Purge &free space", Fires::OnClick},
    {"cmdReportScreen", "Report", Fires::OnMouseUp},
    {"cmdSetup", "Setup", Fires::OnMouseUp},
    {"cmdHelp", "Help", Fires::OnMouseUp},
    {"cmdClear", "Clear", Fires::OnClick},
    {"cmdQuit", "Quit", Fires::OnMouseUp},
};

constexpr CommandSpec kSetupCommands[] = {
    {"cmdLoadSetup", "Load setup", Fires::OnClick},
    {"cmdSaveSetup", "Save setup", Fires::OnClick},
    {"cmdClearSetup", "Clear setup", Fires::OnClick},
    {"cmdRestoreSetup", "Restore setup", Fires::OnClick},
    {"cmdKeepSetup", "Keep setup", Fires::OnClick},
};

constexpr CommandSpec kSaveSetupCommands[] = {
    {"cmdSaveSetupAsOperationFile", "Save as operation file", Fires::OnClick},
    {"cmdSaveSetupForNextRun", "Save for next run", Fires::OnClick},
    {"cmdDontSaveSetup", "Don't save", Fires::OnClick},
};

// The labels beside the command frame, by the command they belong to.
struct LabelRow {
    const char* command;
    const char* first;
    const char* second;
};

constexpr LabelRow kLabelRows[] = {
    {"cmdSingleFile", "lblSingleFile", nullptr},
    {"cmdSpecifyDirectory_0", "lblDirectory_0", nullptr},
    {"cmdSpecifyFiles_0", "lblFiles_0", "lblFiles2_0"},
    {"cmdSubdirectories", "lblSubdirectories", "lblSubdirectories2"},
    {"cmdOnlyBefore", "lblDateRestriction", nullptr},
    {"cmdTypeOfPurge", "lblTypeOfPurge", nullptr},
    {"cmdProcessFiles_1", "lblPurgeSpeed", nullptr},
    {"cmdProcessFiles_2", "lblEstimatedTime", nullptr},
    {"cmdSpecifyDirectory_1", "lblTopLevelFolder", nullptr},
    {"cmdTestPurgeSpeed", "lblPurgeFoldersMessage", nullptr},
    {"cmdReportScreen", "lblLargePurgeMessage", nullptr},
    {"cmdSetup", "lblSetupFilename", nullptr},
};

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      refreshingDialogs_(dialogs, [this] { Refresh(); }),
      windows_(
          this, refreshingDialogs_, [this](bool enabled) { EnableMenu(enabled); },
          [this](QWidget& window) { PlaceNearMenu(window); }),
      commands_(state_, refreshingDialogs_, windows_),
      bridge_(refreshingDialogs_),
      reportCommands_(*this, refreshingDialogs_, bridge_, control_) {
    setObjectName("frmMain");
    ExposeTopLevelWidgetsAsFrames();
    bridge_.SetSinks(reportCommands_.Sinks());
    BuildControls();
    WireCommands();
    commands_.fileDialogClosed = [this] { StartDialogGuard(); };
    commands_.purgeTrash = [this](const std::string& folder) {
        reportCommands_.PurgeTrash(folder);
    };
    // On the application, so that F10 is seen whichever control has the focus.
    QApplication::instance()->installEventFilter(new InterruptKeyFilter(*this, control_));
    // Both clocks run from the creation of the window; Clock2's first tick ends the
    // guard once, one second after start-up.
    clock1_.setParent(this);
    clock2_.setParent(this);
    clock1_.setObjectName("Clock1");
    clock2_.setObjectName("Clock2");
    clock1_.setInterval(kClockMilliseconds);
    clock2_.setInterval(kClockMilliseconds);
    connect(&clock1_, &QTimer::timeout, this, [this] {
        if (DateInputWindow* dateWindow = windows_.ExistingDateWindow()) {
            dateWindow->Tidy();
        }
    });
    connect(&clock2_, &QTimer::timeout, this, [this] {
        dialogGuard_ = false;
        clock2_.stop();
    });
    clock1_.start();
    clock2_.start();
}

MainWindow::~MainWindow() {
    bridge_.Close();
    control_.Close();
}

CommandButton* MainWindow::AddCommand(const QString& name, const QString& caption, Fires fires) {
    auto* button = new CommandButton(name, caption, fires, this);
    FitButtonHeight(*button, kButtonHeight);
    buttons_[name] = button;
    return button;
}

void MainWindow::BuildControls() {
    setCentralWidget(new QWidget(this));
    centralWidget()->setObjectName("mainArea");
    menuFrame_ = new QFrame(centralWidget());
    menuFrame_->setObjectName("fraMenu");
    menuFrame_->setFrameShape(QFrame::StyledPanel);
    menuFrame_->setAccessibleName("Commands");
    rows_ = new CommandRows(centralWidget());
    rows_->setObjectName("commandRows");
    setupFrame_ = new QFrame(rows_);
    setupFrame_->setObjectName("fraSetup");
    setupFrame_->setAccessibleName("Setup");
    saveSetupPanel_ = new QFrame(setupFrame_);
    saveSetupPanel_->setObjectName("picSaveSetup");
    saveSetupPanel_->setAccessibleName("Save setup");
    for (const CommandSpec& spec : kMenuCommands) {
        CommandButton* command = AddCommand(spec.name, spec.caption, spec.fires);
        command->setParent(menuFrame_);
        // The given width, or what the caption needs in a larger font.
        command->setMinimumWidth(std::max(kButtonWidth, command->sizeHint().width()));
    }
    for (const CommandSpec& spec : kSetupCommands) {
        AddCommand(spec.name, spec.caption, spec.fires)->setParent(setupFrame_);
    }
    for (const CommandSpec& spec : kSaveSetupCommands) {
        AddCommand(spec.name, spec.caption, spec.fires)->setParent(saveSetupPanel_);
    }
    for (const LabelRow& row : kLabelRows) {
        for (const char* name : {row.first, row.second}) {
            if (name) {
                labels_[name] = NamedLabel(name, QString(), rows_);
            }
        }
    }
    for (const char* notice : {"lblPurgeSpeed", "lblSubdirectories2", "lblLargePurgeMessage"}) {
        MakeNoticeLabel(*labels_[notice]);
    }
    // No label beside it says what it does.
    buttons_["cmdPurgeFreeSpace"]->setAccessibleDescription(
        "Overwrites the free space of a volume, where deleted files still lie");
    // Clear is the one command of the frame that does not follow the mouse.
    buttons_["cmdClear"]->SetFocusOnHover([] { return false; });
    // The report button takes the focus only while no report window lies over it.
    buttons_["cmdReportScreen"]->SetFocusOnHover([this] { return !reportCommands_.ReportShown(); });
    setupFrame_->hide();
    saveSetupPanel_->hide();
}

void MainWindow::ArrangeControls() {
    auto* menuLayout = new QVBoxLayout(menuFrame_);
    menuLayout->setContentsMargins(kMenuMargin, kMenuMargin, kMenuMargin, kMenuMargin);
    menuLayout->setSpacing(kRowSpacing);
    for (const CommandSpec& spec : kMenuCommands) {
        menuLayout->addWidget(buttons_[spec.name]);
    }
    menuLayout->addStretch();

    // Each row of labels beside its command (the table above); the setup panel beside
    // Setup, in front of the setup's name, which it hides while it shows.
    for (const LabelRow& row : kLabelRows) {
        auto* cell = new QWidget(rows_);
        cell->setObjectName(QString("row_%1").arg(row.first));
        auto* cellLayout = new QHBoxLayout(cell);
        cellLayout->setContentsMargins(0, 0, 0, 0);
        cellLayout->setSpacing(kLabelSpacing);
        cellLayout->addWidget(labels_[row.first], 0, Qt::AlignVCenter);
        if (row.second) {
            cellLayout->addWidget(labels_[row.second], 0, Qt::AlignVCenter);
        }
        cellLayout->addStretch();
        rows_->AddRow(buttons_[row.command], cell);
    }

    auto* setupLayout = new QVBoxLayout(setupFrame_);
    setupLayout->setContentsMargins(0, 0, 0, 0);
    setupLayout->setSpacing(kRowSpacing);
    auto* setupButtons = new QHBoxLayout;
    for (const CommandSpec& spec : kSetupCommands) {
        setupButtons->addWidget(buttons_[spec.name]);
    }
    setupButtons->addStretch();
    setupLayout->addLayout(setupButtons);
    auto* saveLayout = new QHBoxLayout(saveSetupPanel_);
    saveLayout->setContentsMargins(0, 0, 0, 0);
    for (const CommandSpec& spec : kSaveSetupCommands) {
        saveLayout->addWidget(buttons_[spec.name]);
    }
    saveLayout->addStretch();
    setupLayout->addWidget(saveSetupPanel_);
    setupLayout->addStretch();
    rows_->AddRow(buttons_["cmdSetup"], setupFrame_);
    // In front of the row of the setup's name, which would take its clicks.
    setupFrame_->raise();

    auto* main = new QHBoxLayout(centralWidget());
    main->addWidget(menuFrame_, 0, Qt::AlignTop);
    main->addWidget(rows_, 1);
    // Not a minimum of the whole window: that would let the rows be narrower than the
    // setup panel's buttons at a larger font.
    rows_->SetLeastWidth(kLeastRowsWidth);
}

void MainWindow::Guarded(CommandButton* button, const std::function<void()>& command,
                         bool guarded) {
    connect(button, &CommandButton::fired, this, [this, command, guarded] {
        if (guarded && dialogGuard_) {
            return;
        }
        command();
        Refresh();
    });
}

bool MainWindow::WireCommand(const QString& objectName, const std::function<void()>& command,
                             bool guarded) {
    if (!wired_.insert(objectName).second) {
        return false;
    }
    Guarded(buttons_.at(objectName), command, guarded);
    return true;
}

void MainWindow::WireCommands() {
    auto caption = [this](const char* name) { return buttons_.at(name)->text().toStdString(); };
    WireCommand("cmdSingleFile", [=, this] { commands_.SingleFile(caption("cmdSingleFile")); });
    WireCommand("cmdSpecifyDirectory_0",
                [=, this] { commands_.SpecifyFolder(caption("cmdSpecifyDirectory_0")); });
    WireCommand("cmdSpecifyFiles_0",
                [=, this] { commands_.SpecifyFiles(caption("cmdSpecifyFiles_0")); });
    WireCommand("cmdSubdirectories", [this] { commands_.Subdirectories(); });
    WireCommand(
        "cmdOnlyBefore", [=, this] { commands_.OnlyBefore(caption("cmdOnlyBefore")); }, false);
    WireCommand("cmdTypeOfPurge", [this] { commands_.TypeOfPurge(); });
    WireCommand(
        "cmdClear", [=, this] { commands_.Clear(caption("cmdClear")); }, false);
    WireCommand("cmdQuit", [this] { Quit(); });
    WireCommand("cmdProcessFiles_1", [this] { reportCommands_.PurgeFiles(); });
    WireCommand("cmdProcessFiles_2", [this] { reportCommands_.ListFiles(); });
    WireCommand("cmdReportScreen", [this] { reportCommands_.ReportScreen(); });
    // "Purge folders", "Test purge speed", "Help" and the setup buttons belong to the
    // tool windows, which wire them (ToolCommands).
}

CommandButton* MainWindow::Button(const QString& objectName) const {
    const auto found = buttons_.find(objectName);
    return found == buttons_.end() ? nullptr : found->second;
}

QLabel* MainWindow::Label(const QString& objectName) const {
    const auto found = labels_.find(objectName);
    return found == labels_.end() ? nullptr : found->second;
}

void MainWindow::StartUp() {
    state_.startupCompleted = false;
    setWindowTitle(QString::fromStdString(GetText(kProductNameText)));
    ResetState(state_);
    ShowTypeOfPurge(state_);
    ArrangeControls();
    show();
    LoadSetupForNextRun(state_);
    ShowTarget(state_);
    ShowTypeOfPurge(state_);
    buttons_["cmdSpecifyDirectory_0"]->setFocus();
    state_.startupCompleted = true;
    ShowTarget(state_);
    ShowSubfoldersChoice(state_);
    ShowDateRestriction(state_);
    Refresh();
}

void MainWindow::OpenPath(const std::string& path) {
    commands_.OpenPath(path);
    Refresh();
}

void MainWindow::Refresh() {
    const MainLabels& text = state_.labels;
    const std::pair<const char*, const std::string*> shown[] = {
        {"lblDirectory_0", &text.directory},
        {"lblFiles_0", &text.files},
        {"lblFiles2_0", &text.filesDescription},
        {"lblSubdirectories", &text.subdirectories},
        {"lblSubdirectories2", &text.subdirectories2},
        {"lblSingleFile", &text.singleFile},
        {"lblDateRestriction", &text.dateRestriction},
        {"lblTypeOfPurge", &text.typeOfPurge},
        {"lblPurgeSpeed", &text.purgeSpeed},
        {"lblEstimatedTime", &text.estimatedTime},
        {"lblLargePurgeMessage", &text.largePurgeMessage},
        {"lblPurgeFoldersMessage", &text.purgeFoldersMessage},
        {"lblSetupFilename", &text.setupFilename},
        {"lblTopLevelFolder", &text.topLevelFolder},
    };
    for (const auto& [name, value] : shown) {
        labels_[name]->setText(ShownText(*value));
    }
    DescribeCommands();
}

void MainWindow::DescribeCommands() {
    // A screen reader says the command, then what it has chosen: "Specify folder,
    // /home/u/Letters". Not a label's buddy: a buddy makes "&" in a folder's name a
    // keyboard shortcut and hides it.
    for (const LabelRow& row : kLabelRows) {
        QStringList said;
        for (const char* name : {row.first, row.second}) {
            if (name && !labels_[name]->isHidden() && !labels_[name]->text().isEmpty()) {
                said << labels_[name]->text();
            }
        }
        buttons_[row.command]->setAccessibleDescription(said.join(", "));
    }
}

void MainWindow::EnableMenu(bool enabled) {
    menuFrame_->setEnabled(enabled);
}

void MainWindow::StartDialogGuard() {
    dialogGuard_ = true;
    clock2_.start();
}

void MainWindow::PlaceNearMenu(QWidget& window) {
    const QPoint corner = menuFrame_->mapToGlobal(QPoint(menuFrame_->width(), 0));
    window.move(corner + QPoint(kBesideMenu, kBelowCommand));
}

void MainWindow::Quit() {
    if (quitting_) {
        return;
    }
    quitting_ = true;
    dialogs_.Close();
    bridge_.Close();
    control_.Close();
    clock1_.stop();
    clock2_.stop();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible()) {
            window->close();
        }
    }
    close();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing the window always ends the program, guard second or not.
    Quit();
    event->accept();
}

}  // namespace vorlane
