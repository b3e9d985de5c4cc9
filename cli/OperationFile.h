#pragma once
// Reads an operation file for the command line. Kept apart from the operation headers
// because the setup-file header and the date header both define the "no restriction"
// day number; this file's unit sees only the first.

#include <cstdint>
#include <string>

namespace vorlane::cli {

struct OperationFileChoices {
    std::string folder;
    std::string fileSpec;
    bool subdirectories = false;
    bool dateRestriction = false;
    std::int32_t onlyBeforeJdn = 0;
    int purgeType = 0;
    int passes = 0;
    // In the order of PurgeOptions.
    bool doNotDelete = false;
    bool okReadOnly = true;
    bool okSystem = false;
    bool okSensitive = false;
    bool folderNamesOnly = true;
    bool confirmFiles = false;
    bool deleteEmptyFolders = true;
};

bool ReadOperationFile(const std::string& path, OperationFileChoices& out);

}  // namespace vorlane::cli
