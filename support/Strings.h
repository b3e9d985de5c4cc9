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
// The file specification that takes every file of a folder.
inline constexpr std::string_view kAllFiles = "*.*";
inline constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;

// Path pieces, with the platform separator.
std::string FileExtension(std::string_view path, bool lower);
std::string FileNamePart(std::string_view path, bool lower);
std::string FolderPart(std::string_view path, bool normalise);
std::string WithTrailingSeparator(std::string_view path);
std::string WithoutTrailingSeparator(std::string_view path);
std::string NormalisePath(std::string_view path);
std::string ShortenPath(std::string_view path, int limit);
// True when path is folder itself or lies below it, compared by whole names: "/top/a"
// is below "/top" but "/top/ab" is not below "/top/a". Trailing and repeated
// separators do not count; an empty folder holds nothing, "/" holds every absolute path.
bool IsSameOrBelow(std::string_view path, std::string_view folder);

// Case and characters.
std::string LowerCaseText(std::string_view text);
std::string LeftText(std::string_view text, int n);
std::string RepeatText(std::string_view text, int n);
// Removes leading and trailing blanks (spaces only).
std::string TrimText(std::string_view text);
bool HasWildcard(std::string_view text);
int CountOccurrences(std::string_view text, std::string_view part, bool exact);
std::string KeepCharacters(std::string_view text, std::string_view allowed);
// The elements first..last (no last: to the end), each followed by the separator.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view separator,
                      bool dropLastSeparator, int first = 0, std::optional<int> last = {});

// Numbers and sizes.
std::string NumberWords(std::int64_t n, bool german);
std::string SizeText(double bytes, int decimals);
std::string SizeTextUpToMB(double bytes, int decimals);
std::string FileSizeText(const std::string& path, int decimals);

// Durations.
std::string MinutesText(std::int32_t minutes, bool shortForm);
std::string DurationText(std::int32_t seconds, bool shortForm, bool wholeMinutes);

// Pattern matching: "?" is one character, "*" a run, matched left to right without
// backtracking.
bool FileSpecMatches(std::string_view fileName, std::string_view fileSpec, bool caseSensitive);
bool WildcardMatch(std::string_view text, std::string_view pattern, bool caseSensitive);
// A pattern as a shell writes it, over the whole name: "*" any run of characters, dots
// included, "?" one character; case does not count. ".*" is the names that begin with a
// dot, where FileSpecMatches would take it for every file.
bool WholeNameMatches(std::string_view fileName, std::string_view pattern);

// A name as a report line or a terminal shows it: every control character (below 0x20,
// and 0x7F) becomes "?", as ls shows it, so that a name cannot break or forge a line.
std::string ShownName(std::string_view name);

}  // namespace vorlane
