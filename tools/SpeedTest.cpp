#include "tools/SpeedTest.h"

#include <fcntl.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/DriveInfo.h"
#include "engine/FileOperations.h"
#include "engine/FilePurge.h"
#include "platform/Platform.h"
#include "support/Folders.h"
#include "support/Strings.h"
#include "support/UserLocale.h"
#include "tools/DriveSpeeds.h"
#include "tools/DummyFolder.h"
#include "tools/SettingsStore.h"

namespace vorlane {
namespace {

using platform::Sys;

constexpr double kRequiredFreeBytes = kBytesPerMegabyte;
constexpr int kMinimumFiles = 5;  // a disk that fills up after more is still measured
constexpr int kSecondsPerDay = 86400;

std::string DriveText(const std::string& drive) {
    return "Drive " + drive;
}

std::string FreeSpaceMessage(const std::string& drive, double freeBytes) {
    std::string text =
        freeBytes <= 0
            ? "There is no free space on the disk in " + DriveText(drive) + "."
            : DriveText(drive) + " has only " + GroupedNumberText(freeBytes, 0) + " bytes free.";
    return text + "\nAt least 1 MB of free space is required for this test.";
}

std::string CreationFailedMessage(const std::string& drive) {
    return "An error occurred when creating the dummy files in the disk in " + DriveText(drive) +
           "\nfor the speed test.  Please repeat the test.";
}

// The folder a dummy folder goes in, held open, when it lies on the drive's volume.
platform::UniqueFd OpenBaseOn(const std::string& base, dev_t device) {
    platform::UniqueFd fd;
    platform::FileStatus status;
    if (base.empty() || Sys().OpenFolder(AT_FDCWD, base, fd, status) || status.device != device) {
        return {};
    }
    return fd;
}

// Writes the dummy files; false when too few could be made.
bool WriteDummyFiles(DummyFolder& folder, int wanted, double& bytes) {
    // Sizes of 50 KiB to 128 KiB in steps of 3 bytes, so that no two runs write alike.
    std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> step(0, 26624);
    int written = 0;
    while (written < wanted) {
        const int size = 51200 + 3 * step(generator);
        if (folder.AddFile(size)) {
            // A disk that fills up after a few files still gives a usable figure.
            return written > kMinimumFiles;
        }
        ++written;
        bytes += size;
    }
    return true;
}

// Purges every dummy file; false at the first failure.
bool PurgeDummyFiles(DummyFolder& folder, const SpeedTestSettings& settings, bool& stopped) {
    // One file at a time, each with all its passes, as a purge of large files goes; size
    // and times are left as the overwrite made them, which nothing needs back.
    FilePurger purger;
    const PurgeRequest request{.purgeType = settings.purgeType,
                               .passes = settings.numberOfPasses,
                               .okToPurgeReadOnly = true,
                               .okToPurgeSystem = true,
                               .keepGrownSize = true};
    PurgeHooks hooks;
    hooks.stopRequested = settings.stopRequested;
    const FileOutcome code = folder.PurgeFiles(purger, request, hooks);
    stopped = code == FileOutcome::Stopped || code == FileOutcome::PartlyOverwritten;
    return code == FileOutcome::Ok;
}

SpeedRun Failed(SpeedRunResult result, std::string message) {
    SpeedRun run;
    run.result = result;
    run.message = std::move(message);
    return run;
}

// Purges the written files and times the purge with the clean-up.
SpeedRun TimePurge(DummyFolder& folder, double bytes, const SpeedTestSettings& settings) {
    // Lets the writes of the dummy files settle so that they are not timed as well.
    Sys().SleepMilliseconds(1000);
    const double start = Sys().SecondsSinceMidnight();
    bool stopped = false;
    const bool purged = PurgeDummyFiles(folder, settings, stopped);
    folder.Remove();
    double seconds = Sys().SecondsSinceMidnight() - start;
    if (seconds < 0) {
        seconds += kSecondsPerDay;  // midnight passed
    }
    if (stopped) {
        return Failed(SpeedRunResult::Stopped, "");
    }
    if (!purged) {
        return Failed(SpeedRunResult::PurgeFailed,
                      "An error occurred when purging the dummy files.\nPlease repeat the test.");
    }
    SpeedRun run;
    run.bytes = bytes;
    run.seconds = seconds;
    run.speed = SpeedOfRun(bytes, settings.overwrites, seconds);
    return run;
}

std::string SecondsText(double seconds, bool wholeMinutes) {
    return DurationText(static_cast<std::int32_t>(std::lround(seconds)), false, wholeMinutes);
}

}  // namespace

float DriveSpeedTable::Update(const std::string& drive, float speed) {
    int& samples = samples_[drive];
    float& mean = speeds_[drive];
    mean = samples == 0
               ? speed
               : (static_cast<float>(samples) * mean + speed) / static_cast<float>(samples + 1);
    ++samples;
    return mean;
}

void DriveSpeedTable::Accept(const std::string& drive, float speed) {
    speeds_[drive] = speed;
}

void DriveSpeedTable::Clear(const std::string& drive) {
    speeds_.erase(drive);
    samples_.erase(drive);
}

float DriveSpeedTable::Speed(const std::string& drive) const {
    const auto found = speeds_.find(drive);
    return found == speeds_.end() ? 0.0F : found->second;
}

int DriveSpeedTable::Samples(const std::string& drive) const {
    const auto found = samples_.find(drive);
    return found == samples_.end() ? 0 : found->second;
}

int NumberOfDummyFiles(double totalBytes) {
    constexpr double kGigabyte = 1073741824.0;
    if (totalBytes < 5 * kGigabyte) {
        return 5;
    }
    return totalBytes < 50 * kGigabyte ? 10 : 20;
}

float SpeedOfRun(double bytes, int overwrites, double seconds) {
    constexpr double kShortest = 0.001;
    return static_cast<float>(bytes / kBytesPerMegabyte * overwrites /
                              std::max(seconds, kShortest));
}

bool CreateDummyFolder(const std::string& drive, DummyFolder& folder) {
    const dev_t device = Sys().StatNoFollow(drive).device;
    // A mount point the user may not write to (the root volume, mostly): a folder of the
    // user's own on the same volume serves as well.
    for (const std::string& base : {drive, Sys().EnvironmentValue("HOME"),
                                    Sys().EnvironmentValue("TMPDIR"), std::string("/tmp")}) {
        platform::UniqueFd held = OpenBaseOn(base, device);
        if (held.Valid() && folder.Create(std::move(held), base)) {
            return true;
        }
    }
    return false;
}

SpeedRun RunSpeedTest(const std::string& drive, const SpeedTestSettings& settings) {
    double freeBytes = 0;
    double totalBytes = 0;
    if (!GetDiskSpace(drive, freeBytes, totalBytes)) {
        return Failed(SpeedRunResult::NoDiskInfo,
                      "An error occurred when attempting to ascertain\ninformation about the "
                      "disk in " +
                          DriveText(drive) + ".  ");
    }
    if (freeBytes < kRequiredFreeBytes) {
        return Failed(SpeedRunResult::NoSpace, FreeSpaceMessage(drive, freeBytes));
    }
    DummyFolder folder;
    if (!CreateDummyFolder(drive, folder)) {
        return Failed(SpeedRunResult::NoWritableFolder,
                      DriveText(drive) +
                          " cannot be tested: no folder on it can be written to.\nThe test "
                          "needs a writable folder on the volume it measures.");
    }
    double bytes = 0;
    if (!WriteDummyFiles(folder, NumberOfDummyFiles(totalBytes), bytes)) {
        return Failed(SpeedRunResult::NoDummyFiles, CreationFailedMessage(drive));
    }
    if (settings.stopRequested && settings.stopRequested()) {
        return Failed(SpeedRunResult::Stopped, "");
    }
    return TimePurge(folder, bytes, settings);
}

std::string PurgeSpeedLabel(const std::string& drive, float speed) {
    if (!(speed > 0)) {
        return {};
    }
    return GroupedNumberText(speed, 2) + " MB/sec. (1 overwrite) for " + DriveText(drive) + ".";
}

std::string SpeedResultText(float mean, int overwrites, int passes) {
    const double secondsPerMegabyte = overwrites / static_cast<double>(mean);
    std::string text = "The purge speed is approximately " + GroupedNumberText(mean, 2) +
                       " MB/sec. for a single overwrite.\n\nIt thus requires, using the type of "
                       "purge currently specified (";
    text += passes == 1 ? "1 pass = " : std::to_string(passes) + " passes = ";
    text += overwrites == 1 ? "1 overwrite" : std::to_string(overwrites) + " overwrites";
    text += "), approximately " + SecondsText(10 * secondsPerMegabyte, false) +
            " to purge 10 MB, " + SecondsText(100 * secondsPerMegabyte, false) +
            " to purge 100 MB, " + SecondsText(1024 * secondsPerMegabyte, true) +
            " to purge 1 GB, " + SecondsText(10240 * secondsPerMegabyte, true) +
            " to purge 10 GB, and " + SecondsText(102400 * secondsPerMegabyte, true) +
            " to purge 100 GB.";
    if (overwrites > 1) {
        text +=
            "\n\nTo decrease the time required change the type of purge so as to decrease "
            "the number of overwrites.";
    }
    return text;
}

std::optional<float> OfferedStoredSpeed(const std::string& drive) {
    const std::string value =
        RestoreSetting(SettingsBaseKey() + "\\" + drive, "Speed").value_or("");
    float speed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), speed);
    if (error != std::errc() || speed <= 0 || speed >= kOfferedSpeedLimit) {
        return std::nullopt;
    }
    return speed;
}

std::string StoredSpeedText(float speed) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, speed);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

void StoreDriveSpeed(const std::string& drive, float speed) {
    // A speed not kept only costs a new test on the next purge of that drive.
    (void)SaveSetting(SettingsBaseKey() + "\\" + drive, "Speed", StoredSpeedText(speed));
}

}  // namespace vorlane
