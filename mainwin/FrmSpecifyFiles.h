#pragma once
// The files window: a single file of the folder, all files, all files with one
// extension, or the files that match a specification.

#include <QDialog>

#include "selection/Dialogs.h"
#include "selection/FilesChoice.h"

class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace vorlane {

class FrmSpecifyFiles : public QDialog {
    Q_OBJECT

  public:
    FrmSpecifyFiles(Dialogs& dialogs, QWidget* parent);

    // Shows the folder's files modally; action is the word the options begin with.
    FilesChoiceResult Choose(const std::string& folder, int fileCount, const std::string& action);
    bool SingleFileSelected() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Accept();
    void FillFileList(const std::string& folder);
    FilesKind ChosenKind() const;

    Dialogs& dialogs_;
    QRadioButton* optSingleFile_ = nullptr;
    QRadioButton* optAllFiles_ = nullptr;
    QRadioButton* optExtension_ = nullptr;
    QRadioButton* optMultipleFiles_ = nullptr;
    QListWidget* file_ = nullptr;
    QLineEdit* txbExtension_ = nullptr;
    QLineEdit* txbFilespec_ = nullptr;
    QPushButton* cmdAccept_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    FilesChoiceResult result_;
};

}  // namespace vorlane
