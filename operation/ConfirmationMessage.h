#pragma once
// The question of the purge confirmation window: says exactly what will be destroyed.

#include <cstdint>
#include <optional>
#include <string>

namespace vorlane {

struct ConfirmationInput {
    std::string targetFolder;
    std::string targetFilespec;  // a file name, a pattern, or "*.*"
    bool multipleFiles = false;  // the file specification holds "*" or "?"
    bool subdirectories = false;
    bool dateRestriction = false;
    std::int32_t onlyBeforeJdn = 0;
    // Nothing when the count stopped at its limit (above 1000 files).
    std::optional<std::int32_t> countedFiles = 0;
};

struct ConfirmationMessage {
    bool goOn = false;  // false: a single file fails the date restriction; ask nothing
    std::string text;
};

ConfirmationMessage BuildConfirmationMessage(const ConfirmationInput& input);

// The caption of the button that starts the purge.
std::string PurgeYesCaption(std::optional<std::int32_t> countedFiles, bool subdirectories);

}  // namespace vorlane
