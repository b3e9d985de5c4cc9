#include "operation/ReportBuffer.h"

#include <algorithm>

namespace vorlane {
namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::size_t Weight(char c) {
    if (IsContinuationByte(c)) {
        return 0;
    }
    return c == '\n' ? 2 : 1;
}

}  // namespace

std::size_t ReportCharacters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += Weight(c);
    }
    return count;
}

void ReportBuffer::Clear() {
    text_.clear();
    characters_ = 0;
    stableBytes_ = 0;
}

void ReportBuffer::Append(std::string_view piece) {
    text_.append(piece);
    characters_ += ReportCharacters(piece);
}

void ReportBuffer::Assign(std::string_view text) {
    Clear();
    Append(text);
}

void ReportBuffer::DropLastCharacters(std::size_t count) {
    std::size_t end = text_.size();
    while (count > 0 && end > 0) {
        do {
            --end;
        } while (end > 0 && IsContinuationByte(text_[end]));
        count -= std::min(count, Weight(text_[end]));
    }
    Truncate(end);
}

void ReportBuffer::Truncate(std::size_t byteLength) {
    if (byteLength >= text_.size()) {
        return;
    }
    characters_ -= ReportCharacters(std::string_view(text_).substr(byteLength));
    text_.resize(byteLength);
    stableBytes_ = std::min(stableBytes_, byteLength);
}

bool ReportBuffer::CutAfterLast(std::string_view marker) {
    const std::size_t at = text_.rfind(marker);
    if (at == std::string::npos) {
        return false;
    }
    Truncate(at + marker.size());
    return true;
}

void ReportBuffer::TrimTrailingBlanks() {
    std::size_t end = text_.size();
    while (end > 0 && static_cast<unsigned char>(text_[end - 1]) <= 32) {
        --end;
    }
    Truncate(end);
}

ReportBuffer::Change ReportBuffer::Publish() {
    Change change{stableBytes_, std::string_view(text_).substr(stableBytes_),
                  stableBytes_ == shownBytes_};
    shownBytes_ = stableBytes_ = text_.size();
    return change;
}

}  // namespace vorlane
