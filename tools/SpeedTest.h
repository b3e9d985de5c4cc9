#pragma once
// The purge speed test: a few dummy files of random size, written into a fresh folder
// on the drive, purged with the chosen purge type and timed. The speed is MB (1,048,576
// bytes) per second for one overwrite. Three runs make one test; the runs since the
// program started are averaged per drive, and the mean is stored between runs.

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace vorlane {

inline constexpr const char* kDummyFolderStub = "_vn_dummy";
// Only a stored speed strictly between these is offered instead of a new test.
inline constexpr float kOfferedSpeedLimit = 100.0F;

// How a speed run ended; every end but Measured comes with a message for the person.
enum class SpeedRunResult {
    Measured,
    NoDiskInfo,
    NoSpace,
    NoDummyFiles,
    PurgeFailed,
    NoWritableFolder,
    Stopped,
};

struct SpeedRun {
    SpeedRunResult result = SpeedRunResult::Measured;
    std::string message;  // what to tell the person when the run failed
    double bytes = 0;     // dummy bytes purged
    double seconds = 0;   // time of the purge, clean-up included
    float speed = 0;      // this run's speed
};

struct SpeedTestSettings {
    int purgeType = 0;
    int numberOfPasses = 1;
    int overwrites = 2;  // overwrites of all passes of the purge type
    // Asked between dummy files; true ends the run (its folder is still removed).
    std::function<bool()> stopRequested;
};

// The measured speeds since the program started, per drive (mount point).
class DriveSpeedTable {
  public:
    // Folds a run's speed into the drive's running mean and returns the mean.
    float Update(const std::string& drive, float speed);
    // An accepted stored speed: the sample count stays as it was.
    void Accept(const std::string& drive, float speed);
    // A failed run: the drive counts as not measured again.
    void Clear(const std::string& drive);
    float Speed(const std::string& drive) const;
    int Samples(const std::string& drive) const;
    const std::map<std::string, float>& Speeds() const { return speeds_; }

  private:
    std::map<std::string, float> speeds_;
    std::map<std::string, int> samples_;
};

// 5 files below 5 GB of total size, 10 below 50 GB, else 20.
int NumberOfDummyFiles(double totalBytes);

// MB per second for one overwrite; a time under a millisecond counts as one.
float SpeedOfRun(double bytes, int overwrites, double seconds);

class DummyFolder;

// Creates the dummy folder for a test of the drive: in its mount point when that can be
// written, else in the home or temporary folder when it lies on the same volume. False
// when no such folder can be made.
bool CreateDummyFolder(const std::string& drive, DummyFolder& folder);

// One run: checks the free space, writes the dummy files, purges and times them. The
// dummy folder is removed whatever happens.
SpeedRun RunSpeedTest(const std::string& drive, const SpeedTestSettings& settings);

// "12.34 MB/sec. (1 overwrite) for Drive /home.", or empty for an unmeasured drive.
std::string PurgeSpeedLabel(const std::string& drive, float speed);

// The result message of a test: the mean speed and the time for 10 MB to 100 GB.
std::string SpeedResultText(float mean, int overwrites, int passes);

// The stored speed when it may be offered instead of a new test: 0 < v < 100.
std::optional<float> OfferedStoredSpeed(const std::string& drive);
// The speed as kept in the settings store: "." as decimal point, no blank.
std::string StoredSpeedText(float speed);
void StoreDriveSpeed(const std::string& drive, float speed);

}  // namespace vorlane
