#pragma once
// Everything an operation needs from the person in front of it. The windows answer
// on the GUI thread while the operation waits on its worker; the terminal and the
// tests answer directly. Nothing here may call back into the operation except
// through OperationControl.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "operation/FileRecord.h"
#include "operation/OperationChoices.h"

namespace vorlane {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Exclamation, Question, Critical };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct Question {
    std::string text;
    std::string title;
    MessageButtons buttons = MessageButtons::Ok;
    int defaultButton = 1;  // 1-based, in the order the buttons are named
    MessageIcon icon = MessageIcon::None;
};

// The four answers of the per-file confirmation.
enum class FileConfirmation { Yes, No, YesToAll, StopPurge };

// Which buttons the report window shows; the table of the report window follows it.
// The operation sends Paused when it starts to wait at a checkpoint; a window whose
// buttons already follow the person's clicks may ignore it.
enum class ReportPhase { PurgeRunning, ListingRunning, Paused, Stopped, Ended };

// How far a purge has come, for a progress bar and its line. A total of 0 is not known.
struct PurgeProgress {
    std::int64_t filesDone = 0;  // files whose purge ended, purged or not
    std::int64_t filesTotal = 0;
    std::int64_t bytesDone = 0;  // of the files' data: what the overwrites wrote, per overwrite
    std::int64_t bytesTotal = 0;
    int pass = 0;  // the pass being written, counted from 1; 0 before the first write
    int passes = 0;

    bool operator==(const PurgeProgress&) const = default;
};

class OperationInterface {
  public:
    virtual ~OperationInterface() = default;

    virtual MessageAnswer Ask(const Question& question) = 0;
    // The purge confirmation: shows the message and the options, which the person may
    // change; true only on an explicit Yes.
    virtual bool ConfirmPurge(const std::string& message, const std::string& yesCaption,
                              PurgeOptions& options) = 0;
    // fileText: lower-cased path, size and date, as the confirmation window shows it.
    virtual FileConfirmation ConfirmFile(const std::string& fileText) = 0;
    // The report grew by piece (a new report starts with an empty text).
    virtual void AppendReport(std::string_view piece) = 0;
    // The end of the report was rewritten: its first keptBytes bytes, as shown so
    // far, stand and tail follows them. keptBytes 0 starts the text anew.
    virtual void ReplaceReportTail(std::size_t keptBytes, std::string_view tail) = 0;
    // pausedDone: "Paused", "Stopped", "Done" or empty.
    virtual void ShowPhase(ReportPhase phase, std::string_view pausedDone) = 0;
    // A finished report: the window copies it to the clipboard.
    virtual void ReportFinished(std::string_view text) = 0;
    // True where every line is passed on as it comes and nothing has to be held, as on
    // a terminal or in a log: the report then never fills. A window holds its report
    // and keeps it bounded.
    virtual bool KeepsWholeReport() const { return false; }
    // The report window's caption: what the operation in it does.
    virtual void ShowCaption(std::string_view /*caption*/) {}
    // The main window's progress line for work that writes no report.
    virtual void ShowProgress(std::string_view /*text*/) {}
    // The finished report could not be kept on disk: said once, never as a question,
    // since the operation itself went as its report says.
    virtual void ReportNotKept(std::string_view text) { ShowProgress(text); }
    // A pass over a file of `bytes` bytes begins; pass 0: the file is done.
    virtual void ShowPassProgress(const std::string& /*path*/, int /*pass*/, int /*passes*/,
                                  std::int64_t /*bytes*/) {}
    // After every write run and every file of a purge, from the operation's thread: a
    // window must coalesce these, a few a second are all a person can see.
    virtual void ShowPurgeProgress(const PurgeProgress& /*progress*/) {}
    // Once per file whose purge ended (purged, failed or left alone by a rule) and per
    // file a listing found, from the operation's thread, in the report's order.
    virtual void FileEnded(const FileRecord& /*record*/) {}
};

}  // namespace vorlane
