#include "platform/MountTable.h"

#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace vorlane::platform {
namespace {

constexpr std::array kPseudoFileSystems = {
    "proc",       "sysfs",    "devtmpfs",  "devpts",      "cgroup",         "cgroup2",
    "securityfs", "pstore",   "bpf",       "debugfs",     "tracefs",        "mqueue",
    "hugetlbfs",  "configfs", "fusectl",   "binfmt_misc", "autofs",         "nsfs",
    "rpc_pipefs", "efivarfs", "selinuxfs", "fuse.portal", "fuse.gvfsd-fuse"};
constexpr std::array kNetworkFileSystems = {"nfs",   "nfs4",       "cifs", "smb3",
                                            "smbfs", "fuse.sshfs", "9p",   "afs"};

bool IsOneOf(const std::string& value, const auto& list) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool StartsWithFolder(const std::string& path, const std::string& folder) {
    if (folder == "/") {
        return !path.empty() && path[0] == '/';
    }
    return path.compare(0, folder.size(), folder) == 0 &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

// mountinfo writes blanks, tabs, newlines and backslashes as octal escapes.
std::string Unescape(const std::string& field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::isdigit(static_cast<unsigned char>(field[i + 1]))) {
            out += static_cast<char>(std::stoi(field.substr(i + 1, 3), nullptr, 8));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// The kernel's own tables are small; anything longer is not one of them.
constexpr std::size_t kMaxTableBytes = 4 << 20;

// The whole text of a kernel table through the file system in force; empty when it
// cannot be read, which every reader below takes as a table without rows.
std::string TableText(const std::string& path) {
    std::string text;
    if (SysFiles().ReadWholeFile(path, text, kMaxTableBytes)) {
        return {};
    }
    return text;
}

bool ReadsOne(const std::string& file) {
    std::istringstream in(TableText(file));
    int value = 0;
    return in >> value && value == 1;
}

bool IsRemovableDevice(const std::string& source, const std::string& sysClassBlock) {
    if (source.rfind("/dev/", 0) != 0) {
        return false;
    }
    const std::string node = sysClassBlock + "/" + source.substr(source.rfind('/') + 1);
    // A partition has no "removable" of its own; its disk, one level up, has.
    return ReadsOne(node + "/removable") || ReadsOne(node + "/../removable");
}

DriveKind KindOf(const std::string& fsType, const std::string& source,
                 const std::string& sysClassBlock) {
    if (fsType == "tmpfs" || fsType == "ramfs") {
        return DriveKind::RamDisk;
    }
    if (fsType == "iso9660" || fsType == "udf") {
        return DriveKind::CdRom;
    }
    if (IsOneOf(fsType, kNetworkFileSystems)) {
        return DriveKind::Network;
    }
    return IsRemovableDevice(source, sysClassBlock) ? DriveKind::Removable : DriveKind::Fixed;
}

bool IsDrive(const Volume& volume) {
    if (IsOneOf(volume.fsType, kPseudoFileSystems)) {
        return false;
    }
    // The system's own RAM folders are not places a user keeps files.
    if (volume.kind == DriveKind::RamDisk) {
        for (const char* hidden : {"/dev", "/run", "/sys", "/proc"}) {
            if (StartsWithFolder(volume.mountPoint, hidden)) {
                return false;
            }
        }
    }
    return true;
}

std::optional<Volume> ParseLine(const std::string& line, const std::string& sysClassBlock) {
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string word; fields >> word;) {
        words.push_back(word);
    }
    const auto separator = std::find(words.begin(), words.end(), "-");
    if (words.size() < 5 || separator == words.end() || words.end() - separator < 3) {
        return std::nullopt;
    }
    Volume volume;
    volume.mountId = std::strtoull(words[0].c_str(), nullptr, 10);
    unsigned major = 0;
    unsigned minor = 0;
    if (std::sscanf(words[2].c_str(), "%u:%u", &major, &minor) == 2) {
        volume.device = makedev(major, minor);
    }
    volume.mountPoint = Unescape(words[4]);
    volume.fsType = *(separator + 1);
    volume.source = Unescape(*(separator + 2));
    volume.kind = KindOf(volume.fsType, volume.source, sysClassBlock);
    volume.pseudo = IsOneOf(volume.fsType, kPseudoFileSystems);
    return volume;
}

}  // namespace

std::vector<Volume> ParseMountTable(const std::string& text, const std::string& sysClassBlock) {
    std::vector<Volume> volumes;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        auto volume = ParseLine(line, sysClassBlock);
        if (!volume || !IsDrive(*volume)) {
            continue;
        }
        std::erase_if(volumes, [&](const Volume& v) { return v.mountPoint == volume->mountPoint; });
        volumes.push_back(std::move(*volume));
    }
    return volumes;
}

std::vector<Volume> ParseAllMounts(const std::string& text, const std::string& sysClassBlock) {
    std::vector<Volume> mounts;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (auto volume = ParseLine(line, sysClassBlock)) {
            mounts.push_back(std::move(*volume));
        }
    }
    return mounts;
}

std::string ReadMountInfo(const std::string& mountInfoPath) {
    return TableText(mountInfoPath);
}

std::vector<Volume> ReadMountTable(const std::string& mountInfoPath,
                                   const std::string& sysClassBlock) {
    return ParseMountTable(ReadMountInfo(mountInfoPath), sysClassBlock);
}

std::optional<Volume> FindVolumeOf(const std::vector<Volume>& volumes, const std::string& path) {
    const Volume* best = nullptr;
    for (const Volume& volume : volumes) {
        if (StartsWithFolder(path, volume.mountPoint) &&
            (best == nullptr || volume.mountPoint.size() > best->mountPoint.size())) {
            best = &volume;
        }
    }
    return best == nullptr ? std::nullopt : std::optional<Volume>(*best);
}

std::vector<std::string> ReadSwapFiles(const std::string& swapsPath) {
    std::vector<std::string> files;
    std::istringstream in(TableText(swapsPath));
    std::string line;
    std::getline(in, line);  // the column heads
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        std::string type;
        if (fields >> name >> type && type == "file") {
            files.push_back(Unescape(name));
        }
    }
    return files;
}

}  // namespace vorlane::platform
