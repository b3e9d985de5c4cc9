#pragma once
// The main window: the command frame on the left, the target and the choices on the
// right. It shows the state that the selection logic keeps and forwards its commands
// to it; the windows it opens are created once and reused.

#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <map>

#include "mainwin/ChoiceWindowSet.h"
#include "mainwin/CommandButton.h"
#include "mainwin/GuiBridge.h"
#include "mainwin/ReportCommands.h"
#include "operation/OperationControl.h"
#include "selection/MainState.h"
#include "selection/TargetCommands.h"

namespace vorlane {

class MainWindow : public QWidget {
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

    MainState& State() { return state_; }
    TargetCommands& Commands() { return commands_; }
    ChoiceWindowSet& Windows() { return windows_; }
    OperationControl& Control() { return control_; }
    GuiBridge& Bridge() { return bridge_; }
    ReportCommands& Reports() { return reportCommands_; }
    bool DialogGuard() const { return dialogGuard_; }
    bool Quitting() const { return quitting_; }

    CommandButton* Button(const QString& objectName) const;
    QLabel* Label(const QString& objectName) const;
    QFrame* Menu() const { return menuFrame_; }

    void EnableMenu(bool enabled);
    // Gives a command button its handler in place of the one it has (the tool windows
    // plug their commands in this way).
    void SetCommand(const QString& objectName, const std::function<void()>& command,
                    bool guarded = true);
    QFrame* SetupPanel() const { return setupFrame_; }
    QFrame* SaveSetupPanel() const { return saveSetupPanel_; }
    // Commands are ignored for a second after a file dialog closes.
    void StartDialogGuard();
    // Shows the state's labels.
    void Refresh();
    // Ends the program: closes every window, answers any pending question with
    // Cancel, stops a running operation and waits for it.
    void Quit();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    CommandButton* AddCommand(const QString& name, const QString& caption,
                              CommandButton::Fires fires);
    void BuildControls();
    void ArrangeControls();
    void WireCommands();
    // Runs a command unless the guard second after a file dialog is on.
    void Guarded(CommandButton* button, const std::function<void()>& command, bool guarded = true);
    void NotReady(CommandButton* button, bool guarded);
    void PlaceNearMenu(QWidget& window);

    MainState state_;
    Dialogs& dialogs_;
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
    QFrame* setupFrame_ = nullptr;
    QFrame* saveSetupPanel_ = nullptr;
    std::map<QString, CommandButton*> buttons_;
    std::map<QString, QLabel*> labels_;
};

}  // namespace vorlane
