#pragma once
// The mounts as one operation sees them, read once when it starts: which volume a
// device number belongs to, and whether it is a pseudo file system.

#include <optional>
#include <vector>

#include "platform/Platform.h"

namespace vorlane::platform {

class VolumeTable {
  public:
    // Reads the mounts now.
    VolumeTable();
    explicit VolumeTable(std::vector<Volume> mounts) : mounts_(std::move(mounts)) {}

    // The volume of a device; the shortest of its mount points when it is mounted twice.
    std::optional<Volume> OfDevice(dev_t device) const;
    bool IsPseudo(dev_t device) const;

  private:
    std::vector<Volume> mounts_;
};

// Copy-on-write and log-structured file systems: an overwrite in place never reaches
// the blocks that held the old data.
bool IsCopyOnWrite(const std::string& fsType);

}  // namespace vorlane::platform
