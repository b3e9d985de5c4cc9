#pragma once
// The read-only text viewer of the help file: the text, a copy button that copies the
// selection or the whole text, and a close button. The file is read when the window is
// shown after it was closed from its frame.

#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <string>

#include "selection/Dialogs.h"

namespace vorlane {

class FrmView : public QWidget {
    Q_OBJECT

  public:
    explicit FrmView(Dialogs& dialogs, QWidget* parent = nullptr);

    void SetFilePath(const std::string& path) { filePath_ = path; }
    bool Loaded() const { return loaded_; }

    QPlainTextEdit* Text() const { return txbText1_; }
    QPushButton* CopyButton() const { return cmdCopyToClipboard_; }
    QPushButton* CloseButton() const { return cmdClose_; }
    QPushButton* DocumentationButton() const { return cmdOnlineDocumentation_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Load();
    void CopyToClipboard();

    Dialogs& dialogs_;
    std::string filePath_;
    bool loaded_ = false;
    QPlainTextEdit* txbText1_ = nullptr;
    QPushButton* cmdCopyToClipboard_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QPushButton* cmdOnlineDocumentation_ = nullptr;
};

}  // namespace vorlane
