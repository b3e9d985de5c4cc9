#pragma once
// Wires the tools into the main window: "Purge folders" with the subfolder window (its
// F10 interrupt is the main window's), "Test purge speed" and "Purge free space" with the
// drive chooser, the setup panel, and Help with the viewer and the online documentation. The
// windows are created on first use and kept.

#include <QObject>
#include <QPointer>

#include "mainwin/BackgroundWork.h"
#include "mainwin/GuiBridge.h"
#include "mainwin/MainWindow.h"
#include "selection/SetupCommands.h"
#include "selection/SubfolderPurgeCommand.h"
#include "tools/SpeedTest.h"
#include "toolwin/DriveSelectionWindow.h"
#include "toolwin/FolderPurgeProgressWindow.h"
#include "toolwin/SubfolderSelectionWindow.h"
#include "toolwin/TextViewWindow.h"
#include "toolwin/WebLink.h"

namespace vorlane {

class ToolCommands : public QObject {
    Q_OBJECT

  public:
    // Lives no longer than the main window.
    ToolCommands(MainWindow& main, Dialogs& dialogs);
    ~ToolCommands() override;

    void PurgeFolders();
    void TestPurgeSpeed();
    void PurgeFreeSpace();
    void Help();
    void OpenOnlineDocumentation();

    SubfolderSelectionWindow& SubfolderWindow();
    DriveSelectionWindow& DriveWindow();
    // The chooser, placed below the command that opens it.
    DriveSelectionWindow& DriveWindowBelow(const char* command);
    TextViewWindow& ViewWindow();
    FolderPurgeProgressWindow& ProgressWindow();
    SubfolderPurgeCommand& Subfolders() { return subfolders_; }
    // Work of a command runs on the worker, or its continuation has yet to run.
    bool Busy() const { return work_.Busy(); }
    const DriveSpeedTable& Speeds() const { return speeds_; }
    // Tests put a stand-in for the desktop's opener here.
    UrlOpener opener;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PlaceSubfolderWindow();
    // The purge's notices grow with their lines instead of being cut.
    void LetNoticesWrap();
    // Hides (false) or shows again the target's labels while a tool runs.
    void ShowSelectionDisplay(bool shown, bool keepSubfoldersLine = false);
    // Asks, and offers the drives when there are several; empty when not to test.
    std::string ChooseDriveToTest(const std::string& title);
    void WireSetupPanel();
    void OpenSetupPanel();
    void OpenSaveSetupPanel();
    void CloseSetupPanel(bool focusSetup = true);
    void ShowSetupButtons(bool shown);
    void RunOnWorker(std::function<void()> work, std::function<void()> then);
    // Once the command and every work it started have ended: the display comes back.
    void WhenCommandEnds(std::function<void()> ended);
    std::string Caption(const char* button) const;

    MainWindow& main_;
    Dialogs& dialogs_;
    std::string* progressLabel_ = nullptr;  // where the worker's progress goes
    GuiBridge bridge_;
    SubfolderPurgeCommand subfolders_;
    SetupCommands setups_;
    DriveSpeedTable speeds_;
    std::string lastTestedDrive_;
    std::string lastFreeSpaceDrive_;
    QPointer<SubfolderSelectionWindow> subfolderWindow_;
    QPointer<DriveSelectionWindow> driveWindow_;
    QPointer<TextViewWindow> viewWindow_;
    QPointer<FolderPurgeProgressWindow> progressWindow_;
    std::function<void()> commandEnded_;
    // Last: destroyed first, it waits for the work in hand while the rest stands.
    BackgroundWork work_;
};

}  // namespace vorlane
