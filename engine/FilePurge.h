#pragma once
// Destroys one file's data: overwrites every cluster it occupies (slack included)
// with the purge type's blocks, flushes each overwrite to the device, restores size
// and times between passes, and deletes the file when asked.

#include <cstdint>
#include <string>

#include "engine/PurgeResult.h"
#include "engine/PurgeTypes.h"

namespace vorlane {

// Purges one file. Never throws; every failure is a negative result code.
bool VorlPurgeFile(const std::string& filePath, int purgeType, int numberOfPasses, bool deleteFile,
                   bool okToPurgeReadOnly, bool okToPurgeSystem, PurgeResultCode& resultCode);

// While true (the speed test runs), size and times are not restored after a pass.
void SetPerformingSpeedTest(bool performing);
bool PerformingSpeedTest();

// A random integer in [low, high]; with evenOnly an odd draw becomes its even
// neighbour (upwards only when it sits on the lower bound). 32-bit so that the
// random block of a 64 KiB cluster can draw from its whole first half.
int RandomInteger(int low, int high, bool evenOnly);
// Reseeds the generator (from the system's entropy source when no seed is given).
void SeedRandomGenerator();
void SeedRandomGenerator(std::uint32_t seed);

// Rebuilds the six blocks of one pass, each exactly clusterSize bytes.
void PrepareOverwriteBlocks(int clusterSize);
// The block a selector names, as rebuilt by the last PrepareOverwriteBlocks.
const std::string& OverwriteBlock(PatternSelector selector);

}  // namespace vorlane
