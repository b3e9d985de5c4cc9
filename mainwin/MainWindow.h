#pragma once
// The main window: the command frame on the left, the target and the choices on the
// right. It shows the state that the selection logic keeps and forwards its commands
// to it; the windows it opens are created once and reused.

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <map>
#include <set>

#include "mainwin/ChoiceWindowSet.h"
#include "mainwin/CommandButton.h"
#include "mainwin/CommandHost.h"
#include "mainwin/GuiBridge.h"
#include "mainwin/ReportCommands.h"
#include "operation/OperationControl.h"
#include "selection/MainState.h"
#include "selection/RefreshingDialogs.h"
#include "selection/TargetCommands.h"

namespace vorlane {

class CommandRows;

// A real top-level window (a frame to a screen reader), its controls on one central widget.
class MainWindow : public QMainWindow, public CommandHost {
    Q_OBJECT

  public:
    // dialogs: the real ones, or a script in tests; it must outlive the window.
    explicit MainWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Sets the defaults, shows the window, loads the setup for the next run and shows
    // the choices (the program texts are loaded before).
    void StartUp();
    // A file or folder named on the command line.
    void OpenPath(const std::string& path);

    QWidget& HostWidget() override { return *this; }
    MainState& State() override { return state_; }
    TargetCommands& Commands() { return commands_; }
    ChoiceWindowSet& Windows() { return windows_; }
    OperationControl& Control() { return control_; }
    GuiBridge& Bridge() { return bridge_; }
    ReportCommands& Reports() { return reportCommands_; }
    bool DialogGuard() const { return dialogGuard_; }
    bool Quitting() const { return quitting_; }

    CommandButton* Button(const QString& objectName) const override;
    QLabel* Label(const QString& objectName) const;
    QFrame* Menu() const override { return menuFrame_; }

    void EnableMenu(bool enabled) override;
    // Gives a command button its handler. The window wires its own commands; the tool
    // windows wire theirs once, through this. A button keeps its first handler: false
    // when it already had one.
    bool WireCommand(const QString& objectName, const std::function<void()>& command,
                     bool guarded = true);
    QFrame* SetupPanel() const { return setupFrame_; }
    QFrame* SaveSetupPanel() const { return saveSetupPanel_; }
    // Commands are ignored for a second after a file dialog closes.
    void StartDialogGuard();
    // Shows the state's labels.
    void Refresh() override;
    // Ends the program: closes every window, answers any pending question with
    // Cancel, stops a running operation and waits for it.
    void Quit();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    CommandButton* AddCommand(const QString& name, const QString& caption,
                              CommandButton::Fires fires);
    void BuildControls();
    // Ties each value label to its command for a screen reader: the command's
    // accessible description is the texts beside it.
    void DescribeCommands();
    void ArrangeControls();
    void WireCommands();
    // Runs a command unless the guard second after a file dialog is on.
    void Guarded(CommandButton* button, const std::function<void()>& command, bool guarded = true);
    void PlaceNearMenu(QWidget& window);

    MainState state_;
    Dialogs& dialogs_;
    // What the commands ask through: the labels are shown first.
    RefreshingDialogs refreshingDialogs_;
    ChoiceWindowSet windows_;
    TargetCommands commands_;
    OperationControl control_;
    GuiBridge bridge_;
    ReportCommands reportCommands_;
    QTimer clock1_;
    QTimer clock2_;
    bool dialogGuard_ = false;
    bool quitting_ = false;

    QFrame* menuFrame_ = nullptr;
    CommandRows* rows_ = nullptr;
    QFrame* setupFrame_ = nullptr;
    QFrame* saveSetupPanel_ = nullptr;
    std::map<QString, CommandButton*> buttons_;
    std::set<QString> wired_;  // the buttons that have their handler
    std::map<QString, QLabel*> labels_;
};

}  // namespace vorlane
