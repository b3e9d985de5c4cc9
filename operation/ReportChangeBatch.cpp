#include "operation/ReportChangeBatch.h"

#include <algorithm>

namespace vorlane {

bool ReportChangeBatch::Open() {
    if (open_) {
        return false;
    }
    open_ = true;
    pending_ = {reportBytes_, {}};
    return true;
}

bool ReportChangeBatch::Append(std::string_view piece) {
    std::lock_guard lock(mutex_);
    const bool opened = Open();
    pending_.tail.append(piece);
    reportBytes_ += piece.size();
    return opened;
}

bool ReportChangeBatch::ReplaceTail(std::size_t keptBytes, std::string_view tail) {
    std::lock_guard lock(mutex_);
    const bool opened = Open();
    if (keptBytes >= pending_.keptBytes) {
        // Only text of this batch is taken back.
        pending_.tail.resize(std::min(pending_.tail.size(), keptBytes - pending_.keptBytes));
    } else {
        pending_.keptBytes = keptBytes;
        pending_.tail.clear();
    }
    pending_.tail.append(tail);
    reportBytes_ = pending_.keptBytes + pending_.tail.size();
    return opened;
}

ReportChangeBatch::Change ReportChangeBatch::Take() {
    std::lock_guard lock(mutex_);
    Change taken = std::move(pending_);
    pending_ = {reportBytes_, {}};
    open_ = false;
    return taken;
}

}  // namespace vorlane
