#pragma once
// Destroys one file's data: overwrites every cluster it occupies (slack included) with
// the purge type's blocks, pass after pass, flushes each overwrite to the device,
// restores size and times between passes, and deletes the file when asked. The file
// is opened once, through the folder that holds it, and every step acts on that one
// descriptor, so nothing can swap it under the purge.

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/FileOutcome.h"
#include "engine/PurgeTypes.h"
#include "engine/SystemFolders.h"

namespace vorlane {

// A file as the walk holds it: the folder's descriptor and the name in it.
struct PurgeFileRef {
    int folderFd = -1;
    std::string name;
    std::string path;  // the whole path, for the cluster size of its volume
};

struct PurgeRequest {
    int purgeType = 0;
    int passes = 1;
    bool deleteFile = true;
    bool okToPurgeReadOnly = true;
    bool okToPurgeSystem = false;
    bool allowHardLinks = false;
    bool keepGrownSize = false;  // the speed test: size and times stay as the overwrite left them
    // Only the slack behind the end of the file, to the end of its last cluster: the file
    // keeps its data, its size, its times and its name (deleteFile does not apply).
    bool slackOnly = false;
    // After the last overwrite's flush, read every byte it wrote back from the device and
    // compare: a file whose bytes differ is kept and not called purged.
    bool verifyLastOverwrite = false;
};

struct PurgeHooks {
    // After each pass but the last; false stops the purge (the file is not purged).
    std::function<bool(int passesDone)> betweenPasses;
    // Asked between the write runs of an overwrite, so a huge file stops within a second.
    std::function<bool()> stopRequested;
};

// What the purges write, told on the purging thread for a progress display: after each
// write run of up to 8 MiB (the pass it belongs to, counted from 1, and its bytes) and
// once per file whose purge ended, written or refused. Called often: keep it cheap, and
// let the display coalesce what it hears.
struct PurgeProgressHooks {
    std::function<void(int pass, std::int64_t bytes)> wrote;
    std::function<void(int files)> filesEnded;
};

// One file of a batch and how its purge ended.
struct BatchFile {
    PurgeFileRef file;
    FileResult result{};
};

// Small files go through their overwrites together: overwrite k is written to every file,
// then one flush of the volume covers them all before overwrite k+1. Each file still
// learns its own write error, from its own descriptor after the shared flush.
struct BatchLimits {
    std::int64_t fileBelow = 1 << 20;  // larger files are purged alone
    int files = 500;
    std::int64_t bytes = 64 << 20;  // what one overwrite of the batch writes, so that
                                    // a shared flush stays short on a busy disk
};

class FilePurger {
  public:
    // Seeds the generator from the system's entropy source.
    FilePurger();

    // Every pass of one file. Never throws; every failure is an outcome of its own, with
    // the system's reason when a call failed.
    FileResult Purge(const PurgeFileRef& file, const PurgeRequest& request,
                     const PurgeHooks& hooks = {});

    // Every pass of each file of the batch, then the deletes and one flush of each folder.
    // goOn is asked before each file's write, between the files' own flushes and before
    // each delete; false stops the batch: files not yet deleted keep their size and
    // times and end with PartlyOverwritten, or Stopped when none of their bytes was
    // written yet. Each file's result lands in its entry; nothing throws.
    void PurgeBatch(std::vector<BatchFile>& files, const PurgeRequest& request,
                    const std::function<bool()>& goOn);

    // Every later purge reports its writes and its ends here.
    void ObserveProgress(PurgeProgressHooks hooks) { progress_ = std::move(hooks); }

    // A random integer in [low, high]; with evenOnly an odd draw becomes its even
    // neighbour (upwards only when it sits on the lower bound). 32-bit so that the
    // random block of a large cluster can draw from its whole first half.
    int RandomInteger(int low, int high, bool evenOnly);
    // Rebuilds the six blocks of one pass, each exactly clusterSize bytes.
    void PrepareOverwriteBlocks(int clusterSize);
    // The block a selector names, as rebuilt by the last PrepareOverwriteBlocks.
    const std::string& OverwriteBlock(PatternSelector selector) const;

  private:
    struct Job;
    FileResult PurgeOne(const PurgeFileRef& file, const PurgeRequest& request,
                        const PurgeHooks& hooks);
    void Wrote(std::size_t bytes) const;
    void FilesEnded(std::size_t files) const;
    FileOutcome Refusal(const Job& job);
    FileOutcome PlaceRefusal(const Job& job) const;
    FileOutcome Start(Job& job);
    FileOutcome Open(Job& job);
    FileOutcome TakeLease(Job& job);
    FileOutcome WriteOverwrite(Job& job, PatternSelector selector);
    FileOutcome WriteSlack(Job& job, const std::string& run);
    FileOutcome CheckedLease(Job& job) const;
    FileOutcome CheckedSize(const Job& job) const;
    FileOutcome AfterOverwrite(Job& job) const;
    FileOutcome CheckedLength(const Job& job) const;
    FileOutcome VerifyLastOverwrite(Job& job);
    void VerifyBatch(std::vector<Job>& jobs, const std::function<bool()>& goOn);
    static std::size_t LongestRun(const Job& job);
    bool OverwriteBatch(std::vector<Job>& jobs, PatternSelector selector,
                        const std::function<bool()>& goOn);
    void RunBatchPasses(std::vector<Job>& jobs, const std::function<bool()>& goOn);
    bool FlushBatch(std::vector<Job>& jobs, int batchFd, const std::function<bool()>& goOn);
    bool RunBatchOverwrite(std::vector<Job>& jobs, PatternSelector selector,
                           const std::function<bool()>& goOn);
    void DeleteBatch(std::vector<Job>& jobs, const std::function<bool()>& goOn);
    void Finish(Job& job);
    FileOutcome RunPasses(Job& job);
    FileOutcome OverwriteOnce(Job& job, PatternSelector selector);
    FileOutcome Delete(Job& job, bool flushFolder = true);
    std::error_code RemoveName(const Job& job, const std::string& name);
    void Keep(const Job& job, FileOutcome result);
    void RestoreSizeAndTimes(const Job& job);
    void RestoreMode(const Job& job);
    int ClusterSizeFor(dev_t device, const std::string& path);
    const std::string& RunFor(PatternSelector selector, std::size_t wanted);

    std::mt19937 generator_;
    std::array<std::string, 5> patternBlocks_;
    std::string randomBlock_;
    std::string run_;         // the selected block, repeated, for large writes
    std::string slackWrite_;  // the last cluster of a slack-only purge: data, then the block
    std::string readBack_;    // one run of the last overwrite, as the device returns it
    std::optional<PatternSelector> runSelector_;
    std::map<dev_t, int> clusterSizes_;  // per volume, asked once
    SystemFolders systemFolders_;
    std::set<dev_t> failingVolumes_;  // a delete failed for good there: no more retries
    PurgeProgressHooks progress_;
    int pass_ = 0;  // the pass being written, for the progress hooks
};

}  // namespace vorlane
