#pragma once
// The purge's progress on a terminal, as shred -v shows it: the file, the pass and
// the share done, on one line of standard error that is redrawn in place about five
// times a second and taken off the screen before anything else is written. The share
// of a pass is measured by the bytes the process has written since the pass began.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace vorlane::cli {

class ProgressLine {
  public:
    // Without `enabled` nothing is ever drawn. mayDraw is asked (under the line's
    // lock) before each drawing: false while standard output is in mid-line.
    ProgressLine(bool enabled, int overwritesPerPass, std::function<bool()> mayDraw);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // A pass of a file begins; pass 0: no file in hand.
    void StartPass(const std::string& path, int pass, int passes, std::int64_t bytes);
    // A plain status instead of a file's progress; empty takes it away.
    void SetStatus(const std::string& text);
    // Runs write with the line off the screen; the line comes back at the next tick.
    void WithLineCleared(const std::function<void()>& write);

  private:
    void Tick();
    std::string TextLocked() const;
    void DrawLocked();
    void ClearLocked();

    bool enabled_;
    int overwritesPerPass_;
    std::function<bool()> mayDraw_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool ending_ = false;
    bool shown_ = false;
    std::string status_;
    std::string path_;
    int pass_ = 0;
    int passes_ = 0;
    std::int64_t bytes_ = 0;
    std::int64_t writtenAtPassStart_ = 0;
    std::thread ticker_;
};

}  // namespace vorlane::cli
