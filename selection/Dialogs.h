#pragma once
// The one door to message boxes, file dialogs and the folder browser. The windows
// show real ones; tests script the answers and record what was asked.

#include <string>

#include "operation/OperationInterface.h"

namespace vorlane {

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // A message box with the question's text, title, buttons, default button and icon.
    virtual MessageAnswer Ask(const Question& question) = 0;
    // The open-file dialog; the chosen path as chosen (links not resolved), or empty.
    virtual std::string OpenFileName(const std::string& title) = 0;
    // The dialog for an operation file (*.vns), to open or to save; the chosen path, or
    // empty. Saving asks no overwrite question of its own: the caller asks it.
    virtual std::string OperationFileName(const std::string& /*title*/, bool /*forSaving*/) {
        return {};
    }
    // The dialog that saves a report as a text file; the chosen path, or empty. The
    // dialog asks itself before it replaces a file.
    virtual std::string ReportFileName(const std::string& /*title*/) { return {}; }
    // The folder browser; the chosen folder, or empty when cancelled.
    virtual std::string BrowseForFolder(const std::string& title) = 0;
    // The program ends: an open dialog closes unanswered and nothing is shown any more.
    virtual void Close() {}
};

// A message with an OK button only.
inline void Tell(Dialogs& dialogs, const std::string& text, const std::string& title,
                 MessageIcon icon) {
    dialogs.Ask({text, title, MessageButtons::Ok, 1, icon});
}

inline bool AskYesNo(Dialogs& dialogs, const std::string& text, const std::string& title) {
    return dialogs.Ask({text, title, MessageButtons::YesNo, 1, MessageIcon::Question}) ==
           MessageAnswer::Yes;
}

}  // namespace vorlane
