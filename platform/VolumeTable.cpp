#include "platform/VolumeTable.h"

#include <algorithm>
#include <array>

namespace vorlane::platform {

VolumeTable::VolumeTable() : mounts_(Sys().ListMounts()) {}

std::optional<Volume> VolumeTable::OfDevice(dev_t device) const {
    const Volume* best = nullptr;
    for (const Volume& mount : mounts_) {
        if (mount.device == device &&
            (best == nullptr || mount.mountPoint.size() < best->mountPoint.size())) {
            best = &mount;
        }
    }
    return best == nullptr ? std::nullopt : std::optional<Volume>(*best);
}

bool VolumeTable::IsPseudo(dev_t device) const {
    return std::any_of(mounts_.begin(), mounts_.end(),
                       [&](const Volume& m) { return m.device == device && m.pseudo; });
}

bool IsCopyOnWrite(const std::string& fsType) {
    constexpr std::array kCopyOnWrite = {"btrfs", "zfs", "f2fs", "nilfs2", "bcachefs"};
    return std::find(kCopyOnWrite.begin(), kCopyOnWrite.end(), fsType) != kCopyOnWrite.end();
}

}  // namespace vorlane::platform
