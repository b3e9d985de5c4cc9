#pragma once
// The report window: the running report of a purge or listing, Pause/Continue and
// Stop between files, Close, and the copy to the clipboard. Its buttons only set the
// operation's flags; the operation's thread sends the text as changes.

#include <QWidget>
#include <optional>
#include <string>

#include "mainwin/PurgeProgressPanel.h"
#include "operation/OperationControl.h"
#include "operation/OperationInterface.h"
#include "operation/ReportChangeBatch.h"
#include "selection/Dialogs.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vorlane {

class ReportWindow : public QWidget {
    Q_OBJECT

  public:
    // dialogs: where "Save as..." asks for the file and tells of a failure.
    ReportWindow(OperationControl& control, QWidget* parent, Dialogs& dialogs);

    // A new operation: the buttons of its running phase; dots: a listing that shows
    // progress marks instead of folder names.
    void StartOperation(const QString& caption, bool purging, bool dots);
    void ApplyChange(const ReportChangeBatch::Change& change);
    // From the operation. Its Paused is ignored: the buttons already follow the clicks.
    void ShowPhase(ReportPhase phase, const std::string& pausedDone);
    // The operation ended: the whole report goes to the clipboard.
    void Finished();
    // While the per-file question shows, Pause and Stop are out of reach.
    void SetFileQuestionShowing(bool showing);
    // What the operation in it does; the title, with the share done while a purge runs.
    void SetCaption(const QString& caption);
    // A new operation: no progress shown until its purge reports some.
    void ResetProgress();
    // How far the purge has come: the bar, the line under it and the title.
    void ShowProgress(const PurgeProgress& progress);
    // The operation's own words under the bar while it runs; empty: the figures again.
    void ShowProgressText(const QString& text) { progress_->ShowText(text); }
    // The operation has ended: the figures stay, the title loses the share.
    void EndProgress();
    // The operation ended before it began (nothing to list, a No): the buttons of an
    // ended operation over the report as it was.
    void ShowNothingRan();
    // From the start of the report, nothing selected: the copy takes the whole report.
    void ShowFromStart();
    // A question over it was answered: the window comes back in front of its owner.
    void BringToFront();

    bool HasReport() const { return !text_.empty(); }
    // The report as the window holds it (line breaks as the operation wrote them).
    const std::string& ReportText() const { return text_; }
    QPushButton* Button(const char* objectName) const;
    QPlainTextEdit* TextBox() const { return reportText_; }
    QProgressBar* ProgressBar() const { return progress_->Bar(); }
    QLabel* ProgressLabel() const { return progress_->Line(); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void PauseContinue();
    void StopClicked();
    void CloseClicked();
    void CopyToClipboard();
    void SaveAs();
    void ShowButtons(ReportPhase phase, const std::string& pausedDone = {});
    void ShowCopyCaption(bool textSelected);
    void ShowTitle(std::optional<int> percent);

    OperationControl& control_;
    Dialogs& dialogs_;
    std::string text_;
    bool purging_ = false;
    bool dots_ = false;
    ReportPhase phase_ = ReportPhase::Ended;
    QPlainTextEdit* reportText_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* saveAsButton_ = nullptr;
    QCheckBox* keepReports_ = nullptr;
    QLabel* pausedDoneLabel_ = nullptr;
    QLabel* dotsLabel_ = nullptr;
    PurgeProgressPanel* progress_ = nullptr;
    QString caption_;
};

// The report with line feeds only, as widgets and the clipboard take it.
QString ReportForDisplay(std::string_view text);

}  // namespace vorlane
