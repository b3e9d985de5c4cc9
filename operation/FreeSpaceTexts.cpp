#include "operation/FreeSpaceTexts.h"

#include <algorithm>

#include "engine/PurgeTypes.h"
#include "operation/EstimatedTimes.h"
#include "operation/ReportBuffer.h"
#include "platform/Platform.h"
#include "support/Strings.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

const std::string kLineEnd(kLineBreak);
const std::string kNamesStay =
    "Names of deleted files stay in the folders that held them: a fill does not reach them.";

std::string Bytes(std::uint64_t bytes) {
    return GroupedNumberText(static_cast<double>(bytes), 0) + " bytes";
}

std::string Reason(std::error_code error) {
    return platform::Platform::ErrorText(error);
}

std::string Megabytes(std::uint64_t bytes) {
    return GroupedNumberText(static_cast<double>(bytes) / kBytesPerMegabyte, 0);
}

double Speed(std::uint64_t bytes, double seconds) {
    return static_cast<double>(bytes) / kBytesPerMegabyte / std::max(seconds, 0.001);
}

}  // namespace

std::string FreeSpaceRefusalText(const std::string& volume, FreeSpaceRefusal why,
                                 std::error_code error) {
    const std::string start = "The free space of " + volume + " is not purged: ";
    switch (why) {
        case FreeSpaceRefusal::CannotOpen:
            return volume + " cannot be opened: " + Reason(error) + ".";
        case FreeSpaceRefusal::Pseudo:
            return start +
                   "it is a pseudo file system that the kernel makes up, with no "
                   "blocks on a device.";
        case FreeSpaceRefusal::InMemory:
            return start +
                   "it is held in memory (tmpfs or ramfs), so its free space is "
                   "memory, not blocks of a device.";
        case FreeSpaceRefusal::CopyOnWrite:
            return start +
                   "it is a copy-on-write or log-structured file system. Its snapshots and "
                   "its own log keep old blocks out of a fill's reach, and filling it can "
                   "fill its snapshots.";
        case FreeSpaceRefusal::Overlay:
            return start +
                   "it is an overlay (overlayfs), a union of folders of other volumes. Their "
                   "old blocks lie out of a fill's reach, and filling it fills them.";
        case FreeSpaceRefusal::NoSpaceInfo:
            return start + "its free space cannot be read: " + Reason(error) + ".";
        case FreeSpaceRefusal::NoFolder:
            return start + "no folder on it takes the fill's folder: " + Reason(error) + ".";
    }
    return start;
}

std::string FreeSpaceFillWords(int purgeType, int passes) {
    if (!IsValidPurgeType(purgeType)) {
        return "random bytes, " + std::to_string(passes) + (passes == 1 ? " pass" : " passes");
    }
    return PurgeTypeNumPasses(purgeType, passes);
}

std::string FreeSpaceConfirmationText(const std::string& volume, std::uint64_t freeBytes,
                                      const std::string& fillWords, float speed, int overwrites) {
    std::string text = "Purge the free space of the volume mounted at " + volume + "?\n\nIts " +
                       Bytes(freeBytes) + " of free space are filled with " + fillWords +
                       ", flushed to the device and released again.\n";
    if (speed > 0) {
        const double seconds =
            static_cast<double>(freeBytes) / kBytesPerMegabyte / speed * overwrites;
        text += "Estimated time: " + EstimateText(RoundToInt(seconds)) +
                " (at the measured purge speed of " + GroupedNumberText(speed, 2) + " MB/sec.).\n";
    } else {
        text += "The time cannot be estimated: the speed test has not measured this volume.\n";
    }
    return text + "\nWhile the volume is full, other programs may fail to write to it.\n" +
           "On an SSD or a flash drive the drive itself decides where writes land: blocks it "
           "keeps aside may still hold old data that no fill reaches.\n" +
           kNamesStay + "\n\nDo you wish to proceed?";
}

std::string FreeSpaceHeader(const std::string& volume, std::uint64_t freeBytes,
                            const std::string& fillWords, const std::string& fillFolder) {
    return "Purge of free space: " + volume + kLineEnd + "Free: " + Bytes(freeBytes) +
           "; filled with " + fillWords + kLineEnd + "Fill folder: " + fillFolder + kLineEnd +
           kLineEnd;
}

std::string FillLine(int overwrite, int overwrites, std::uint64_t writtenBytes, double seconds) {
    return "Fill " + std::to_string(overwrite) + " of " + std::to_string(overwrites) + ": " +
           Bytes(writtenBytes) + " written in " + GroupedNumberText(seconds, 1) + " seconds, " +
           GroupedNumberText(Speed(writtenBytes, seconds), 1) + " MB/sec.; removed." + kLineEnd;
}

std::string FillProgressText(std::uint64_t writtenBytes, std::uint64_t freeBytes, double seconds) {
    const double speed = Speed(writtenBytes, seconds);
    const double left = freeBytes > writtenBytes ? static_cast<double>(freeBytes - writtenBytes) /
                                                       kBytesPerMegabyte / std::max(speed, 0.001)
                                                 : 0;
    return "Filling: " + Megabytes(writtenBytes) + " of " + Megabytes(freeBytes) + " MB, " +
           GroupedNumberText(speed, 1) + " MB/s, " +
           (writtenBytes == 0 ? std::string("time left unknown")
                              : DurationText(RoundToInt(left), false, left >= 300) + " left");
}

std::string FillStoppedLine() {
    return "Stopped: the fill was removed at once, and its space is free again." + kLineEnd;
}

std::string FillFailedLine(std::error_code error) {
    return "The fill stopped: writing failed: " + Reason(error) +
           ". The fill was removed, and its space is free again." + kLineEnd;
}

std::string FillNotRemovedLine(const std::string& folder, std::error_code error) {
    return "The fill could not be removed: " + Reason(error) + ". Delete " + folder +
           " to free its space; the next start of Vorlane tries again." + kLineEnd;
}

std::string ReservedBytesLine(std::uint64_t reservedBytes) {
    return Bytes(reservedBytes) +
           " reserved for root stayed unreached; running as root reaches them." + kLineEnd;
}

std::string TrimLine(bool supported, std::error_code error, std::uint64_t trimmedBytes) {
    if (!supported) {
        return {};
    }
    if (!error) {
        return "The device was told which blocks are free (discard, FITRIM): " +
               Bytes(trimmedBytes) + "." + kLineEnd;
    }
    if (error == std::errc::operation_not_permitted) {
        return "The device takes discards; running as root tells it which blocks are free "
               "(FITRIM)." +
               kLineEnd;
    }
    return "The device was not told which blocks are free (FITRIM): " + Reason(error) + "." +
           kLineEnd;
}

std::string NamesStayLine() {
    return kNamesStay + kLineEnd;
}

}  // namespace vorlane
