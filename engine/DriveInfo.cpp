#include "engine/DriveInfo.h"

#include <map>
#include <mutex>

namespace vorlane {
namespace {

using platform::DriveKind;
using platform::Sys;

constexpr int kMinClusterSize = 512;

std::mutex gClusterMutex;
std::map<std::string, int> gDriveClusterSize;

}  // namespace

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
    {
        std::lock_guard lock(gClusterMutex);
        const auto known = gDriveClusterSize.find(drive);
        if (known != gDriveClusterSize.end() && known->second >= kMinClusterSize) {
            return known->second;
        }
    }
    // No drive here is a floppy: a drive that cannot say has the common size.
    const int size = ClusterSizeOfDrive(drive, spaceInFreeClusters).value_or(kDefaultClusterSize);
    SetDriveClusterSize(drive, size);
    return size;
}

void SetDriveClusterSize(const std::string& drive, int clusterSize) {
    std::lock_guard lock(gClusterMutex);
    gDriveClusterSize[drive] = clusterSize;
}

void ClearDriveClusterSizes() {
    std::lock_guard lock(gClusterMutex);
    gDriveClusterSize.clear();
}

}  // namespace vorlane
