#pragma once
// A file's record in the words a script reads: a stable result word, the outcome in
// words, and the whole record as one JSON object.

#include <string>

#include "operation/FileRecord.h"

namespace vorlane::cli {

// "purged", "cannot-open", "listed", ...: stable, whatever the texts become.
std::string ResultWord(const FileRecord& record);
// The outcome on a line of its own: "purged", "file cannot be opened (Permission denied)".
std::string ResultText(const FileRecord& record);
// The record as one JSON object, without a line break.
std::string RecordJson(const FileRecord& record);

}  // namespace vorlane::cli
