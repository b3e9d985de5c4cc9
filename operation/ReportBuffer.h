#pragma once
// The report text as the report window holds it, with the edits the operations make
// at its end. Lengths are counted in characters (code points of the UTF-8 text),
// since the buffer limit is a number of characters. A line break counts as two: the
// limits were set for a text whose lines end in CR LF, and where the buffer fills, and
// what a cut takes back, stay where they always were.
//
// The buffer also remembers how much of its text the person has been shown and how
// much of that still stands, so that a window is sent only what changed: an append,
// or a new tail after the last few characters were rewritten (pass indicator).

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlane {

// Reports and messages end their lines with LF alone; only setup files keep CR LF.
inline constexpr std::string_view kLineBreak = "\n";

// The length of a piece of report text as the buffer's limits count it.
std::size_t ReportCharacters(std::string_view text);

class ReportBuffer {
  public:
    // More than this many characters fill the buffer.
    static constexpr std::size_t kCapacity = 61440;
    // What a full buffer gives up from its end.
    static constexpr std::size_t kGiveUp = 1024;

    const std::string& Text() const { return text_; }
    std::size_t Characters() const { return characters_; }
    bool Empty() const { return text_.empty(); }

    void Clear();
    void Append(std::string_view piece);
    void Assign(std::string_view text);
    // Drops the last count characters (all when there are fewer); a line break that
    // straddles the count goes too.
    void DropLastCharacters(std::size_t count);
    // Keeps the first byteLength bytes.
    void Truncate(std::size_t byteLength);
    // Drops everything after the last occurrence of marker; false when there is none.
    bool CutAfterLast(std::string_view marker);
    // Drops trailing characters with a code of 32 or less.
    void TrimTrailingBlanks();

    // What changed since the last Publish: the first keptBytes bytes of the text the
    // person saw still stand, and tail follows them. appended: nothing was taken back.
    struct Change {
        std::size_t keptBytes = 0;
        std::string_view tail;
        bool appended = true;
        bool Empty() const { return appended && tail.empty(); }
    };
    // Marks the whole text as shown and returns what the person has not seen yet.
    Change Publish();

  private:
    std::string text_;
    std::size_t characters_ = 0;
    // Bytes the person has been shown; unknown at first, so that the first text shown
    // replaces whatever an earlier report left in the window.
    std::size_t shownBytes_ = std::string::npos;
    std::size_t stableBytes_ = 0;  // of those, the bytes no edit has touched since
};

}  // namespace vorlane
