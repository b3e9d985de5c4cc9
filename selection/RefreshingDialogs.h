#pragma once
// The dialogs of a window whose labels must be current while a dialog is open: a
// question about a folder is asked with that folder shown behind it. Runs `refresh`
// before every message box, file dialog and folder browser, then hands it on.

#include <functional>

#include "selection/Dialogs.h"

namespace vorlane {

class RefreshingDialogs : public Dialogs {
  public:
    RefreshingDialogs(Dialogs& dialogs, std::function<void()> refresh)
        : dialogs_(dialogs), refresh_(std::move(refresh)) {}

    MessageAnswer Ask(const Question& question) override;
    std::string OpenFileName(const std::string& title) override;
    std::string OperationFileName(const std::string& title, bool forSaving) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::string ReportFileName(const std::string& title) override;
    void Close() override;

  private:
    Dialogs& dialogs_;
    std::function<void()> refresh_;
};

}  // namespace vorlane
