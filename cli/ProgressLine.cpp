#include "cli/ProgressLine.h"

#include <algorithm>
#include <chrono>
#include <iostream>

#include "platform/Terminal.h"
#include "support/Strings.h"

namespace vorlane::cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(200);
// Overwrites cover whole clusters; without knowing the cluster, a page is close.
constexpr std::int64_t kRoundTo = 4096;

// The end of text, cut at a character boundary to fit `width` bytes.
std::string LastBytes(const std::string& text, std::size_t width) {
    if (text.size() <= width) {
        return text;
    }
    std::size_t start = text.size() - width;
    while (start < text.size() && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
        ++start;
    }
    return text.substr(start);
}

}  // namespace

ProgressLine::ProgressLine(bool enabled, int overwritesPerPass, std::function<bool()> mayDraw)
    : enabled_(enabled),
      overwritesPerPass_(std::max(overwritesPerPass, 1)),
      mayDraw_(std::move(mayDraw)) {
    if (enabled_) {
        ticker_ = std::thread([this] { Tick(); });
    }
}

ProgressLine::~ProgressLine() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
        ClearLocked();
    }
    wake_.notify_all();
    if (ticker_.joinable()) {
        ticker_.join();
    }
}

void ProgressLine::StartPass(const std::string& path, int pass, int passes, std::int64_t bytes) {
    if (!enabled_) {
        return;
    }
    const std::int64_t written = platform::BytesWrittenByProcess().value_or(0);
    std::lock_guard lock(mutex_);
    path_ = ShownName(path);
    pass_ = pass;
    passes_ = passes;
    bytes_ = bytes;
    writtenAtPassStart_ = written;
    if (pass == 0) {
        ClearLocked();
    }
}

void ProgressLine::SetStatus(const std::string& text) {
    if (!enabled_) {
        return;
    }
    std::lock_guard lock(mutex_);
    status_ = text;
    if (text.empty()) {
        ClearLocked();
    } else {
        DrawLocked();
    }
}

void ProgressLine::WithLineCleared(const std::function<void()>& write) {
    std::lock_guard lock(mutex_);
    ClearLocked();
    write();
}

void ProgressLine::Tick() {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, kRedrawInterval, [this] { return ending_; })) {
        if (!status_.empty() || pass_ > 0) {
            DrawLocked();
        }
    }
}

std::string ProgressLine::TextLocked() const {
    if (pass_ == 0) {
        return status_;
    }
    const std::int64_t perPass =
        std::max<std::int64_t>((bytes_ + kRoundTo - 1) / kRoundTo * kRoundTo, 1) *
        overwritesPerPass_;
    const std::int64_t written =
        platform::BytesWrittenByProcess().value_or(0) - writtenAtPassStart_;
    const double passShare = std::clamp(static_cast<double>(written) / perPass, 0.0, 1.0);
    const int percent = static_cast<int>(100.0 * (pass_ - 1 + passShare) / passes_);
    return path_ + ": pass " + std::to_string(pass_) + "/" + std::to_string(passes_) + ", " +
           std::to_string(percent) + "%";
}

void ProgressLine::DrawLocked() {
    if (!mayDraw_()) {
        return;
    }
    const int columns = platform::TerminalColumns(platform::kStandardError);
    const std::size_t width = columns > 1 ? static_cast<std::size_t>(columns - 1) : 79;
    // Carriage return, the text, and "erase to the end of the line".
    std::cerr << '\r' << LastBytes(TextLocked(), width) << "\x1b[K" << std::flush;
    shown_ = true;
}

void ProgressLine::ClearLocked() {
    if (shown_) {
        std::cerr << "\r\x1b[K" << std::flush;
        shown_ = false;
    }
}

}  // namespace vorlane::cli
