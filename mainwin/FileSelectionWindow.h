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

class FileSelectionWindow : public QDialog {
    Q_OBJECT

  public:
    FileSelectionWindow(Dialogs& dialogs, QWidget* parent);

    // Shows the folder's files modally; action is the word the options begin with.
    FilesChoiceResult Choose(const std::string& folder, int fileCount, const std::string& action);
    bool SingleFileSelected() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Accept();
    // Selects the option that the text box belongs to.
    void ChooseOptionOf(const QObject* box);
    void FillFileList(const std::string& folder);
    FilesKind ChosenKind() const;

    Dialogs& dialogs_;
    QRadioButton* singleFileOption_ = nullptr;
    QRadioButton* allFilesOption_ = nullptr;
    QRadioButton* extensionOption_ = nullptr;
    QRadioButton* multipleFilesOption_ = nullptr;
    QListWidget* file_ = nullptr;
    QLineEdit* extensionEdit_ = nullptr;
    QLineEdit* fileSpecEdit_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    FilesChoiceResult result_;
};

}  // namespace vorlane
