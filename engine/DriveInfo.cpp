#include "engine/DriveInfo.h"

#include <atomic>

namespace vorlane {
namespace {

using platform::DriveKind;
using platform::Sys;

constexpr int kMinClusterSize = 512;

// The program's table; a ScopedClusterSizes puts a table of its own in force.
ClusterSizeTable gProgramTable;
std::atomic<ClusterSizeTable*> gTableInForce{&gProgramTable};

ClusterSizeTable& TableInForce() {
    return *gTableInForce.load(std::memory_order_acquire);
}

}  // namespace

std::optional<int> ClusterSizeTable::Known(const std::string& drive) const {
    std::lock_guard lock(mutex_);
    const auto known = sizes_.find(drive);
    if (known == sizes_.end() || known->second < kMinClusterSize) {
        return std::nullopt;
    }
    return known->second;
}

void ClusterSizeTable::Set(const std::string& drive, int clusterSize) {
    std::lock_guard lock(mutex_);
    sizes_[drive] = clusterSize;
}

void ClusterSizeTable::Clear() {
    std::lock_guard lock(mutex_);
    sizes_.clear();
}

ScopedClusterSizes::ScopedClusterSizes()
    : previous_(gTableInForce.exchange(&table_, std::memory_order_acq_rel)) {}

ScopedClusterSizes::~ScopedClusterSizes() {
    gTableInForce.store(previous_, std::memory_order_release);
}

bool ValidClusterSize(std::int64_t size) {
    return size >= kMinClusterSize && size <= kMaxClusterSize && size % kMinClusterSize == 0;
}

std::optional<int> ClusterSizeOfDrive(const std::string& driveRoot, double* spaceInFreeClusters) {
    const auto info = Sys().QueryClusters(driveRoot);
    if (!info || !ValidClusterSize(info->clusterBytes)) {
        return std::nullopt;
    }
    if (spaceInFreeClusters != nullptr) {
        *spaceInFreeClusters =
            static_cast<double>(info->freeClusters) * static_cast<double>(info->clusterBytes);
    }
    return static_cast<int>(info->clusterBytes);
}

bool GetDiskSpace(const std::string& path, double& freeBytes, double& totalBytes) {
    const auto space = Sys().QuerySpace(DriveOfPath(path));
    if (!space) {
        return false;
    }
    freeBytes = static_cast<double>(space->freeBytes);
    totalBytes = static_cast<double>(space->totalBytes);
    return true;
}

bool DriveReady(const std::string& path) {
    const auto volume = Sys().VolumeOf(path);
    if (volume && (volume->kind == DriveKind::Fixed || volume->kind == DriveKind::RamDisk)) {
        return true;
    }
    double freeBytes = 0;
    double totalBytes = 0;
    return GetDiskSpace(path, freeBytes, totalBytes);
}

int DriveCount(std::string& firstDrive, DriveKind& firstKind) {
    const auto volumes = Sys().ListVolumes();
    firstDrive.clear();
    firstKind = DriveKind::Unknown;
    if (!volumes.empty()) {
        firstDrive = volumes.front().mountPoint;
        firstKind = volumes.front().kind;
    }
    return static_cast<int>(volumes.size());
}

std::string DriveOfPath(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const auto volume = Sys().VolumeOf(path);
    return volume ? volume->mountPoint : std::string();
}

int GetClusterSize(const std::string& drive, double* spaceInFreeClusters) {
    if (const std::optional<int> known = TableInForce().Known(drive)) {
        return *known;
    }
    // No drive here is a floppy: a drive that cannot say has the common size.
    const int size = ClusterSizeOfDrive(drive, spaceInFreeClusters).value_or(kDefaultClusterSize);
    SetDriveClusterSize(drive, size);
    return size;
}

void SetDriveClusterSize(const std::string& drive, int clusterSize) {
    TableInForce().Set(drive, clusterSize);
}

void ClearDriveClusterSizes() {
    TableInForce().Clear();
}

}  // namespace vorlane
