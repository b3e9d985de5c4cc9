#pragma once
// Gathers the report changes an operation sends from its thread until the window's
// thread takes them, so that a purge of many small files costs the window one update
// per turn of its event loop, not one per file. Appends and rewritten tails fold into
// one change: the window keeps its first keptBytes bytes and adds the tail.

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

namespace vorlane {

class ReportChangeBatch {
  public:
    struct Change {
        std::size_t keptBytes = 0;
        std::string tail;
    };

    // shownBytes: how long the window's text is when the operation starts.
    explicit ReportChangeBatch(std::size_t shownBytes = 0) : reportBytes_(shownBytes) {}

    // From the operation's thread. True when this change opened a new batch: the
    // caller then asks the window's thread to Take it.
    bool Append(std::string_view piece);
    bool ReplaceTail(std::size_t keptBytes, std::string_view tail);
    // From the window's thread: what changed since the last Take (keptBytes equals
    // the window's length when nothing was taken back).
    Change Take();

  private:
    bool Open();

    std::mutex mutex_;
    bool open_ = false;
    std::size_t reportBytes_;  // the operation's report length after the last change
    Change pending_;
};

}  // namespace vorlane
