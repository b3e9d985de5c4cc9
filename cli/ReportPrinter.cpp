#include "cli/ReportPrinter.h"

#include <algorithm>

#include "operation/ReportBuffer.h"

namespace vorlane::cli {
namespace {

// What the summary puts in place of trailing blanks and line breaks.
constexpr std::string_view kSummaryGap = "\n\n";
// The end of a file's line while its passes run.
constexpr std::string_view kFileInHand = "bytes) purging";
constexpr std::string_view kInHandSuffix = " purging";
// A full buffer keeps at least this many characters, cut back to a line end.
constexpr std::size_t kAlwaysKept = ReportBuffer::kCapacity + 1 - ReportBuffer::kGiveUp;

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The byte offset at which the last `count` characters of text begin, counted as the
// report buffer counts them.
std::size_t StartOfLast(std::string_view text, std::size_t count) {
    std::size_t at = text.size();
    while (count > 0 && at > 0) {
        --at;
        if (!IsContinuation(text[at])) {
            count -= std::min(count, ReportCharacters(text.substr(at, 1)));
        }
    }
    return at;
}

}  // namespace

// The end of the text that stays as it is whatever the operation still does.
std::size_t ReportPrinter::FinalEnd(std::string_view text) const {
    const std::string_view tail = text.substr(printedBytes_);
    const std::size_t total = printedCharacters_ + ReportCharacters(tail);
    const std::size_t held =
        total <= kAlwaysKept ? 0 : std::min(total - kAlwaysKept, ReportBuffer::kGiveUp);
    std::size_t end = printedBytes_ + StartOfLast(tail, held);
    // The line in hand may still change.
    const std::size_t lineEnd = text.substr(0, end).rfind('\n');
    end = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    // So may everything after the size of a file in hand, even past a line break that
    // a stop between its passes put there: its outcome cuts back to the size.
    const std::size_t inHand = tail.rfind(kFileInHand);
    if (inHand != std::string_view::npos) {
        end = std::min(end, printedBytes_ + inHand + kFileInHand.size() - kInHandSuffix.size());
    }
    // Trailing blanks stay only as far as the summary's gap repeats them.
    std::size_t blanks = text.size();
    while (blanks > 0 && static_cast<unsigned char>(text[blanks - 1]) <= ' ') {
        --blanks;
    }
    std::size_t same = 0;
    while (same < kSummaryGap.size() && blanks + same < text.size() &&
           text[blanks + same] == kSummaryGap[same]) {
        ++same;
    }
    return std::max(printedBytes_, std::min(end, blanks + same));
}

void ReportPrinter::PrintTo(std::string_view text, std::size_t end) {
    if (end <= printedBytes_ || end > text.size()) {
        return;
    }
    const std::string_view piece = text.substr(printedBytes_, end - printedBytes_);
    out_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    lastPrinted_ = piece.back();
    out_.flush();
    printedBytes_ = end;
    printedCharacters_ += ReportCharacters(piece);
}

bool ReportPrinter::WouldPrint(std::string_view text) const {
    return !holdAll_ && text.size() > printedBytes_ && FinalEnd(text) > printedBytes_;
}

void ReportPrinter::Update(std::string_view text) {
    if (WouldPrint(text)) {
        PrintTo(text, FinalEnd(text));
    }
}

void ReportPrinter::Finish(std::string_view text) {
    PrintTo(text, text.size());
}

}  // namespace vorlane::cli
