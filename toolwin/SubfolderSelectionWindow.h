#pragma once
// The choice of subfolders: one check box per subfolder with a description of its
// contents, a page of rows at a time with a scroll bar, select and deselect all, and a
// summary line. Rows that cannot be checked (empty or unreadable folders) stay unchecked.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <vector>

#include "selection/Dialogs.h"
#include "selection/SubfolderPurgeCommand.h"
#include "tools/SubfolderSelection.h"

namespace vorlane {

class SubfolderSelectionWindow : public QDialog {
    Q_OBJECT

  public:
    explicit SubfolderSelectionWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    // Reads the top folder's subfolders when shown, checks the previous selection, and
    // returns what was accepted.
    SubfolderChoice Choose(const std::string& topFolder, const std::string& caption,
                           const std::vector<std::string>& previousSelection);

    int rowsPerPage = 11;
    bool noSizes = false;

    // For tests and the main window: the state as it is now.
    const std::vector<SubfolderEntry>& Entries() const { return entries_; }
    const std::vector<QCheckBox*>& Rows() const { return rows_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QLabel* Summary() const { return subfolderCountLabel_; }
    QPushButton* AcceptButton() const { return acceptButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QPushButton* SelectAllButton() const { return selectAll_; }
    QPushButton* DeselectAllButton() const { return deselectAll_; }
    bool Busy() const { return busy_; }

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void ReadFolder();
    void ShowRows();
    void ShowPage(int first);
    void RowClicked(int row, bool checked);
    void SetAll(bool checked);
    void UpdateSummary();
    void Finish(bool accepted);
    void RemoveRows();

    Dialogs& dialogs_;
    std::string topFolder_;
    std::string caption_;
    std::vector<std::string> previous_;
    std::vector<SubfolderEntry> entries_;
    std::vector<QCheckBox*> rows_;
    int first_ = 0;
    bool busy_ = false;
    bool stop_ = false;
    bool accepted_ = false;
    bool finishing_ = false;

    QWidget* subfolderPanel_ = nullptr;
    QLabel* reading_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QLabel* subfolderCountLabel_ = nullptr;
    QPushButton* selectAll_ = nullptr;
    QPushButton* deselectAll_ = nullptr;
    QPushButton* acceptButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace vorlane
