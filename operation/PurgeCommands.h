#pragma once
// The purge and list commands from the checks to the finished report, the same for
// the windows and the terminal.

#include <cstdint>
#include <optional>
#include <string>

#include "operation/Operation.h"

namespace vorlane {

struct OperationResult {
    bool ran = false;             // false: refused, cancelled, or nothing to do
    bool nothingMatched = false;  // did not run: the target holds no matching file
    OperationState state;
    std::string report;
    bool stopped = false;
    std::string caption;  // the report window's caption once the operation ended
};

// The report window's caption for a listing with these settings.
std::string ListCaption(const std::string& fileSpec, bool fileDetails, bool listFolders);

// The target must name an existing folder, and a single file must exist and pass the
// date restriction. Tells the person why not and returns false.
bool CheckTarget(const OperationChoices& choices, OperationInterface& ui, bool purge);

// Counts, confirms and purges. The options the person sets in the confirmation apply.
OperationResult RunPurge(const OperationChoices& choices, OperationInterface& ui,
                         OperationControl& control);

// Lists the target; listFolders writes folder lines instead of progress marks.
OperationResult RunList(const OperationChoices& choices, OperationInterface& ui,
                        OperationControl& control, bool listFolders);

}  // namespace vorlane
