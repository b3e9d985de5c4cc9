#include "support/Strings.h"

#include <gtest/gtest.h>

#include <locale>

#include "common/TempFolder.h"
#include "support/UserLocale.h"

namespace vorlane {
namespace {

struct MatchCase {
    const char* text;
    const char* pattern;
    bool expected;
};

TEST(StrProcTest, WildcardMatchStopsAtFirstOccurrence) {
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

TEST(StrProcTest, FileSpecMatchesSplitsAtLastDot) {
    const MatchCase cases[] = {
        {"readme", "*.*", true},
        {"readme", "*", true},
        {"a.txt", "*", false},
        {"archive.tar.gz", "*.gz", true},
        {"archive.tar.gz", "*.tar", false},
        {"a.txt", ".txt", true},
        {"b.doc", ".txt", false},
        {"REPORT.TXT", "r*.txt", true},
        {"readme", "read*.**", true},
        {"readme", "*.t*", false},
        {"a.txt", "  ", true},
        {"a.txt", " *.txt ", true},
        {"a*b.txt", "*.txt", true},  // legal on Linux: must not escape a purge
        {"sub/a.txt", "*.*", false},
        {".bashrc", "*.*", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileSpecMatches(c.text, c.pattern, false), c.expected)
            << c.text << " against " << c.pattern;
    }
    EXPECT_FALSE(FileSpecMatches("REPORT.TXT", "*.txt", true));
}

TEST(StrProcTest, PathPieces) {
    EXPECT_EQ(FileExtension("/home/a.b/readme", false), "");
    EXPECT_EQ(FileExtension("/home/NOTES.TXT", true), "txt");
    EXPECT_EQ(FileNamePart("/home/Ärger.txt", true), "ärger.txt");
    EXPECT_EQ(FileNamePart("noseparator", false), "");
    EXPECT_EQ(FolderPart("/home//user/a.txt", true), "/home/user/");
    EXPECT_EQ(FolderPart("a.txt", false), "");
    EXPECT_EQ(WithTrailingSeparator("/home/user//"), "/home/user/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(WithTrailingSeparator("//"), "/");
    EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
    EXPECT_EQ(WithoutTrailingSeparator("/a//"), "/a");
    EXPECT_EQ(NormalisePath("/Home//User"), "/Home/User");
}

TEST(StrProcTest, ShortenPathKeepsWholeWordsAndLimit) {
    const std::string path = "/home/user/Documents/old tax returns/2019 summary.pdf";
    EXPECT_EQ(ShortenPath(path, 200), path);
    EXPECT_EQ(ShortenPath(path, 9), path);
    EXPECT_EQ(ShortenPath(path, 30), "/ho...summary.pdf");
    EXPECT_EQ(ShortenPath("/abcdefghijklmnopqrstuvwxyz", 12), "/ab...uvwxyz");
    EXPECT_EQ(ShortenPath("/äöüäöüäöüäöüäöü", 12), "/äö...äöüäöü");
}

TEST(StrProcTest, CaseConversionUsesLetterTables) {
    EXPECT_EQ(LowerCaseText("ŠŒŸÀÉÞ ÑAME"), "šœÿàéþ ñame");
    EXPECT_EQ(UpperCaseText("straße ÿ"), "STRAßE Ÿ");
    EXPECT_EQ(LowerCaseText("ΣIGMA ПРИВЕТ"), "σigma привет");  // beyond the tables: Unicode
    EXPECT_EQ(UpperCaseText("σigma привет"), "ΣIGMA ПРИВЕТ");
    EXPECT_TRUE(FileSpecMatches("ΦΩΤΟ.TXT", "φωτο.*", false));
    EXPECT_TRUE(FileSpecMatches("Отчёт.doc", "ОТЧЁТ*.DOC", false));
    EXPECT_EQ(LowerCaseText("A\xFF\xC3"), "a\xFF\xC3");  // bytes that are not UTF-8 survive
}

TEST(StrProcTest, CharacterHelpers) {
    EXPECT_EQ(LeftText("äbc", 2), "äb");
    EXPECT_EQ(LeftText("abc", 0), "");
    EXPECT_EQ(LeftText("abc", 9), "abc");
    EXPECT_EQ(RepeatText("ab", -1), "");
    EXPECT_EQ(RemoveTrailing("a\r\n\r\n", "\r\n"), "a");
    EXPECT_EQ(RemoveTrailing("abc", ""), "abc");
    EXPECT_EQ(TrimTrailingControls("a \t\r\n"), "a ");
    EXPECT_EQ(TrimTrailingBlanks("a \t\r\n"), "a");
    EXPECT_EQ(CountOccurrences("aaaa", "aa", true), 2);
    EXPECT_EQ(CountOccurrences("And and AND", "and", false), 3);
    EXPECT_EQ(CountOccurrences("And and AND", "and", true), 1);
    EXPECT_EQ(SignedIntegerText("-1a2-3", true, false), "-123");
    EXPECT_EQ(SignedIntegerText("-1a2-3", false, false), "123");
    EXPECT_EQ(SignedIntegerText("+7", false, true), "+7");
}

TEST(StrProcTest, SplitAndJoinLines) {
    EXPECT_EQ(SplitLines(" A \r\nb\nC", -1), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitLines("x\r\n", 1), (std::vector<std::string>{"X", ""}));
    EXPECT_EQ(SplitLines("", 0), (std::vector<std::string>{""}));
    const std::vector<std::string> lines{"a", "b", "c"};
    EXPECT_EQ(JoinLines(lines, ", ", true), "a, b, c");
    EXPECT_EQ(JoinLines(lines, "\n", false, 1, std::nullopt), "b\nc\n");
    EXPECT_EQ(JoinLines(lines, "\n", true, 0, 1), "a\nb");
    EXPECT_EQ(JoinLines(lines, "\n", true, 2, 9), "c");
    EXPECT_EQ(JoinLines({}, "\n", true), "");
}

class CommaDecimalPunct : public std::numpunct<wchar_t> {
  protected:
    wchar_t do_decimal_point() const override { return L','; }
    wchar_t do_thousands_sep() const override { return L'\u202F'; }
    std::string do_grouping() const override { return "\3"; }
};

class StrProcLocaleTest : public ::testing::Test {
  protected:
    void SetUp() override { SetUserLocale(std::locale::classic()); }
    void TearDown() override { SetUserLocale(std::locale::classic()); }
};

TEST_F(StrProcLocaleTest, SizeTexts) {
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

TEST_F(StrProcLocaleTest, FileSizeTexts) {
    testing::TempFolder folder;
    const std::string file = folder.Write("f.bin", std::string(2048, 'x'));
    EXPECT_EQ(FileSizeText(file, 1), "2.0 KB");
    EXPECT_EQ(FileSizeTextGB(file, 0), "2 KB");
    EXPECT_EQ(FileSizeText(folder.File("missing"), 1), "");
    EXPECT_EQ(FileSizeText("", 1), "");
}

TEST(StrProcTest, NumberWords) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "No"}, {2, "Two"}, {20, "Twenty"}, {42, "Forty two"}, {90, "Ninety"}, {150, "150"},
    };
    for (const auto& [n, words] : cases) {
        EXPECT_EQ(NumberWords(n, false), words) << n;
    }
    EXPECT_EQ(NumberWords(42, true), "Zwei und vierzig");
}

TEST(StrProcTest, DurationTexts) {
    EXPECT_EQ(MinutesText(1501, false), "1 day and 1 hour");
    EXPECT_EQ(MinutesText(1501, true), "1d 1h 1m");
    EXPECT_EQ(MinutesText(0, false), "0 minutes");
    EXPECT_EQ(MinutesText(2880, false), "2 days");
    EXPECT_EQ(MinutesText(61, false), "1 hour and 1 minute");
    EXPECT_EQ(DurationText(61, false, false), "1 minute and 1 second");
    EXPECT_EQ(DurationText(125, true, false), "2m 5s");
    EXPECT_EQ(DurationText(3661, false, false), "1 hour and 1 minute");
    EXPECT_EQ(DurationText(150, false, true), "2 minutes");  // 2.5: halves to even
    EXPECT_EQ(DurationText(210, false, true), "4 minutes");
    EXPECT_EQ(DurationText(59, false, true), "59 seconds");
    EXPECT_EQ(DurationText(-5, false, false), "0 seconds");
}

}  // namespace
}  // namespace vorlane
