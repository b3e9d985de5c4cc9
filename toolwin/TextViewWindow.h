#pragma once
// The read-only text viewer of the help file: the text, a copy button that copies the
// selection or the whole text, and a close button. The file is read when the window is
// shown after it was closed from its frame. A dialog that is not modal: a window of
// its own to a screen reader, over the main window.

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <string>

#include "selection/Dialogs.h"

namespace vorlane {

class TextViewWindow : public QDialog {
    Q_OBJECT

  public:
    explicit TextViewWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    void SetFilePath(const std::string& path) { filePath_ = path; }
    bool Loaded() const { return loaded_; }

    QPlainTextEdit* Text() const { return helpText_; }
    QPushButton* CopyButton() const { return copyButton_; }
    QPushButton* CloseButton() const { return closeButton_; }
    QPushButton* DocumentationButton() const { return documentationButton_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Load();
    void CopyToClipboard();

    Dialogs& dialogs_;
    std::string filePath_;
    bool loaded_ = false;
    QPlainTextEdit* helpText_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* documentationButton_ = nullptr;
};

}  // namespace vorlane
