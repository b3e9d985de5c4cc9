#pragma once
// Reading the kernel's tables of mounts and swap files into drives.

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vorlane::platform {

// Drives from a mountinfo file; pseudo file systems are left out, a mount point
// mounted twice counts once (the later mount hides the earlier).
std::vector<Volume> ReadMountTable(const std::string& mountInfoPath,
                                   const std::string& sysClassBlock);
std::vector<Volume> ParseMountTable(const std::string& text, const std::string& sysClassBlock);
// Every mount of a mountinfo text, pseudo file systems included, in the kernel's order.
std::vector<Volume> ParseAllMounts(const std::string& text, const std::string& sysClassBlock);
std::string ReadMountInfo(const std::string& mountInfoPath);
// The volume whose mount point is the longest prefix of an absolute path.
std::optional<Volume> FindVolumeOf(const std::vector<Volume>& volumes, const std::string& path);
std::vector<std::string> ReadSwapFiles(const std::string& swapsPath);

}  // namespace vorlane::platform
