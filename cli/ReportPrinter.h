#pragma once
// Puts a growing report on standard output so that the output ends up exactly the
// finished report (with LF line ends). The operation edits the end of its report:
// the pass indicator and " purging" are taken back, trailing blanks give way to the
// summary, and a full buffer gives up its last 1,024 characters and the partial line
// before them. So while the operation runs, only text that no such edit can reach is
// printed; the rest follows when the report is finished.

#include <cstddef>
#include <ostream>
#include <string_view>

namespace vorlane::cli {

class ReportPrinter {
  public:
    // holdAll: print nothing before the end (a listing whose progress marks give way
    // to the summary).
    ReportPrinter(std::ostream& out, bool holdAll) : out_(out), holdAll_(holdAll) {}

    // True when Update would print something of this text now.
    bool WouldPrint(std::string_view text) const;
    void Update(std::string_view text);
    void Finish(std::string_view text);
    // True when what was printed ends a line (or nothing was printed).
    bool AtLineStart() const { return lastPrinted_ == '\n' || lastPrinted_ == 0; }

  private:
    std::size_t FinalEnd(std::string_view text) const;
    void PrintTo(std::string_view text, std::size_t end);

    std::ostream& out_;
    bool holdAll_;
    std::size_t printedBytes_ = 0;
    std::size_t printedCharacters_ = 0;
    char lastPrinted_ = 0;
};

}  // namespace vorlane::cli
