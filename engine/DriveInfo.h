#pragma once
// Questions about drives. A drive is the mounted volume holding a path, named by its
// mount point; per-drive tables are keyed by it.

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace vorlane {

inline constexpr int kDefaultClusterSize = 4096;
// exFAT cards use clusters up to 32 MiB; every one of them must be overwritten to its end.
inline constexpr int kMaxClusterSize = 32 << 20;
// A multiple of 512 from 512 to kMaxClusterSize.
bool ValidClusterSize(std::int64_t size);

// Cluster size of the drive; nothing when the query fails or the size is not valid (the
// free space is then left as it was).
std::optional<int> ClusterSizeOfDrive(const std::string& driveRoot,
                                      double* spaceInFreeClusters = nullptr);
// False when the system cannot say (the outs are then left as they were).
bool GetDiskSpace(const std::string& path, double& freeBytes, double& totalBytes);
bool DriveReady(const std::string& path);
// Number of drives; the first one and its kind through the outs.
int DriveCount(std::string& firstDrive, platform::DriveKind& firstKind);
// The drive (mount point) that holds path; "" when none can be found.
std::string DriveOfPath(const std::string& path);
// The cluster size of each drive as asked once or as the user chose it in the purge
// confirmation, which the purge then uses.
class ClusterSizeTable {
  public:
    std::optional<int> Known(const std::string& drive) const;
    void Set(const std::string& drive, int clusterSize);
    void Clear();

  private:
    mutable std::mutex mutex_;
    std::map<std::string, int> sizes_;
};

// An empty table of its own in force for its lifetime (tests): sizes set meanwhile
// go with it, and the program's table is as before afterwards.
class ScopedClusterSizes {
  public:
    ScopedClusterSizes();
    ~ScopedClusterSizes();
    ScopedClusterSizes(const ScopedClusterSizes&) = delete;
    ScopedClusterSizes& operator=(const ScopedClusterSizes&) = delete;

  private:
    ClusterSizeTable table_;
    ClusterSizeTable* previous_;
};

// From the table in force; never below 512 (4096 when the drive cannot say).
int GetClusterSize(const std::string& drive, double* spaceInFreeClusters = nullptr);
void SetDriveClusterSize(const std::string& drive, int clusterSize);
void ClearDriveClusterSizes();

}  // namespace vorlane
