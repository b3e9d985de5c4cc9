#include "support/Strings.h"

#include <QChar>
#include <algorithm>
#include <array>
#include <cmath>

#include "platform/Platform.h"
#include "support/UserLocale.h"
#include "support/Utf8.h"

namespace vorlane {
namespace {

// Position by position: a capital and its small letter. The small letters carry
// one more, ß, which has no capital here.
constexpr std::u32string_view kCapitals =
    U"ABCDEFGHIJKLMNOPQRSTUVWXYZŠŒŸÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖØÙÚÛÜÝÞ";
constexpr std::u32string_view kSmalls =
    U"abcdefghijklmnopqrstuvwxyzšœÿàáâãäåæçèéêëìíîïðñòóôõöøùúûüýþß";
static_assert(kSmalls.size() == kCapitals.size() + 1);

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Maps every character found in one table to the same position of the other.
// The table first; a letter it does not know (Greek, Cyrillic, ...) by Unicode's own
// case mapping, so that such names match without regard to case too.
std::string MapLetters(std::string_view text, std::u32string_view from, std::u32string_view to,
                       char32_t (*unicode)(char32_t)) {
    std::u32string chars = DecodeUtf8(text);
    for (char32_t& c : chars) {
        const std::size_t pos = from.find(c);
        if (pos != std::u32string_view::npos && pos < to.size()) {
            c = to[pos];
        } else if (to.find(c) == std::u32string_view::npos) {
            c = unicode(c);
        }
    }
    return EncodeUtf8(chars);
}

char32_t UnicodeLower(char32_t c) {
    return QChar::toLower(c);
}

struct NameParts {
    std::string base;
    std::string extension;
    bool hasDot = false;
};

NameParts SplitAtLastDot(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {std::string(name), {}, false};
    }
    return {std::string(name.substr(0, dot)), std::string(name.substr(dot + 1)), true};
}

bool OnlyStars(std::u32string_view text) {
    return text.find_first_not_of(U'*') == std::u32string_view::npos;
}

// "1 day and 1 hour and 1 minute" is more than a label needs: keep the two
// largest units.
std::string CutBeforeLastAnd(const std::string& text) {
    if (CountOccurrences(text, "and", true) <= 1) {
        return text;
    }
    return TrimText(std::string_view(text).substr(0, text.rfind("and")));
}

std::string UnitPart(std::int32_t count, const char* unit, const char* shortUnit, bool shortForm) {
    std::string text = std::to_string(count);
    if (shortForm) {
        return text + shortUnit;
    }
    return text + " " + unit + (count == 1 ? "" : "s");
}

std::string WholeBytesText(double bytes) {
    const auto whole = static_cast<std::int64_t>(bytes);
    return std::to_string(whole) + (whole == 1 ? " byte" : " bytes");
}

std::string FileLengthText(const std::string& path, int decimals, bool withGigabytes) {
    if (path.empty()) {
        return {};
    }
    const platform::FileStatus status = platform::Sys().StatNoFollow(path);
    if (status.kind != platform::FileKind::Regular) {
        return {};
    }
    const auto bytes = static_cast<double>(status.size);
    return withGigabytes ? SizeText(bytes, decimals) : SizeTextUpToMB(bytes, decimals);
}

constexpr std::array<const char*, 21> kEnglishSmallNumbers = {
    "No",       "One",     "Two",     "Three",     "Four",     "Five",     "Six",
    "Seven",    "Eight",   "Nine",    "Ten",       "Eleven",   "Twelve",   "Thirteen",
    "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen", "Twenty"};
constexpr std::array<const char*, 10> kEnglishTens = {
    "", "", "Twenty", "Thirty", "Forty", "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
constexpr std::array<const char*, 21> kGermanSmallNumbers = {
    "Keine",    "Eins",     "Zwei",     "Drei",     "Vier",     "Fünf",     "Sechs",
    "Sieben",   "Acht",     "Neun",     "Zehn",     "Elf",      "Zwölf",    "Dreizehn",
    "Vierzehn", "Fünfzehn", "Sechzehn", "Siebzehn", "Achtzehn", "Neunzehn", "Zwanzig"};
constexpr std::array<const char*, 10> kGermanTens = {
    "", "", "Zwanzig", "Dreißig", "Vierzig", "Fünfzig", "Sechzig", "Siebzig", "Achtzig", "Neunzig"};

}  // namespace

// ---- Path pieces ----

std::string FileExtension(std::string_view path, bool lower) {
    const std::size_t slash = path.rfind(kPathSeparator);
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    const std::string_view extension = name.substr(dot + 1);
    return lower ? LowerCaseText(extension) : std::string(extension);
}

std::string FileNamePart(std::string_view path, bool lower) {
    const std::size_t slash = path.rfind(kPathSeparator);
    if (slash == std::string_view::npos) {
        return {};
    }
    const std::string_view name = path.substr(slash + 1);
    return lower ? LowerCaseText(name) : std::string(name);
}

std::string FolderPart(std::string_view path, bool normalise) {
    const std::size_t slash = path.rfind(kPathSeparator);
    if (slash == std::string_view::npos) {
        return {};
    }
    const std::string_view folder = path.substr(0, slash + 1);
    return normalise ? NormalisePath(folder) : std::string(folder);
}

std::string WithTrailingSeparator(std::string_view path) {
    if (path.empty()) {
        return {};
    }
    const std::size_t end = path.find_last_not_of(kPathSeparator);
    const std::string_view stem = end == std::string_view::npos ? "" : path.substr(0, end + 1);
    return std::string(stem) + kPathSeparator;
}

// The root "/" is the one folder whose separator must stay.
std::string WithoutTrailingSeparator(std::string_view path) {
    while (path.size() > 1 && path.back() == kPathSeparator) {
        path.remove_suffix(1);
    }
    return std::string(path);
}

bool IsSameOrBelow(std::string_view path, std::string_view folder) {
    const std::string base = WithoutTrailingSeparator(NormalisePath(folder));
    const std::string here = WithoutTrailingSeparator(NormalisePath(path));
    if (base.empty()) {
        return false;
    }
    if (base.back() == kPathSeparator) {
        return here.starts_with(base);  // "/" holds every absolute path
    }
    return here == base || (here.starts_with(base) && here[base.size()] == kPathSeparator);
}

// Linux names are case-sensitive, so a path keeps its case; only repeated
// separators, which name the same folder, are folded into one.
std::string NormalisePath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        if (c != kPathSeparator || out.empty() || out.back() != kPathSeparator) {
            out.push_back(c);
        }
    }
    return out;
}

std::string ShortenPath(std::string_view path, int limit) {
    const std::u32string chars = DecodeUtf8(path);
    if (limit < 10 || chars.size() <= static_cast<std::size_t>(limit)) {
        return std::string(path);
    }
    std::u32string tail = chars.substr(chars.size() - static_cast<std::size_t>(limit - 6));
    const std::size_t blank = tail.find(U' ');
    if (blank != std::u32string::npos) {
        tail.erase(0, blank + 1);
    }
    return EncodeUtf8(chars.substr(0, 3)) + "..." + EncodeUtf8(tail);
}

// ---- Case and characters ----

std::string LowerCaseText(std::string_view text) {
    if (IsAscii(text)) {
        std::string out(text);
        for (char& c : out) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return out;
    }
    return MapLetters(text, kCapitals, kSmalls, UnicodeLower);
}

std::string LeftText(std::string_view text, int n) {
    if (n <= 0) {
        return {};
    }
    const std::u32string chars = DecodeUtf8(text);
    if (static_cast<std::size_t>(n) >= chars.size()) {
        return std::string(text);
    }
    return EncodeUtf8(std::u32string_view(chars).substr(0, static_cast<std::size_t>(n)));
}

std::string RepeatText(std::string_view text, int n) {
    std::string out;
    for (int k = 0; k < n; ++k) {
        out += text;
    }
    return out;
}

std::string TrimText(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(start, text.find_last_not_of(' ') - start + 1));
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("?*") != std::string_view::npos;
}

int CountOccurrences(std::string_view text, std::string_view part, bool exact) {
    if (text.empty() || part.empty()) {
        return 0;
    }
    const std::string haystack = exact ? std::string(text) : LowerCaseText(text);
    const std::string needle = exact ? std::string(part) : LowerCaseText(part);
    int count = 0;
    for (std::size_t pos = haystack.find(needle); pos != std::string::npos;
         pos = haystack.find(needle, pos + needle.size())) {
        ++count;
    }
    return count;
}

std::string KeepCharacters(std::string_view text, std::string_view allowed) {
    const std::u32string allowedChars = DecodeUtf8(allowed);
    std::u32string chars = DecodeUtf8(text);
    std::erase_if(chars, [&](char32_t c) { return allowedChars.find(c) == std::u32string::npos; });
    return EncodeUtf8(chars);
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view separator,
                      bool dropLastSeparator, int first, std::optional<int> last) {
    const int count = static_cast<int>(lines.size());
    const int end = last && *last < count ? *last : count - 1;
    std::string out;
    for (int k = std::max(first, 0); k <= end; ++k) {
        out += lines[static_cast<std::size_t>(k)];
        out += separator;
    }
    if (dropLastSeparator && !separator.empty() && out.ends_with(separator)) {
        out.resize(out.size() - separator.size());
    }
    return out;
}

// ---- Numbers and sizes ----

std::string NumberWords(std::int64_t n, bool german) {
    if (n < 0 || n > 99) {
        return GroupedNumberText(static_cast<double>(n), 0);
    }
    const auto& small = german ? kGermanSmallNumbers : kEnglishSmallNumbers;
    const auto& tens = german ? kGermanTens : kEnglishTens;
    if (n <= 20) {
        return small[static_cast<std::size_t>(n)];
    }
    const std::string tensWord = tens[static_cast<std::size_t>(n / 10)];
    if (n % 10 == 0) {
        return tensWord;
    }
    const std::string unitsWord = small[static_cast<std::size_t>(n % 10)];
    if (german) {
        return unitsWord + " und " + LowerCaseText(tensWord);
    }
    return tensWord + " " + LowerCaseText(unitsWord);
}

std::string SizeText(double bytes, int decimals) {
    constexpr double kKilo = 1024.0;
    if (bytes == 0) {
        return "0 bytes";
    }
    if (bytes < kKilo) {
        return WholeBytesText(bytes);
    }
    if (bytes < kKilo * kKilo) {
        return GroupedNumberText(bytes / kKilo, decimals) + " KB";
    }
    if (bytes < kKilo * kKilo * kKilo) {
        return GroupedNumberText(bytes / kKilo / kKilo, decimals) + " MB";
    }
    return GroupedNumberText(bytes / kKilo / kKilo / kKilo, decimals) + " GB";
}

std::string SizeTextUpToMB(double bytes, int decimals) {
    if (bytes < 0) {
        return {};
    }
    if (bytes < 1024.0) {
        return SizeText(bytes, decimals);
    }
    if (bytes < kBytesPerMegabyte) {
        return GroupedNumberText(bytes / 1024.0, decimals) + " KB";
    }
    return GroupedNumberText(bytes / kBytesPerMegabyte, decimals) + " MB";
}

std::string FileSizeText(const std::string& path, int decimals) {
    return FileLengthText(path, decimals, false);
}

// ---- Durations ----

std::string MinutesText(std::int32_t minutes, bool shortForm) {
    minutes = std::max(minutes, 0);
    std::vector<std::string> parts;
    if (minutes >= 1440) {
        parts.push_back(UnitPart(minutes / 1440, "day", "d ", shortForm));
        minutes %= 1440;
    }
    if (minutes >= 60) {
        parts.push_back(UnitPart(minutes / 60, "hour", "h ", shortForm));
        minutes %= 60;
    }
    if (minutes > 0) {
        parts.push_back(UnitPart(minutes, "minute", "m ", shortForm));
    }
    if (parts.empty()) {
        return shortForm ? "0m" : "0 minutes";
    }
    if (shortForm) {
        return TrimText(JoinLines(parts, "", false));
    }
    return CutBeforeLastAnd(JoinLines(parts, " and ", true));
}

// With whole minutes the seconds are rounded into the minutes and not shown: an
// estimate of "17 minutes" reads better than "17 minutes and 4 seconds".
std::string DurationText(std::int32_t seconds, bool shortForm, bool wholeMinutes) {
    seconds = std::max(seconds, 0);
    const std::int32_t s = seconds % 60;
    const std::int32_t m = seconds / 60;
    const std::string secondsPart = UnitPart(s, "second", "s", shortForm);
    if (m == 0) {
        return secondsPart;
    }
    if (wholeMinutes) {
        // Halves go to the even minute, as every rounding of the estimates does.
        const bool roundUp = s > 30 || (s == 30 && m % 2 == 1);
        return MinutesText(m + (roundUp ? 1 : 0), shortForm);
    }
    std::string text = MinutesText(m, shortForm);
    if (s > 0) {
        text += (shortForm ? " " : " and ") + secondsPart;
    }
    return CutBeforeLastAnd(text);
}

// ---- Pattern matching ----

// Linux names may legally hold "?", "*" and ":", so only a separator marks a text
// that is not a plain name.
bool FileSpecMatches(std::string_view fileName, std::string_view fileSpec, bool caseSensitive) {
    if (fileName.find(kPathSeparator) != std::string_view::npos) {
        return false;
    }
    const std::string spec = TrimText(fileSpec);
    if (spec.empty()) {
        return true;
    }
    const NameParts name = SplitAtLastDot(fileName);
    const NameParts pattern = SplitAtLastDot(spec);
    if (name.hasDot && !pattern.hasDot) {
        return false;
    }
    const bool basesMatch = WildcardMatch(name.base, pattern.base, caseSensitive);
    if (pattern.hasDot && !name.hasDot) {
        return basesMatch && OnlyStars(DecodeUtf8(pattern.extension));
    }
    return basesMatch && WildcardMatch(name.extension, pattern.extension, caseSensitive);
}

// The star runs to the first occurrence of the next literal and never revises that
// choice: "banana" does not match "*na".
bool WildcardMatch(std::string_view text, std::string_view pattern, bool caseSensitive) {
    const std::u32string t = DecodeUtf8(caseSensitive ? std::string(text) : LowerCaseText(text));
    const std::u32string p =
        DecodeUtf8(caseSensitive ? std::string(pattern) : LowerCaseText(pattern));
    if (t == p || p.empty()) {
        return true;
    }
    if (t.empty()) {
        return OnlyStars(p);
    }
    std::size_t i = 0;
    for (std::size_t j = 0; j < p.size(); ++j) {
        if (p[j] == U'?') {
            if (i == t.size()) {
                return false;
            }
            ++i;
        } else if (p[j] == U'*') {
            std::u32string rest = p.substr(j);
            std::erase_if(rest, [](char32_t c) { return c == U'*' || c == U'?'; });
            if (rest.empty()) {
                return true;
            }
            i = t.find(rest.front(), i);
            if (i == std::u32string::npos) {
                return false;
            }
        } else {
            if (i == t.size() || t[i] != p[j]) {
                return false;
            }
            ++i;
        }
    }
    return i == t.size();
}

// Backtracks to the last star, so that "*.txt" finds the last ".txt" of "a.b.txt".
bool WholeNameMatches(std::string_view fileName, std::string_view pattern) {
    const std::u32string t = DecodeUtf8(LowerCaseText(fileName));
    const std::u32string p = DecodeUtf8(LowerCaseText(pattern));
    std::size_t i = 0;
    std::size_t j = 0;
    std::size_t starAt = std::u32string::npos;
    std::size_t resumeAt = 0;
    while (i < t.size()) {
        if (j < p.size() && (p[j] == U'?' || p[j] == t[i])) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == U'*') {
            starAt = j++;
            resumeAt = i;
        } else if (starAt != std::u32string::npos) {
            j = starAt + 1;
            i = ++resumeAt;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == U'*') {
        ++j;
    }
    return j == p.size();
}

std::string ShownName(std::string_view name) {
    std::string shown(name);
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '?';
        }
    }
    return shown;
}

}  // namespace vorlane
