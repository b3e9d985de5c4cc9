#pragma once
// Small text procedures shared by the whole program: path pieces, case conversion
// that knows the accented Latin letters, size, count and duration texts, trimming,
// shortening of long paths for labels, and file-name pattern matching.
// Texts are UTF-8; "characters" are code points. Nothing here fails on empty input.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlane {

inline constexpr char kPathSeparator = '/';

// Path pieces, with the platform separator.
std::string FileExtension(std::string_view path, bool lower);
std::string FileNamePart(std::string_view path, bool lower);
std::string FolderPart(std::string_view path, bool normalise);
std::string WithTrailingSeparator(std::string_view path);
std::string WithoutTrailingSeparator(std::string_view path);
std::string NormalisePath(std::string_view path);
std::string ShortenPath(std::string_view path, int limit);

// Case and characters.
std::string LowerCaseText(std::string_view text);
std::string UpperCaseText(std::string_view text);
std::string LeftText(std::string_view text, int n);
std::string RepeatText(std::string_view text, int n);
std::string RemoveTrailing(std::string_view text, std::string_view tail);
std::string TrimTrailingControls(std::string_view text);
std::string TrimTrailingBlanks(std::string_view text);
// Removes leading and trailing blanks (spaces only).
std::string TrimText(std::string_view text);
bool HasWildcard(std::string_view text);
int CountOccurrences(std::string_view text, std::string_view part, bool exact);
std::string KeepCharacters(std::string_view text, std::string_view allowed);
std::string SignedIntegerText(std::string_view text, bool allowMinus, bool allowPlus);
// One trimmed element per line (a final line break gives a final empty line);
// caseMode -1 lower-cases each line, 1 upper-cases it, 0 leaves it.
std::vector<std::string> SplitLines(std::string_view text, int caseMode);
// The elements first..last (no last: to the end), each followed by the separator.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view separator,
                      bool dropLastSeparator, int first = 0, std::optional<int> last = {});

// Numbers and sizes.
std::string NumberWords(std::int64_t n, bool german);
std::string SizeText(double bytes, int decimals);
std::string SizeTextUpToMB(double bytes, int decimals);
std::string FileSizeText(const std::string& path, int decimals);
std::string FileSizeTextGB(const std::string& path, int decimals);

// Durations.
std::string MinutesText(std::int32_t minutes, bool shortForm);
std::string DurationText(std::int32_t seconds, bool shortForm, bool wholeMinutes);

// Pattern matching: "?" is one character, "*" a run, matched left to right without
// backtracking.
bool FileSpecMatches(std::string_view fileName, std::string_view fileSpec, bool caseSensitive);
bool WildcardMatch(std::string_view text, std::string_view pattern, bool caseSensitive);

}  // namespace vorlane
