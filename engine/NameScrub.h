#pragma once
// A file's name is data too ("tax-2025-divorce.pdf"). Before the unlink the name is
// overwritten in its folder by a rename, so the folder's blocks stop holding it. Best
// effort: a file system that refuses the rename keeps the name it has, and the delete
// goes on.

#include <random>
#include <string>

#include "platform/Platform.h"

namespace vorlane {

// The first byte of every name the scrub gives: DEL (0x7F), which no keyboard types and no
// file manager offers, and which ext4, xfs, btrfs, vfat, exFAT and NTFS all accept in a
// name (fusefat refuses it: there the name is letters and digits only). The rest are
// letters and digits. A file under such a name was left by a purge that
// was killed between the rename and the unlink: its data is overwritten, its name is not.
inline constexpr char kScrubMarker = '\x7f';

// Renames the file (checked to be `file`) to a random name of the same length that starts
// with the marker. Returns the name it has now.
std::string ScrubName(int folderFd, const std::string& name, const platform::FileStatus& file,
                      std::mt19937& generator);

// True for a name the scrub could have given.
bool IsScrubLeftover(const std::string& name);

}  // namespace vorlane
