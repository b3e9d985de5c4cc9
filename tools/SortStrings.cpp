#include "tools/SortStrings.h"

#include <algorithm>

#include "support/Strings.h"

namespace vorlane {
namespace {

std::string KeyOf(const std::string& item, bool ignoreCase, int startColumn) {
    const std::size_t start = static_cast<std::size_t>(std::max(startColumn, 1) - 1);
    const std::string key = start < item.size() ? item.substr(start) : std::string();
    return ignoreCase ? LowerCaseText(key) : key;
}

// Hoare's partition with the middle element as pivot, in descending order.
void SortDescending(std::vector<std::string>& items, int low, int high, bool ignoreCase,
                    int startColumn) {
    if (low >= high) {
        return;
    }
    const std::string pivot = KeyOf(items[low + (high - low) / 2], ignoreCase, startColumn);
    int left = low;
    int right = high;
    while (left <= right) {
        while (left < high && KeyOf(items[left], ignoreCase, startColumn) > pivot) {
            ++left;
        }
        while (right > low && KeyOf(items[right], ignoreCase, startColumn) < pivot) {
            --right;
        }
        if (left <= right) {
            std::swap(items[left], items[right]);
            ++left;
            --right;
        }
    }
    SortDescending(items, low, right, ignoreCase, startColumn);
    SortDescending(items, left, high, ignoreCase, startColumn);
}

}  // namespace

void SortStrings(std::vector<std::string>& items, int low, int high, bool ignoreCase,
                 int startColumn) {
    low = std::max(low, 0);
    high = std::min(high, static_cast<int>(items.size()) - 1);
    if (low >= high) {
        return;
    }
    SortDescending(items, low, high, ignoreCase, startColumn);
    std::reverse(items.begin() + low, items.begin() + high + 1);
}

}  // namespace vorlane
