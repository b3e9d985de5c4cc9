#pragma once
// The setup commands of the main window: load an operation file, save one, save the
// setup for the next run, clear the target, restore the target of the last loaded setup.
// The panel that holds their buttons is the window's; these change the state and ask
// through the dialogs.

#include <functional>
#include <string>

#include "selection/Dialogs.h"
#include "selection/MainState.h"

namespace vorlane {

class SetupCommands {
  public:
    SetupCommands(MainState& state, Dialogs& dialogs) : state_(state), dialogs_(dialogs) {}

    // Called as soon as a file dialog closes (starts the main window's guard second).
    std::function<void()> fileDialogClosed;

    // True after a successful load.
    bool LoadSetup();
    void SaveSetupAsOperationFile();
    void SaveSetupForNextRun();
    void ClearSetup();
    void RestoreSetup();

  private:
    void Tell(const std::string& text, const std::string& title);
    void ShowAll();

    MainState& state_;
    Dialogs& dialogs_;
};

}  // namespace vorlane
