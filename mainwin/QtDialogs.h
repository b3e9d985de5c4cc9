#pragma once
// The real message boxes, open-file dialog and folder browser. After Close() nothing
// is shown any more: every question is answered Cancel (or No) and every dialog
// returns nothing, and a box that is open when Close() comes is closed that way.

#include <QPointer>
#include <QWidget>

#include "selection/Dialogs.h"

class QDialog;

namespace vorlane {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer Ask(const Question& question) override;
    std::string OpenFileName(const std::string& title) override;
    std::string OperationFileName(const std::string& title, bool forSaving) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::string ReportFileName(const std::string& title) override;

    void Close() override;
    bool Closed() const { return closed_; }

  private:
    int Run(QDialog& dialog);

    QPointer<QWidget> owner_;
    QPointer<QDialog> open_;
    bool closed_ = false;
};

// The answer that stands for "not answered" with these buttons.
MessageAnswer CancelAnswer(MessageButtons buttons);

}  // namespace vorlane
