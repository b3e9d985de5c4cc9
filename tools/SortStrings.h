#pragma once
// The string sort of the subfolder list: a quicksort on keys taken from a start column
// (1-based), optionally lower-cased, compared byte by byte without locale ordering.

#include <string>
#include <vector>

namespace vorlane {

// Sorts items[low..high] in place, ascending; nothing to do when low >= high.
void SortStrings(std::vector<std::string>& items, int low, int high, bool ignoreCase,
                 int startColumn);

}  // namespace vorlane
