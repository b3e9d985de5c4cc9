#pragma once
// The report text as the report window holds it, with the edits the operations make
// at its end. Lengths are counted in characters (code points of the UTF-8 text),
// since the buffer limit is a number of characters.

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlane {

inline constexpr std::string_view kCrLf = "\r\n";

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
    // Drops the last count characters (all when there are fewer).
    void DropLastCharacters(std::size_t count);
    // Keeps the first byteLength bytes.
    void Truncate(std::size_t byteLength);
    // Drops everything after the last occurrence of marker; false when there is none.
    bool CutAfterLast(std::string_view marker);
    // Drops trailing characters with a code of 32 or less.
    void TrimTrailingBlanks();

  private:
    std::string text_;
    std::size_t characters_ = 0;
};

}  // namespace vorlane
