#pragma once
// The purge speeds the speed test stored per drive.

#include <string>

namespace vorlane::cli {

// The stored speed of the drive (mount point) in MB/s; 0 when none is stored.
float StoredDriveSpeed(const std::string& drive);

}  // namespace vorlane::cli
