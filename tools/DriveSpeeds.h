#pragma once
// The purge speeds the speed test stored per drive, and the settings key they live under.

#include <string>

namespace vorlane {

// "Software\<maker>\<product>", the key every setting of this program lives under.
std::string SettingsBaseKey();

// The stored speed of the drive (mount point) in MB/s; 0 when none is stored.
float StoredDriveSpeed(const std::string& drive);

}  // namespace vorlane
