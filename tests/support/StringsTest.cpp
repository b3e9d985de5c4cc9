#include "support/Strings.h"

#include <gtest/gtest.h>

#include <locale>

#include "support/UserLocale.h"

namespace vorlane {
namespace {

struct MatchCase {
    const char* text;
    const char* pattern;
    bool expected;
};

TEST(StringsTest, WildcardMatchStopsAtFirstOccurrence) {
    const MatchCase cases[] = {
        {"banana", "*na", false},  // the star stops at the first n and never revises it
        {"abcb", "a*b", false},   {"abcb", "a*b*", true},   {"ab", "a?b", false},
        {"ab", "a?", true},       {"", "**", true},         {"", "*?", false},
        {"abc", "", true},        {"ABC", "a*", true},      {"axyb", "a*?b", false},
        {"ÄRGER", "är*", true},   {"naïve", "na?ve", true}, {"abc", "abcd", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.text, c.pattern, false), c.expected)
            << c.text << " against " << c.pattern;
    }
    EXPECT_FALSE(WildcardMatch("ABC", "a*", true));
}

TEST(StringsTest, FileSpecMatchesSplitsAtLastDot) {
    const MatchCase cases[] = {
        {"readme", "*.*", true},     {"readme", "*", true},
        {"a.txt", "*", false},       {"archive.tar.gz", "*.gz", true},
        {"a.txt", ".txt", true},     {"REPORT.TXT", "r*.txt", true},
        {"readme", "*.t*", false},   {"a.txt", " *.txt ", true},
        {"a*b.txt", "*.txt", true},  // legal on Linux: must not escape a purge
        {"sub/a.txt", "*.*", false}, {".bashrc", "*.*", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileSpecMatches(c.text, c.pattern, false), c.expected)
            << c.text << " against " << c.pattern;
    }
    EXPECT_FALSE(FileSpecMatches("REPORT.TXT", "*.txt", true));
}

struct BelowCase {
    const char* path;
    const char* folder;
    bool expected;
};

// "This path is the folder or lies below it", which the Trash checks, the exclusion of
// Trash system files and the subfolder selection all rest on.
TEST(PathBelowTest, WholeNamesOnlyWhateverTheSeparators) {
    const BelowCase cases[] = {
        {"/top/a", "/top/a", true},    {"/top/a/b/c", "/top/a", true},
        {"/top/ab", "/top/a", false},  {"/top/a", "/top/ab", false},
        {"/top", "/top/a", false},     {"/top/A", "/top/a", false},  // names keep their case
        {"/top/a/", "/top/a", true},   {"/top/a", "/top/a//", true},
        {"/top//a/b", "/top/a", true}, {"/top/a.b", "/top/a", false},
        {"/anything", "/", true},      {"/", "/", true},
        {"/top/a", "", false},         {"", "", false},
    };
    for (const BelowCase& c : cases) {
        EXPECT_EQ(IsSameOrBelow(c.path, c.folder), c.expected)
            << "\"" << c.path << "\" below \"" << c.folder << "\"";
    }
}

class CommaDecimalPunct : public std::numpunct<wchar_t> {
  protected:
    wchar_t do_decimal_point() const override { return L','; }
    wchar_t do_thousands_sep() const override { return L'\u202F'; }
    std::string do_grouping() const override { return "\3"; }
};

class StringsLocaleTest : public ::testing::Test {
  protected:
    void SetUp() override { SetUserLocale(std::locale::classic()); }
    void TearDown() override { SetUserLocale(std::locale::classic()); }
};

TEST_F(StringsLocaleTest, SizeTexts) {
    EXPECT_EQ(SizeText(1536, 2), "1.50 KB");
    EXPECT_EQ(SizeText(1, 2), "1 byte");
    EXPECT_EQ(SizeText(1023, 2), "1023 bytes");
    EXPECT_EQ(SizeText(3.0 * 1024 * 1024 * 1024 * 1024, 0), "3072 GB");
    EXPECT_EQ(SizeTextUpToMB(-1, 2), "");
    EXPECT_EQ(SizeTextUpToMB(3.0 * 1024 * 1024 * 1024, 0), "3072 MB");

    SetUserLocale(std::locale(std::locale::classic(), new CommaDecimalPunct));
    EXPECT_EQ(SizeText(1536, 2), "1,50 KB");
    EXPECT_EQ(SizeText(1234567.0 * 1024 * 1024 * 1024, 2), "1\u202F234\u202F567,00 GB");
    EXPECT_EQ(NumberWords(150000, false), "150\u202F000");
}

}  // namespace
}  // namespace vorlane
