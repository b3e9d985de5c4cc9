#pragma once
// The three purge types: which overwrites make up one pass, and how many passes
// each type offers. Types are numbered 0..2 inside the program, 1..3 for the user.

#include <cstdint>
#include <span>
#include <string>

namespace vorlane {

// Names one overwrite: a pattern byte value, or any other value for the random block.
using PatternSelector = std::int16_t;
inline constexpr PatternSelector kRandomPattern = 256;

inline constexpr int kPurgeTypeCount = 3;
inline constexpr int kMinNumberOfPasses = 1;

bool IsValidPurgeType(int purgeType);
// The overwrites of one pass, in order; empty for an invalid type.
std::span<const PatternSelector> OverwriteSequence(int purgeType);
int GetNumOverwritesPerPass(int purgeType);
int MaxNumPasses(int purgeType);
int DefaultNumPasses(int purgeType);
bool IsValidNumPasses(int purgeType, int passes);

// Short name and pass count for the main window, e.g. "random bytes plus zeros 6 times".
std::string PurgeTypeNumPasses(int purgeType, int numberOfPasses);

}  // namespace vorlane
