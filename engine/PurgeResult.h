#pragma once
// Result codes of one file purge. They share one numbering with the exclusion codes
// (1, 2, 5, 7, 8) in the report, so they stay plain 16-bit numbers.

#include <cstdint>

namespace vorlane {

using PurgeResultCode = std::int16_t;

namespace purge_result {
inline constexpr PurgeResultCode kPurged = 0;
inline constexpr PurgeResultCode kEmptyFileName = -1;
inline constexpr PurgeResultCode kCannotOpen = -2;
inline constexpr PurgeResultCode kNotDeleted = -4;
inline constexpr PurgeResultCode kInvalidPurgeType = -8;
inline constexpr PurgeResultCode kInvalidClusterSize = -9;
// A link is never written through: its target may lie anywhere.
inline constexpr PurgeResultCode kSymbolicLink = -10;
// FIFOs, devices, sockets and folders are not files whose data we could overwrite.
inline constexpr PurgeResultCode kNotRegularFile = -11;
inline constexpr PurgeResultCode kCannotOpenForWriting = -12;
inline constexpr PurgeResultCode kWriteFailed = -13;
inline constexpr PurgeResultCode kFlushFailed = -14;
// The name led to another file, or to none, between the checks and the overwrite.
inline constexpr PurgeResultCode kFileChanged = -15;
// No pass at all would leave the data in place; deleting it then would be a lie.
inline constexpr PurgeResultCode kInvalidNumberOfPasses = -16;
// Overwriting one name destroys the data of every other name of the file, which may
// lie outside the target.
inline constexpr PurgeResultCode kHardLinks = -17;
// Stopped inside an overwrite; the file keeps its size and is not deleted.
inline constexpr PurgeResultCode kStopped = -18;
// Grew beyond what the overwrites covered while they ran: someone writes to it.
inline constexpr PurgeResultCode kGrewDuringPurge = -19;
inline constexpr PurgeResultCode kReadOnlyNotPermitted = -53;
inline constexpr PurgeResultCode kSystemNotPermitted = -54;
}  // namespace purge_result

// What a code means, in the words of the per-file report line ("" for unknown codes).
const char* PurgeResultMeaning(PurgeResultCode code);

}  // namespace vorlane
